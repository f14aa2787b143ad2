// Pictures for the full-screen viewer: a photo decoded upright at the size the screen shows it.
#pragma once

#include <string>

#include "ui/image.h"

namespace xp {

// The photo upright, scaled down to fit inside maxWidth × maxHeight keeping its proportions (sizes
// truncated, at least 1 pixel); a photo that already fits comes at its natural size. The decoder scales
// by the DCT to the smallest size that still covers the target and a box filter does the rest, so a
// 24-megapixel photo costs little more than its entropy decoding. Empty if the file cannot be decoded.
ui::Image decodeForDisplay(const std::string& path, int maxWidth, int maxHeight);

}  // namespace xp
