// TurboJPEG calls with per-thread handles; CMYK is converted here since TurboJPEG gives it only as CMYK.
#include "imaging/imaging_jpeg.h"

#include <turbojpeg.h>

#include <climits>

namespace xp {

namespace {

struct Handle {
    tjhandle h = nullptr;
    explicit Handle(tjhandle handle) : h(handle) {}
    ~Handle() {
        if (h) tjDestroy(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

tjhandle decompressor() {
    thread_local Handle handle(tjInitDecompress());
    return handle.h;
}
tjhandle compressor() {
    thread_local Handle handle(tjInitCompress());
    return handle.h;
}
tjhandle transformer() {
    thread_local Handle handle(tjInitTransform());
    return handle.h;
}

// TurboJPEG reports recoverable damage as a warning; the picture it produced is still usable.
bool succeeded(int rc, tjhandle h) { return rc == 0 || tjGetErrorCode(h) == TJERR_WARNING; }

bool fitsInt(std::size_t size) { return size <= static_cast<std::size_t>(LONG_MAX); }

// A header may claim any size up to 65535 × 65535; beyond this the file is refused rather than letting a
// damaged or hostile header ask for gigabytes.
constexpr std::size_t kMaxDecodedPixels = std::size_t{1} << 28;

}  // namespace

bool jpegCodecReady() { return decompressor() != nullptr && compressor() != nullptr && transformer() != nullptr; }

bool readJpegInfo(const std::uint8_t* data, std::size_t size, JpegInfo& info) {
    tjhandle h = decompressor();
    if (!h || !data || size == 0 || !fitsInt(size)) return false;
    int w = 0, ht = 0, sub = 0, cs = 0;
    if (tjDecompressHeader3(h, data, static_cast<unsigned long>(size), &w, &ht, &sub, &cs) != 0) return false;
    if (w <= 0 || ht <= 0) return false;
    info = JpegInfo{w, ht, sub, cs};
    return true;
}

int scaledDimension(int dimension, DctScale scale) {
    return TJSCALED(dimension, (tjscalingfactor{scale.num, scale.denom}));
}

DctScale smallestCoveringScale(int width, int height, int minWidth, int minHeight) {
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    DctScale best{1, 1};
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num > f.denom) continue;
        if (TJSCALED(width, f) < minWidth || TJSCALED(height, f) < minHeight) continue;
        if (static_cast<long>(f.num) * best.denom < static_cast<long>(best.num) * f.denom) best = {f.num, f.denom};
    }
    return best;
}

bool decodeJpeg(const std::uint8_t* data, std::size_t size, DctScale scale, ui::Image& out) {
    JpegInfo info;
    if (!readJpegInfo(data, size, info)) return false;
    tjhandle h = decompressor();
    const int w = scaledDimension(info.width, scale), ht = scaledDimension(info.height, scale);
    const bool cmyk = info.colorspace == TJCS_CMYK || info.colorspace == TJCS_YCCK;
    const std::size_t pixels = static_cast<std::size_t>(w) * ht;
    if (pixels > kMaxDecodedPixels) return false;

    if (!cmyk) {
        out.width = w;
        out.height = ht;
        out.pixels.resize(pixels * 3);
        int rc = tjDecompress2(h, data, static_cast<unsigned long>(size), out.pixels.data(), w, w * 3, ht, TJPF_RGB, 0);
        if (!succeeded(rc, h)) {
            out = {};
            return false;
        }
        return true;
    }

    // CMYK JPEGs in the wild are written inverted (Adobe's convention), so white is 255 in every channel.
    std::vector<std::uint8_t> cmykPixels(pixels * 4);
    int rc = tjDecompress2(h, data, static_cast<unsigned long>(size), cmykPixels.data(), w, w * 4, ht, TJPF_CMYK, 0);
    if (!succeeded(rc, h)) {
        out = {};
        return false;
    }
    out.width = w;
    out.height = ht;
    out.pixels.resize(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned k = cmykPixels[4 * i + 3];
        for (int c = 0; c < 3; ++c)
            out.pixels[3 * i + c] = static_cast<std::uint8_t>((cmykPixels[4 * i + c] * k + 127) / 255);
    }
    return true;
}

bool encodeJpeg(const ui::Image& image, int quality, int subsampling, std::vector<std::uint8_t>& out) {
    tjhandle h = compressor();
    if (!h || image.empty() || static_cast<std::size_t>(image.width) * 3 > INT_MAX) return false;
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(h, image.pixels.data(), image.width, image.width * 3, image.height, TJPF_RGB, &buf, &size,
                         subsampling, quality, 0);
    if (rc != 0) {
        tjFree(buf);
        return false;
    }
    out.assign(buf, buf + size);
    tjFree(buf);
    return true;
}

bool transformJpegLossless(const std::uint8_t* data, std::size_t size, Dihedral transform,
                           std::vector<std::uint8_t>& out) {
    tjhandle h = transformer();
    if (!h || !data || size == 0 || !fitsInt(size)) return false;
    static constexpr int kOps[] = {TJXOP_NONE,       TJXOP_HFLIP, TJXOP_VFLIP,  TJXOP_TRANSPOSE,
                                   TJXOP_TRANSVERSE, TJXOP_ROT90, TJXOP_ROT180, TJXOP_ROT270};
    tjtransform xf{};
    xf.op = kOps[static_cast<int>(transform)];
    xf.options = TJXOPT_PERFECT;
    unsigned char* buf = nullptr;
    unsigned long outSize = 0;
    // Warnings are not accepted here: a damaged source must not be passed off as a faithful copy.
    int rc = tjTransform(h, data, static_cast<unsigned long>(size), 1, &buf, &outSize, &xf, 0);
    if (rc != 0) {
        tjFree(buf);
        return false;
    }
    out.assign(buf, buf + outSize);
    tjFree(buf);
    return true;
}

}  // namespace xp
