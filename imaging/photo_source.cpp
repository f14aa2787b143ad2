// Head reading and sized upright decoding shared by tiles, display pictures and turning.
#include "imaging/photo_source.h"

#include "imaging/exif_reader.h"
#include "imaging/imaging_jpeg.h"

namespace xp {

namespace {

// Enough for the EXIF block of almost every camera (the segment is at most 64 KiB) in one read.
constexpr std::size_t kFirstRead = 72 * 1024;

}  // namespace

bool readPhotoHead(FileReader& reader, PhotoHead& head) {
    head = PhotoHead{};
    if (!reader.ensure(kFirstRead)) return false;
    for (;;) {
        std::optional<JpegHead> parsed = parseJpegHead(reader.data(), reader.size());
        if (!parsed) return false;
        if (parsed->complete) {
            head.markers = std::move(*parsed);
            break;
        }
        // The head goes on past what was read: read further, unless the file has nothing more.
        if (reader.size() >= reader.fileSize() || !reader.ensure(parsed->bytesNeeded)) return false;
    }
    head.width = head.markers.width;
    head.height = head.markers.height;
    if (head.width <= 0 || head.height <= 0) return false;
    if (head.markers.exifIndex) {
        const JpegSegment& seg = head.markers.segments[*head.markers.exifIndex];
        ExifInfo exif = readExif(reader.data() + seg.payloadOffset(), seg.payloadLength());
        head.orientation = exif.orientation;
        head.exifThumbnail = std::move(exif.thumbnail);
    }
    return true;
}

bool decodeUprightAt(FileReader& reader, const PhotoHead& head, int width, int height, bool enlarge, ui::Image& out) {
    if (width <= 0 || height <= 0 || !reader.readAll()) return false;
    const Dihedral t = head.upright();
    const bool swap = swapsAxes(t);
    int storedW = swap ? height : width, storedH = swap ? width : height;
    if (!enlarge && (storedW > head.width || storedH > head.height)) {
        storedW = head.width;
        storedH = head.height;
    }
    const DctScale scale = smallestCoveringScale(head.width, head.height, storedW, storedH);
    ui::Image decoded;
    if (!decodeJpeg(reader.data(), reader.size(), scale, decoded)) return false;
    if (decoded.width != storedW || decoded.height != storedH) decoded = resample(decoded, storedW, storedH);
    out = t == Dihedral::None ? std::move(decoded) : applyDihedral(decoded, t);
    return !out.empty();
}

}  // namespace xp
