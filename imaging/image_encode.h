// Encoders for the lossless output formats of turned files: BMP and PNG.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/image.h"

namespace xp {

// 24-bit uncompressed BMP, bottom-up rows padded to 4 bytes.
bool encodeBmp(const ui::Image& image, std::vector<std::uint8_t>& out);
// 8-bit RGB PNG.
bool encodePng(const ui::Image& image, std::vector<std::uint8_t>& out);

}  // namespace xp
