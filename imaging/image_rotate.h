// Turning an image file by any angle and writing the result as a new file, upright and self-consistent.
#pragma once

#include <cstdint>
#include <string>

namespace xp {

// Output formats; the numbers are those callers store and pass.
enum class ImageFormat {
    SameAsSource = 0,
    Bmp = 1,
    Jpeg = 2,
    Gif = 3,
    Tiff = 4,
    Png = 5,
};

// Writes `source` turned by `angle` degrees (clockwise on screen) to `target`. The picture is turned as
// it is seen, i.e. after its EXIF orientation; the canvas is trunc(|H sin r| + |W cos r|) ×
// trunc(|H cos r| + |W sin r|) with r = angle × 3.1415926535 / 180, the turned picture centred on it and
// the rest filled with `fillColour` (0x00BBGGRR). A JPEG is written upright with orientation 1, its
// embedded thumbnail turned too and its other metadata kept; multiples of 90° are done without loss
// when the picture's size allows it, everything else is encoded at quality 92. BMP and PNG are written
// too; GIF and TIFF are not supported (false). The target is replaced whole or not at all, and may be
// the source itself. True exactly when the target was written.
bool rotateImageFile(const std::string& source, const std::string& target, float angle, std::uint32_t fillColour,
                     ImageFormat format);

}  // namespace xp
