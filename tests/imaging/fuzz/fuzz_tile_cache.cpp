// libFuzzer target: the tile cache reading a file made of the input. Odd first bytes fill a sound cache
// for three photos first and then damage it as the rest of the input says (bytes changed, the file cut),
// so that the fuzzer reaches records that almost hold together. Whatever the file, every tile the cache
// gives must be the photo's own tile: a wrong tile stops the run as a crash would.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/tile_cache.h"

namespace {

constexpr int kW = 4, kH = 3;
const char* const kNames[] = {"a.jpg", "b.jpg", "c.jpg"};

std::string folder() {
    static std::string dir = [] {
        char tmpl[] = "/tmp/xp_fuzz_tiles_XXXXXX";
        const char* made = ::mkdtemp(tmpl);
        if (!made) std::abort();
        return std::string(made);
    }();
    return dir;
}

void writeFile(const std::string& path, const uint8_t* data, size_t n) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (n > 0) std::fwrite(data, 1, n, f);
    std::fclose(f);
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

// Photos with fixed contents and times, so that their keys are the same in every run.
std::vector<std::string> photos() {
    static std::vector<std::string> paths = [] {
        std::vector<std::string> v;
        int i = 0;
        for (const char* name : kNames) {
            const std::string p = folder() + "/" + name;
            const std::string content(static_cast<size_t>(3 + 2 * i), static_cast<char>('a' + i));
            writeFile(p, reinterpret_cast<const uint8_t*>(content.data()), content.size());
            struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000 + i, 1000 * i}};
            if (::utimensat(AT_FDCWD, p.c_str(), times, 0) != 0) std::abort();
            v.push_back(p);
            ++i;
        }
        return v;
    }();
    return paths;
}

xp::ui::Image expected(const std::string& path) {
    xp::ui::Image tile{kW, kH, std::vector<uint8_t>(kW * kH * 3)};
    uint32_t h = 2166136261u;
    for (char c : path) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    for (uint8_t& v : tile.pixels) v = static_cast<uint8_t>((h = h * 1103515245u + 12345u) >> 24);
    return tile;
}

void checkEveryTile(bool keep) {
    xp::TileCache cache(
        folder(),
        [keep](const std::string& p) {
            return xp::TileCache::Made{expected(p), keep};
        },
        kW, kH);
    for (const std::string& p : photos())
        if (cache.tile(p).pixels != expected(p).pixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const std::string file = folder() + "/" + xp::kTileCacheFileName;
    photos();
    if (data[0] & 1) {
        ::unlink(file.c_str());
        checkEveryTile(true);
        std::vector<uint8_t> bytes = readFile(file);
        // Then pairs of (position, xor) and, when the first byte says so, a cut at the last position.
        for (size_t k = 2; k + 2 < size && !bytes.empty(); k += 3) {
            const size_t at = (static_cast<size_t>(data[k]) << 8 | data[k + 1]) % bytes.size();
            bytes[at] ^= data[k + 2];
        }
        if ((data[0] & 2) && !bytes.empty()) bytes.resize((static_cast<size_t>(data[1]) * 7) % (bytes.size() + 1));
        writeFile(file, bytes.data(), bytes.size());
    } else {
        writeFile(file, data + 2, size - 2);
    }
    // A reader that keeps nothing, then one that repairs by adding, then a reader of the repaired file.
    checkEveryTile(false);
    checkEveryTile(data[1] & 1);
    checkEveryTile(false);
    return 0;
}
