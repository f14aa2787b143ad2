// Pixel operations on packed RGB pictures: resampling, the eight quarter-turn/mirror transforms, EXIF
// orientation, cropping and placing a picture on a canvas.
#pragma once

#include <cstdint>

#include "ui/image.h"

namespace xp {

// The eight ways to turn and mirror a picture by quarter turns, named as the lossless JPEG transforms.
enum class Dihedral {
    None,
    FlipHorizontal,
    FlipVertical,
    Transpose,   // mirror along the top-left to bottom-right diagonal
    Transverse,  // mirror along the top-right to bottom-left diagonal
    Rotate90,    // clockwise
    Rotate180,
    Rotate270,  // clockwise, i.e. a left turn
};

// The transform that makes a picture stored with this EXIF orientation (1..8) stand upright; None for
// 1 and for values outside 1..8.
Dihedral uprightTransform(int exifOrientation);
// `second` applied after `first`.
Dihedral composeDihedral(Dihedral first, Dihedral second);
// The transform for a turn by a multiple of 90 degrees (clockwise positive).
Dihedral quarterTurns(int turns);
bool swapsAxes(Dihedral t);

ui::Image applyDihedral(const ui::Image& src, Dihedral t);

// Scales the rectangle (x, y, w, h) of `src` to dstWidth × dstHeight. Shrinking averages every source
// pixel by the area it covers (a box filter, so no detail is skipped and nothing aliases); enlarging
// interpolates linearly. The rectangle must lie inside the picture.
ui::Image resampleRect(const ui::Image& src, int x, int y, int w, int h, int dstWidth, int dstHeight);
inline ui::Image resample(const ui::Image& src, int dstWidth, int dstHeight) {
    return resampleRect(src, 0, 0, src.width, src.height, dstWidth, dstHeight);
}

ui::Image solidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);
// Copies `src` onto `canvas` with its top-left corner at (x, y), clipped to the canvas.
void drawOnto(ui::Image& canvas, const ui::Image& src, int x, int y);

}  // namespace xp
