// Display-size decoding.
#include "imaging/display_decode.h"

#include <algorithm>
#include <new>

#include "imaging/imaging_file.h"
#include "imaging/photo_source.h"
#include "imaging/thumbnail.h"

namespace xp {

ui::Image decodeForDisplay(const std::string& path, int maxWidth, int maxHeight) {
    ui::Image picture;
    if (maxWidth <= 0 || maxHeight <= 0) return picture;
    try {
        FileReader reader;
        PhotoHead head;
        if (!reader.open(path) || !readPhotoHead(reader, head)) return picture;
        int w = head.uprightWidth(), h = head.uprightHeight();
        if (w > maxWidth || h > maxHeight) {
            FitSize fit = fitInside(maxWidth, maxHeight, w, h);
            w = std::max(fit.width, 1);
            h = std::max(fit.height, 1);
        }
        if (!decodeUprightAt(reader, head, w, h, false, picture)) picture = {};
    } catch (const std::bad_alloc&) {
        picture = {};
    }
    return picture;
}

ImageSize uprightImageSize(const std::string& path) {
    FileReader reader;
    PhotoHead head;
    if (!reader.open(path) || !readPhotoHead(reader, head)) return {};
    return {head.uprightWidth(), head.uprightHeight()};
}

}  // namespace xp
