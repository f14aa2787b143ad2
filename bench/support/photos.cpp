// Generated photos for the benchmarks: the pictures, their EXIF blocks, and folders of hard links.
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>

#include "bench/support/bench_support.h"
#include "imaging/image_ops.h"
#include "imaging/imaging_jpeg.h"

namespace xp::bench {

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "benchmark set-up failed: %s\n", what.c_str());
    std::abort();
}

void put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, unsigned x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A little-endian APP1 segment: the orientation in IFD0, the thumbnail through IFD1 at the end.
std::vector<std::uint8_t> exifSegment(int orientation, const std::vector<std::uint8_t>& thumb) {
    std::vector<std::uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const unsigned ifd0Entries = orientation > 0 ? 1 : 0;
    put16(t, ifd0Entries);
    if (orientation > 0) put16(t, 0x0112), put16(t, 3), put32(t, 1), put16(t, orientation), put16(t, 0);
    const unsigned ifd1 = 8 + 2 + 12 * ifd0Entries + 4;
    put32(t, thumb.empty() ? 0 : ifd1);
    if (!thumb.empty()) {
        put16(t, 2);
        const unsigned thumbAt = ifd1 + 2 + 24 + 4;
        put16(t, 0x0201), put16(t, 4), put32(t, 1), put32(t, thumbAt);
        put16(t, 0x0202), put16(t, 4), put32(t, 1), put32(t, static_cast<unsigned>(thumb.size()));
        put32(t, 0);
        t.insert(t.end(), thumb.begin(), thumb.end());
    }
    std::vector<std::uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), t.begin(), t.end());
    if (payload.size() + 2 > 0xFFFF) fail("the EXIF thumbnail does not fit in one segment");
    std::vector<std::uint8_t> seg = {0xFF, 0xE1, static_cast<std::uint8_t>((payload.size() + 2) >> 8),
                                     static_cast<std::uint8_t>((payload.size() + 2) & 0xFF)};
    seg.insert(seg.end(), payload.begin(), payload.end());
    return seg;
}

std::vector<std::uint8_t> encode(const ui::Image& picture, int quality) {
    std::vector<std::uint8_t> jpeg;
    if (!encodeJpeg(picture, quality, TJSAMP_420, jpeg)) fail("could not encode a generated picture");
    return jpeg;
}

std::vector<std::uint8_t> withExif(const std::vector<std::uint8_t>& jpeg, const ui::Image& picture,
                                   const PhotoExif& exif) {
    if (exif.orientation <= 0 && !exif.thumbnail) return jpeg;
    const std::vector<std::uint8_t> thumb =
        exif.thumbnail ? encode(resample(picture, 160, 107), 90) : std::vector<std::uint8_t>{};
    const std::vector<std::uint8_t> app1 = exifSegment(exif.orientation, thumb);
    std::vector<std::uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), app1.begin(), app1.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

}  // namespace

ui::Image photoPixels(int width, int height, unsigned seed) {
    ui::Image img{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    std::vector<float> cx(static_cast<std::size_t>(width) * 3), cy(static_cast<std::size_t>(height) * 3);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c)
            cx[x * 3 + c] =
                static_cast<float>(60 * std::sin(x * (0.0011 + 0.0003 * c) + seed) +
                                   25 * std::sin(x * 0.013 * (c + 1) + seed * 3) + 10 * std::sin(x * 0.09 + c));
    for (int y = 0; y < height; ++y)
        for (int c = 0; c < 3; ++c)
            cy[y * 3 + c] = static_cast<float>(50 * std::cos(y * (0.0015 + 0.0002 * c) + seed * 2) +
                                               20 * std::sin(y * 0.017 * (c + 2)) + 10 * std::cos(y * 0.07 + c));
    std::uint32_t s = seed * 2654435761u + 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = img.pixels.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            const int grain = static_cast<int>(s % 33) - 16;
            for (int c = 0; c < 3; ++c) {
                const int v = 120 + static_cast<int>(cx[x * 3 + c] + cy[y * 3 + c]) + grain;
                row[x * 3 + c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
            }
        }
    }
    return img;
}

std::vector<std::uint8_t> photoJpeg(const ui::Image& picture, const PhotoExif& exif) {
    return withExif(encode(picture, 92), picture, exif);
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) fail("could not write " + path);
}

std::vector<PhotoPair> writePhotoPairs(const std::string& folder, int count, int width, int height) {
    std::filesystem::create_directories(folder);
    auto make = [&](int i) {
        const ui::Image picture = photoPixels(width, height, static_cast<unsigned>(i + 1));
        const std::vector<std::uint8_t> jpeg = encode(picture, 92);
        PhotoPair pair{folder + "/plain_" + std::to_string(i) + ".jpg", folder + "/thumb_" + std::to_string(i) + ".jpg",
                       jpeg.size()};
        writeFile(pair.plain, jpeg);
        writeFile(pair.withThumbnail, withExif(jpeg, picture, {1, true}));
        return pair;
    };
    // A 24 MP picture takes about 150 MB while it is made: one per core at a time.
    std::vector<PhotoPair> pairs(static_cast<std::size_t>(count));
    for (int first = 0; first < count; first += static_cast<int>(cores())) {
        std::vector<std::future<PhotoPair>> jobs;
        for (int i = first; i < std::min(count, first + static_cast<int>(cores())); ++i)
            jobs.push_back(std::async(std::launch::async, make, i));
        for (std::size_t j = 0; j < jobs.size(); ++j) pairs[static_cast<std::size_t>(first) + j] = jobs[j].get();
    }
    return pairs;
}

std::vector<std::string> linkPhotos(const std::vector<std::string>& photos, const std::string& folder, int count,
                                    const char* pattern) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, pattern, i + 1);
        paths.push_back(folder + "/" + name);
        std::error_code ec;
        std::filesystem::create_hard_link(photos[static_cast<std::size_t>(i) % photos.size()], paths.back(), ec);
        if (ec) fail("could not link " + paths.back() + ": " + ec.message());
    }
    return paths;
}

}  // namespace xp::bench
