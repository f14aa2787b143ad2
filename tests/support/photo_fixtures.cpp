// Imaging test fixtures.
#include "tests/support/photo_fixtures.h"

#include <turbojpeg.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

namespace xp::testing {

void ImagingTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "xp_imaging_XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
}

void ImagingTest::TearDown() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

ui::Image solid(int w, int h, Rgb c) {
    ui::Image img{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
    for (std::size_t i = 0; i < img.pixels.size(); i += 3) {
        img.pixels[i] = static_cast<std::uint8_t>(c.r);
        img.pixels[i + 1] = static_cast<std::uint8_t>(c.g);
        img.pixels[i + 2] = static_cast<std::uint8_t>(c.b);
    }
    return img;
}

ui::Image quadrants(int w, int h) {
    ui::Image img = solid(w, h, kRed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb c = y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kYellow);
            std::uint8_t* p = img.pixels.data() + (static_cast<std::size_t>(y) * w + x) * 3;
            p[0] = static_cast<std::uint8_t>(c.r);
            p[1] = static_cast<std::uint8_t>(c.g);
            p[2] = static_cast<std::uint8_t>(c.b);
        }
    return img;
}

ui::Image photoLike(int w, int h, unsigned seed) {
    ui::Image img = solid(w, h, kWhite);
    unsigned state = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = static_cast<int>(state % 41) - 20;
            const double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
            const int r = static_cast<int>(120 + 90 * std::sin(6 * fx + seed) * std::cos(3 * fy)) + noise;
            const int g = static_cast<int>(110 + 80 * std::cos(5 * fy + 2 * fx)) + noise;
            const int b = static_cast<int>(100 + 70 * std::sin(9 * fx * fy + seed)) + noise;
            std::uint8_t* p = img.pixels.data() + (static_cast<std::size_t>(y) * w + x) * 3;
            p[0] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
        }
    return img;
}

ui::Image storedForOrientation(const ui::Image& upright, int orientation) {
    const int W = upright.width, H = upright.height;
    const bool swap = orientation >= 5;
    ui::Image stored = solid(swap ? H : W, swap ? W : H, kWhite);
    for (int y = 0; y < stored.height; ++y)
        for (int x = 0; x < stored.width; ++x) {
            // (ux, uy): the upright position shown at stored (x, y).
            int ux = x, uy = y;
            switch (orientation) {
                case 2:
                    ux = W - 1 - x;
                    uy = y;
                    break;  // row 0 top, column 0 right
                case 3:
                    ux = W - 1 - x;
                    uy = H - 1 - y;
                    break;  // row 0 bottom, column 0 right
                case 4:
                    ux = x;
                    uy = H - 1 - y;
                    break;  // row 0 bottom, column 0 left
                case 5:
                    ux = y;
                    uy = x;
                    break;  // row 0 left, column 0 top
                case 6:
                    ux = W - 1 - y;
                    uy = x;
                    break;  // row 0 right, column 0 top
                case 7:
                    ux = W - 1 - y;
                    uy = H - 1 - x;
                    break;  // row 0 right, column 0 bottom
                case 8:
                    ux = y;
                    uy = H - 1 - x;
                    break;  // row 0 left, column 0 bottom
                default: break;
            }
            const std::uint8_t* in = upright.pixels.data() + (static_cast<std::size_t>(uy) * W + ux) * 3;
            std::uint8_t* out = stored.pixels.data() + (static_cast<std::size_t>(y) * stored.width + x) * 3;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    return stored;
}

std::vector<std::uint8_t> jpeg(const ui::Image& img, int quality, int subsampling) {
    tjhandle h = tjInitCompress();
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(h, img.pixels.data(), img.width, img.width * 3, img.height, TJPF_RGB, &buf, &size, subsampling,
                         quality, 0);
    EXPECT_EQ(rc, 0) << tjGetErrorStr2(h);
    std::vector<std::uint8_t> out(buf, buf + size);
    tjFree(buf);
    tjDestroy(h);
    return out;
}

ui::Image decode(const std::vector<std::uint8_t>& bytes) {
    ui::Image img;
    tjhandle h = tjInitDecompress();
    int w = 0, ht = 0, sub = 0, cs = 0;
    if (tjDecompressHeader3(h, bytes.data(), bytes.size(), &w, &ht, &sub, &cs) == 0) {
        img = solid(w, ht, kWhite);
        if (tjDecompress2(h, bytes.data(), bytes.size(), img.pixels.data(), w, w * 3, ht, TJPF_RGB, 0) != 0) img = {};
    }
    tjDestroy(h);
    return img;
}

namespace {

class TiffWriter {
public:
    explicit TiffWriter(bool big) : big_(big) {}
    std::vector<std::uint8_t> bytes;
    void u16(std::uint32_t v) {
        if (big_) {
            bytes.push_back(static_cast<std::uint8_t>(v >> 8));
            bytes.push_back(static_cast<std::uint8_t>(v));
        } else {
            bytes.push_back(static_cast<std::uint8_t>(v));
            bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    void u32(std::uint32_t v) {
        if (big_) {
            u16(v >> 16);
            u16(v & 0xFFFF);
        } else {
            u16(v & 0xFFFF);
            u16(v >> 16);
        }
    }
    // An entry whose value fits in 4 bytes.
    void entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
        u16(tag);
        u16(type);
        u32(count);
        if (type == 3 && count == 1) {
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    }

private:
    bool big_;
};

}  // namespace

std::vector<std::uint8_t> exifPayload(const ExifFields& plan) {
    TiffWriter t(plan.bigEndian);
    t.bytes = plan.bigEndian ? std::vector<std::uint8_t>{'M', 'M'} : std::vector<std::uint8_t>{'I', 'I'};
    t.u16(42);
    t.u32(8);
    // IFD0 at 8, then its out-of-line data, then the Exif IFD, then IFD1, then the thumbnail.
    const bool longMake = plan.make.size() + 1 > 4;
    const int n0 = (plan.orientation ? 1 : 0) + (plan.make.empty() ? 0 : 1) + (plan.pixelWidth ? 1 : 0);
    const std::uint32_t ifd0End = 8 + 2 + 12 * n0 + 4;
    const std::uint32_t makeAt = ifd0End;
    const std::uint32_t makeLen = static_cast<std::uint32_t>(plan.make.size() + 1);
    const std::uint32_t exifAt = makeAt + (longMake && !plan.make.empty() ? makeLen : 0);
    const std::uint32_t exifEnd = exifAt + (plan.pixelWidth ? 2 + 12 * 2 + 4 : 0);
    const std::uint32_t ifd1At = exifEnd;
    const int n1 = 3;  // compression, offset, length
    const std::uint32_t thumbAt = ifd1At + 2 + 12 * n1 + 4;

    t.u16(static_cast<std::uint32_t>(n0));
    if (!plan.make.empty()) {
        if (longMake)
            t.entry(0x010F, 2, makeLen, makeAt);
        else {
            t.u16(0x010F);
            t.u16(2);
            t.u32(makeLen);
            for (std::size_t i = 0; i < 4; ++i)
                t.bytes.push_back(i < plan.make.size() ? static_cast<std::uint8_t>(plan.make[i]) : 0);
        }
    }
    if (plan.orientation) t.entry(0x0112, 3, 1, static_cast<std::uint32_t>(plan.orientation));
    if (plan.pixelWidth) t.entry(0x8769, 4, 1, exifAt);
    t.u32(plan.thumbnail.empty() ? 0 : ifd1At);
    if (!plan.make.empty() && longMake) {
        t.bytes.insert(t.bytes.end(), plan.make.begin(), plan.make.end());
        t.bytes.push_back(0);
    }
    if (plan.pixelWidth) {
        t.u16(2);
        t.entry(0xA002, 4, 1, static_cast<std::uint32_t>(plan.pixelWidth));
        t.entry(0xA003, 4, 1, static_cast<std::uint32_t>(plan.pixelHeight));
        t.u32(0);
    }
    if (!plan.thumbnail.empty()) {
        t.u16(n1);
        t.entry(0x0103, 3, 1, 6);
        t.entry(0x0201, 4, 1, thumbAt);
        t.entry(0x0202, 4, 1, static_cast<std::uint32_t>(plan.thumbnail.size()));
        t.u32(0);
        t.bytes.insert(t.bytes.end(), plan.thumbnail.begin(), plan.thumbnail.end());
    }
    static const char kHeader[] = "Exif\0";  // with the terminator: "Exif", 0, 0
    std::vector<std::uint8_t> payload(t.bytes.size() + 6);
    std::memcpy(payload.data(), kHeader, 6);
    std::memcpy(payload.data() + 6, t.bytes.data(), t.bytes.size());
    return payload;
}

namespace {

std::vector<std::uint8_t> withSegment(const std::vector<std::uint8_t>& jpegBytes, std::uint8_t marker,
                                      const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out(jpegBytes.begin(), jpegBytes.begin() + 2);
    const std::size_t len = payload.size() + 2;
    out.push_back(0xFF);
    out.push_back(marker);
    out.push_back(static_cast<std::uint8_t>(len >> 8));
    out.push_back(static_cast<std::uint8_t>(len & 0xFF));
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpegBytes.begin() + 2, jpegBytes.end());
    return out;
}

}  // namespace

std::vector<std::uint8_t> withApp1(const std::vector<std::uint8_t>& jpegBytes,
                                   const std::vector<std::uint8_t>& payload) {
    return withSegment(jpegBytes, 0xE1, payload);
}

std::vector<std::uint8_t> withPadding(const std::vector<std::uint8_t>& jpegBytes, std::uint8_t marker,
                                      std::size_t size) {
    return withSegment(jpegBytes, marker, std::vector<std::uint8_t>(size, 0x5A));
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

Rgb pixel(const ui::Image& img, int x, int y) {
    const std::uint8_t* p = img.pixels.data() + (static_cast<std::size_t>(y) * img.width + x) * 3;
    return {p[0], p[1], p[2]};
}

Rgb meanColour(const ui::Image& img, int x, int y, int w, int h) {
    long s[3] = {0, 0, 0};
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            Rgb c = pixel(img, i, j);
            s[0] += c.r;
            s[1] += c.g;
            s[2] += c.b;
        }
    const long n = std::max(1L, static_cast<long>(w) * h);
    return {static_cast<int>(s[0] / n), static_cast<int>(s[1] / n), static_cast<int>(s[2] / n)};
}

bool near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

Box nonWhiteBox(const ui::Image& img) {
    int x0 = img.width, y0 = img.height, x1 = -1, y1 = -1;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (!near(pixel(img, x, y), kWhite, 8)) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return {};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

double meanAbsDiff(const ui::Image& a, const ui::Image& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) sum += std::abs(a.pixels[i] - b.pixels[i]);
    return sum / std::max<std::size_t>(1, a.pixels.size());
}

std::string cameraSamples() {
    const char* dir = "/usr/share/forensics-samples/original-files";
    return std::filesystem::is_directory(dir) ? dir : "";
}

std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << "(" << c.r << "," << c.g << "," << c.b << ")"; }

}  // namespace xp::testing
