// The JPEG codec behind every tile, display picture and turned file: TurboJPEG decode at a DCT scale,
// encode, and lossless quarter-turn transforms. Each thread keeps its own codec handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/image_ops.h"
#include "ui/image.h"

namespace xp {

// Whether this thread could get its TurboJPEG decoder and encoder.
bool jpegCodecReady();

struct JpegInfo {
    int width = 0;
    int height = 0;
    int subsampling = -1;  // TJSAMP_*
    int colorspace = -1;   // TJCS_*
};

// Reads the frame header; false if the bytes are not a JPEG TurboJPEG can decode.
bool readJpegInfo(const std::uint8_t* data, std::size_t size, JpegInfo& info);

// A DCT scaling factor: decoding at num/denom costs little more than the entropy decoding.
struct DctScale {
    int num = 1;
    int denom = 1;
};
int scaledDimension(int dimension, DctScale scale);
// The smallest scale (at most 1/1) whose decoded size still covers minWidth × minHeight, so that the
// final filter always shrinks and never has to invent pixels. 1/1 when even that is smaller.
DctScale smallestCoveringScale(int width, int height, int minWidth, int minHeight);

// Decodes to packed RGB at the given scale. Grey and CMYK files come out as RGB too. Damaged data that
// the decoder can still get through (a truncated file) counts as decoded, as every viewer shows it.
bool decodeJpeg(const std::uint8_t* data, std::size_t size, DctScale scale, ui::Image& out);

// Encodes packed RGB. `subsampling` is a TJSAMP_* value (TJSAMP_GRAY gives a greyscale file).
bool encodeJpeg(const ui::Image& image, int quality, int subsampling, std::vector<std::uint8_t>& out);

// Turns or mirrors the JPEG without decoding its pixels, copying every marker segment. Refuses (false)
// when the picture has partial MCU blocks at an edge the transform would have to move, since those
// cannot be carried over without loss.
bool transformJpegLossless(const std::uint8_t* data, std::size_t size, Dihedral transform,
                           std::vector<std::uint8_t>& out);

}  // namespace xp
