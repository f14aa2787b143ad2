// Turning files: a lossless JPEG transform where possible, otherwise decode, turn, encode.
#include "imaging/image_rotate.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "imaging/exif_patch.h"
#include "imaging/image_encode.h"
#include "imaging/image_ops.h"
#include "imaging/imaging_file.h"
#include "imaging/imaging_jpeg.h"
#include "imaging/jpeg_markers.h"
#include "imaging/photo_source.h"
#include "imaging/thumbnail.h"

namespace xp {

namespace {

constexpr int kJpegQuality = 92;
constexpr int kThumbnailBox = 160;
constexpr int kThumbnailQuality = 90;
constexpr std::size_t kMaxCanvasPixels = std::size_t{1} << 28;

struct Rgb {
    std::uint8_t r, g, b;
};

// The photo turned about its centre onto the canvas of the turned size, with bilinear sampling; samples
// outside the photo take the fill colour, which also smooths the picture's edges.
ui::Image rotateOntoCanvas(const ui::Image& src, double angle, Rgb fill, int canvasW, int canvasH) {
    ui::Image dst = solidImage(canvasW, canvasH, fill.r, fill.g, fill.b);
    const double rad = angle * 3.1415926535 / 180;
    const double c = std::cos(rad), s = std::sin(rad);
    const double srcCx = src.width / 2.0, srcCy = src.height / 2.0;
    const double dstCx = canvasW / 2.0, dstCy = canvasH / 2.0;
    const std::uint8_t fillPx[3] = {fill.r, fill.g, fill.b};
    auto sample = [&](int x, int y) -> const std::uint8_t* {
        if (x < 0 || y < 0 || x >= src.width || y >= src.height) return fillPx;
        return src.pixels.data() + (static_cast<std::size_t>(y) * src.width + x) * 3;
    };
    for (int Y = 0; Y < canvasH; ++Y) {
        const double dy = Y + 0.5 - dstCy;
        std::uint8_t* out = dst.pixels.data() + static_cast<std::size_t>(Y) * canvasW * 3;
        for (int X = 0; X < canvasW; ++X, out += 3) {
            const double dx = X + 0.5 - dstCx;
            // Inverse of the clockwise turn x' = x c - y s, y' = x s + y c.
            const double u = dx * c + dy * s + srcCx - 0.5;
            const double v = -dx * s + dy * c + srcCy - 0.5;
            if (u <= -1 || v <= -1 || u >= src.width || v >= src.height) continue;
            const int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
            const double fx = u - x0, fy = v - y0;
            const std::uint8_t* p00 = sample(x0, y0);
            const std::uint8_t* p10 = sample(x0 + 1, y0);
            const std::uint8_t* p01 = sample(x0, y0 + 1);
            const std::uint8_t* p11 = sample(x0 + 1, y0 + 1);
            for (int k = 0; k < 3; ++k) {
                const double top = p00[k] + (p10[k] - p00[k]) * fx;
                const double bottom = p01[k] + (p11[k] - p01[k]) * fx;
                out[k] = static_cast<std::uint8_t>(std::lround(top + (bottom - top) * fy));
            }
        }
    }
    return dst;
}

// A small upright thumbnail for the EXIF block, encoded as JPEG.
bool makeExifThumbnail(const ui::Image& picture, std::vector<std::uint8_t>& jpeg, int& w, int& h) {
    FitSize fit = fitInside(kThumbnailBox, kThumbnailBox, picture.width, picture.height);
    w = std::max(fit.width, 1);
    h = std::max(fit.height, 1);
    return encodeJpeg(resample(picture, w, h), kThumbnailQuality, TJSAMP_420, jpeg);
}

// The source's EXIF block made true for the new picture, as a complete APP1 segment; empty when the
// source has none or its block cannot be understood (a stale orientation must not survive).
std::vector<std::uint8_t> uprightExifSegment(const FileReader& src, const PhotoHead& head, int width, int height,
                                             const std::vector<std::uint8_t>* thumb, int thumbW, int thumbH) {
    if (!head.markers.exifIndex) return {};
    const JpegSegment& seg = head.markers.segments[*head.markers.exifIndex];
    UprightExif upright{width, height, thumb, thumbW, thumbH};
    std::optional<std::vector<std::uint8_t>> payload =
        patchExifUpright(src.data() + seg.payloadOffset(), seg.payloadLength(), upright);
    if (!payload) return {};
    std::optional<std::vector<std::uint8_t>> segment = makeSegment(0xE1, *payload);
    return segment ? std::move(*segment) : std::vector<std::uint8_t>{};
}

// Colour profile and XMP segments of the source, carried over into a re-encoded file. A profile is
// kept only when the new file has the same kind of colour (a CMYK or grey profile on an RGB file would
// make colour-managed viewers show it wrongly).
std::vector<std::uint8_t> keptSegments(const FileReader& src, const PhotoHead& head, bool keepProfile) {
    std::vector<std::uint8_t> kept;
    for (const JpegSegment& seg : head.markers.segments) {
        const std::uint8_t* payload = src.data() + seg.payloadOffset();
        const bool icc = keepProfile && seg.marker == 0xE2 && isIccPayload(payload, seg.payloadLength());
        const bool xmp = seg.marker == 0xE1 && isXmpPayload(payload, seg.payloadLength());
        if (icc || xmp) kept.insert(kept.end(), src.data() + seg.offset, src.data() + seg.offset + seg.length);
    }
    return kept;
}

bool losslessJpeg(const FileReader& src, const PhotoHead& head, Dihedral t, std::vector<std::uint8_t>& out) {
    std::vector<std::uint8_t> turned;
    if (!transformJpegLossless(src.data(), src.size(), t, turned)) return false;
    const int w = swapsAxes(t) ? head.height : head.width, h = swapsAxes(t) ? head.width : head.height;
    std::vector<std::uint8_t> thumb;
    int thumbW = 0, thumbH = 0;
    ui::Image oldThumb;
    bool haveThumb = !head.exifThumbnail.empty() &&
                     decodeJpeg(head.exifThumbnail.data(), head.exifThumbnail.size(), DctScale{}, oldThumb);
    if (haveThumb) {
        ui::Image turnedThumb = applyDihedral(oldThumb, t);
        thumbW = turnedThumb.width;
        thumbH = turnedThumb.height;
        haveThumb = encodeJpeg(turnedThumb, kThumbnailQuality, TJSAMP_420, thumb);
    }
    std::optional<std::vector<std::uint8_t>> spliced =
        spliceHeadSegments(turned, uprightExifSegment(src, head, w, h, haveThumb ? &thumb : nullptr, thumbW, thumbH));
    if (!spliced) return false;
    out = std::move(*spliced);
    return true;
}

int outputSubsampling(const JpegInfo& info, Rgb fill, bool filled) {
    switch (info.subsampling) {
        case TJSAMP_GRAY: return !filled || (fill.r == fill.g && fill.g == fill.b) ? TJSAMP_GRAY : TJSAMP_444;
        case TJSAMP_444:
        case TJSAMP_422:
        case TJSAMP_420:
        case TJSAMP_440:
        case TJSAMP_411: return info.subsampling;
        default: return TJSAMP_420;
    }
}

bool rotateFile(const std::string& source, const std::string& target, float angle, std::uint32_t fillColour,
                ImageFormat format) {
    if (format == ImageFormat::SameAsSource) format = ImageFormat::Jpeg;  // the only format read
    if (format != ImageFormat::Jpeg && format != ImageFormat::Bmp && format != ImageFormat::Png) return false;
    if (!std::isfinite(angle)) return false;

    FileReader src;
    PhotoHead head;
    if (!src.open(source) || !readPhotoHead(src, head) || !src.readAll()) return false;
    JpegInfo info;
    if (!readJpegInfo(src.data(), src.size(), info)) return false;

    const Rgb fill{static_cast<std::uint8_t>(fillColour & 0xFF), static_cast<std::uint8_t>((fillColour >> 8) & 0xFF),
                   static_cast<std::uint8_t>((fillColour >> 16) & 0xFF)};
    const double degrees = angle;
    const bool quarter = std::fmod(degrees, 90.0) == 0.0;
    const Dihedral turn = quarter ? quarterTurns(static_cast<int>(std::fmod(degrees / 90.0, 4.0))) : Dihedral::None;
    std::vector<std::uint8_t> bytes;

    if (quarter && format == ImageFormat::Jpeg && losslessJpeg(src, head, composeDihedral(head.upright(), turn), bytes))
        return writeFileReplacing(target, bytes.data(), bytes.size());

    ui::Image picture;
    if (!decodeJpeg(src.data(), src.size(), DctScale{}, picture)) return false;
    picture = applyDihedral(picture, head.upright());
    if (quarter) {
        picture = applyDihedral(picture, turn);
    } else {
        const double r = degrees * 3.1415926535 / 180;
        const double w = picture.width, h = picture.height;
        const double newW = std::trunc(std::fabs(h * std::sin(r)) + std::fabs(w * std::cos(r)));
        const double newH = std::trunc(std::fabs(h * std::cos(r)) + std::fabs(w * std::sin(r)));
        if (newW < 1 || newH < 1 || newW * newH > static_cast<double>(kMaxCanvasPixels)) return false;
        picture = rotateOntoCanvas(picture, degrees, fill, static_cast<int>(newW), static_cast<int>(newH));
    }

    switch (format) {
        case ImageFormat::Bmp:
            if (!encodeBmp(picture, bytes)) return false;
            break;
        case ImageFormat::Png:
            if (!encodePng(picture, bytes)) return false;
            break;
        default: {
            const int subsampling = outputSubsampling(info, fill, !quarter);
            const bool sameColourKind = info.colorspace != TJCS_CMYK && info.colorspace != TJCS_YCCK &&
                                        (subsampling == TJSAMP_GRAY) == (info.subsampling == TJSAMP_GRAY);
            if (!encodeJpeg(picture, kJpegQuality, subsampling, bytes)) return false;
            std::vector<std::uint8_t> thumb;
            int thumbW = 0, thumbH = 0;
            const bool haveThumb = !head.exifThumbnail.empty() && makeExifThumbnail(picture, thumb, thumbW, thumbH);
            std::optional<std::vector<std::uint8_t>> spliced =
                spliceHeadSegments(bytes,
                                   uprightExifSegment(src, head, picture.width, picture.height,
                                                      haveThumb ? &thumb : nullptr, thumbW, thumbH),
                                   keptSegments(src, head, sameColourKind));
            if (!spliced) return false;
            bytes = std::move(*spliced);
        }
    }
    return writeFileReplacing(target, bytes.data(), bytes.size());
}

}  // namespace

bool rotateImageFile(const std::string& source, const std::string& target, float angle, std::uint32_t fillColour,
                     ImageFormat format) {
    try {
        return rotateFile(source, target, angle, fillColour, format);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace xp
