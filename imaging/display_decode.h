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

struct ImageSize {
    int width = 0;
    int height = 0;
};
// The photo's pixel size as it is shown (after its EXIF orientation), read from the head of the file
// only; 0 × 0 if it cannot be read. The viewer's zoom compares with this.
ImageSize uprightImageSize(const std::string& path);

}  // namespace xp
