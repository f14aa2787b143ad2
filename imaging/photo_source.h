// A photo file as the imaging code sees it: its head (size, EXIF orientation and thumbnail) read from the
// first kilobytes, and the whole picture decoded upright at the smallest size that serves a target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image_ops.h"
#include "imaging/imaging_file.h"
#include "imaging/jpeg_markers.h"
#include "ui/image.h"

namespace xp {

struct PhotoHead {
    JpegHead markers;
    int width = 0;  // as stored in the file
    int height = 0;
    int orientation = 1;
    std::vector<std::uint8_t> exifThumbnail;

    Dihedral upright() const { return uprightTransform(orientation); }
    int uprightWidth() const { return swapsAxes(upright()) ? height : width; }
    int uprightHeight() const { return swapsAxes(upright()) ? width : height; }
};

// Reads through the reader (already open) as far as the first scan and parses the head. False when the
// file is not a JPEG or its head is broken.
bool readPhotoHead(FileReader& reader, PhotoHead& head);

// Reads the rest of the file and decodes it upright, scaled with the DCT to the smallest size that still
// covers `minWidth` × `minHeight` (upright) and then filtered down to exactly that size; a picture that
// is smaller than that comes out at its natural size when `enlarge` is false, enlarged otherwise.
bool decodeUprightAt(FileReader& reader, const PhotoHead& head, int width, int height, bool enlarge, ui::Image& out);

}  // namespace xp
