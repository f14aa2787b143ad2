// Making tiles: from the embedded EXIF thumbnail when it shows the same picture, else from a DCT-scaled
// decode, always finished with an area-averaging filter.
#include "imaging/thumbnail.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "imaging/image_ops.h"
#include "imaging/imaging_file.h"
#include "imaging/imaging_jpeg.h"
#include "imaging/photo_source.h"

namespace xp {

namespace {

std::atomic<int> g_starts{0};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Whether every pixel of the rectangle is close to one colour: a letterbox bar, not picture content.
bool isUniform(const ui::Image& img, const Rect& r) {
    if (r.w <= 0 || r.h <= 0) return false;
    long sum[3] = {0, 0, 0};
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            for (int c = 0; c < 3; ++c) sum[c] += img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 3 + c];
    const long n = static_cast<long>(r.w) * r.h;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            for (int c = 0; c < 3; ++c) {
                long d = img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 3 + c] - sum[c] / n;
                if (std::labs(d) > 24) return false;
            }
    return true;
}

// The part of the embedded thumbnail that shows the photo: all of it when the proportions agree within
// 1 %, the middle when the thumbnail is the photo letterboxed into another shape (some cameras embed a
// 4:3 thumbnail of a 3:2 photo with black bars). Nothing when it shows something else.
bool thumbnailContent(const ui::Image& thumb, int photoW, int photoH, Rect& content) {
    const double photoAspect = static_cast<double>(photoW) / photoH;
    const double thumbAspect = static_cast<double>(thumb.width) / thumb.height;
    if (std::fabs(thumbAspect / photoAspect - 1.0) <= 0.01) {
        content = {0, 0, thumb.width, thumb.height};
        return true;
    }
    // Bars a couple of pixels thick may be JPEG ringing or rounding; they are only judged where they
    // are clear of the content edge.
    constexpr int kEdge = 2;
    if (photoAspect > thumbAspect) {
        int h = static_cast<int>(std::lround(thumb.width / photoAspect));
        int bar = (thumb.height - h) / 2;
        if (bar <= kEdge + 1) return false;
        if (!isUniform(thumb, {0, 0, thumb.width, bar - kEdge}) ||
            !isUniform(thumb, {0, bar + h + kEdge, thumb.width, thumb.height - bar - h - kEdge}))
            return false;
        content = {0, bar, thumb.width, h};
    } else {
        int w = static_cast<int>(std::lround(thumb.height * photoAspect));
        int bar = (thumb.width - w) / 2;
        if (bar <= kEdge + 1) return false;
        if (!isUniform(thumb, {0, 0, bar - kEdge, thumb.height}) ||
            !isUniform(thumb, {bar + w + kEdge, 0, thumb.width - bar - w - kEdge, thumb.height}))
            return false;
        content = {bar, 0, w, thumb.height};
    }
    return true;
}

// The picture at storedW × storedH (the photo's stored orientation) from its embedded thumbnail, if
// that thumbnail shows the same picture at least at that size.
bool fromEmbeddedThumbnail(const PhotoHead& head, int storedW, int storedH, ui::Image& out) {
    if (head.exifThumbnail.empty()) return false;
    JpegInfo info;
    if (!readJpegInfo(head.exifThumbnail.data(), head.exifThumbnail.size(), info)) return false;
    if (info.width < storedW || info.height < storedH) return false;
    ui::Image thumb;
    if (!decodeJpeg(head.exifThumbnail.data(), head.exifThumbnail.size(), DctScale{1, 1}, thumb)) return false;
    Rect c;
    if (!thumbnailContent(thumb, head.width, head.height, c)) return false;
    if (c.w < storedW || c.h < storedH) return false;
    out = resampleRect(thumb, c.x, c.y, c.w, c.h, storedW, storedH);
    return !out.empty();
}

// The photo upright at w × h: from its embedded thumbnail when that will do, else decoded.
ui::Image pictureAt(FileReader& reader, const PhotoHead& head, int w, int h, TileOrigin& origin) {
    ui::Image picture;
    const Dihedral t = head.upright();
    const int storedW = swapsAxes(t) ? h : w, storedH = swapsAxes(t) ? w : h;
    if (fromEmbeddedThumbnail(head, storedW, storedH, picture)) {
        origin = TileOrigin::EmbeddedThumbnail;
        return applyDihedral(picture, t);
    }
    origin = TileOrigin::Decoded;
    if (!decodeUprightAt(reader, head, w, h, true, picture)) picture = {};
    return picture;
}

}  // namespace

bool startImaging() {
    if (!jpegCodecReady()) return false;
    ++g_starts;
    return true;
}

void stopImaging() {
    int n = g_starts.load();
    while (n > 0 && !g_starts.compare_exchange_weak(n, n - 1)) {}
}

bool imagingStarted() { return g_starts.load() > 0; }

FitSize fitInside(int boxWidth, int boxHeight, int imgWidth, int imgHeight) {
    if (boxWidth <= 0 || boxHeight <= 0 || imgWidth <= 0 || imgHeight <= 0) return {};
    const double a = static_cast<double>(boxWidth) * imgHeight;
    const double b = static_cast<double>(boxHeight) * imgWidth;
    if (a - b >= -0.0000001)
        return {static_cast<int>(std::trunc(static_cast<double>(boxHeight) * imgWidth / imgHeight)), boxHeight};
    return {boxWidth, static_cast<int>(std::trunc(static_cast<double>(boxWidth) * imgHeight / imgWidth))};
}

ui::Image makeThumbnail(const std::string& path, int boxWidth, int boxHeight) {
    return makeTile(path, boxWidth, boxHeight).tile;
}

MadeTile makeTile(const std::string& path, int boxWidth, int boxHeight) {
    MadeTile made{solidImage(boxWidth, boxHeight, 0xFF, 0xFF, 0xFF), TileOrigin::Failed};
    ui::Image& tile = made.tile;
    if (tile.empty()) return made;
    try {
        // One reader per thread keeps its buffer, so a worker does not allocate 10 MB per photo.
        thread_local FileReader reader;
        PhotoHead head;
        if (!reader.open(path) || !readPhotoHead(reader, head)) return made;
        made.photoPixels = static_cast<std::int64_t>(head.width) * head.height;
        FitSize fit = fitInside(boxWidth, boxHeight, head.uprightWidth(), head.uprightHeight());
        // A sliver of a picture (161 × 1) would fit to zero pixels and vanish; keep at least one.
        fit.width = std::max(fit.width, 1);
        fit.height = std::max(fit.height, 1);
        TileOrigin origin = TileOrigin::Failed;
        ui::Image picture = pictureAt(reader, head, fit.width, fit.height, origin);
        reader.close();
        if (picture.empty()) return made;
        drawOnto(tile, picture, (boxWidth - fit.width) / 2, (boxHeight - fit.height) / 2);
        made.origin = origin;
    } catch (const std::bad_alloc&) {
        // Out of memory on one huge photo: its tile stays white, as for any file that cannot be decoded.
        made.origin = TileOrigin::Failed;
    }
    return made;
}

}  // namespace xp
