// The tile cache: what is kept and taken back, the key rules, damaged and foreign files, two processes
// filling one cache, and writers killed at any moment. Every check compares with the tile the photo
// gives when made afresh: a cache may make a tile again, never show a wrong one.
#include "imaging/tile_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "imaging/image_rotate.h"
#include "imaging/thumbnail.h"
#include "imaging/thumbnail_pipeline.h"
#include "tests/store/child_process.h"
#include "tests/support/photo_fixtures.h"

namespace xp {
namespace {

using namespace xp::testing;
namespace fs = std::filesystem;

constexpr std::uint32_t kWhiteFill = 0xFFFFFF;

std::vector<std::uint8_t> cacheBytes(const std::string& folder) { return readFile(folder + "/" + kTileCacheFileName); }
void putCacheBytes(const std::string& folder, const std::vector<std::uint8_t>& bytes) {
    writeFile(folder + "/" + kTileCacheFileName, bytes);
}

// ---- with real photos and the default tile maker ----------------------------------------------------

class TileCacheTest : public ImagingTest {
protected:
    // A photo without an embedded thumbnail, large enough for its decoded tile to be kept.
    std::string plainPhoto(const std::string& name, unsigned seed, int w = 1000, int h = 750) {
        writeFile(path(name), jpeg(photoLike(w, h, seed)));
        return path(name);
    }
};

TEST_F(TileCacheTest, DecodedTilesAreKeptAndTakenBackWhenTheOrderOpensAgain) {
    std::vector<std::string> photos = {plainPhoto("a.jpg", 1), plainPhoto("b.jpg", 2, 750, 1000),
                                       plainPhoto("c.jpg", 3, 1200, 417)};
    // A photo with a usable embedded thumbnail is made again as fast as it would be read back, so is a
    // small photo decoded, and a file that cannot be decoded is tried again next time: none is kept.
    ExifFields withThumb;
    withThumb.orientation = 1;
    withThumb.thumbnail = jpeg(photoLike(160, 120, 4));
    writeFile(path("thumb.jpg"), withApp1(jpeg(photoLike(640, 480, 4)), exifPayload(withThumb)));
    writeFile(path("broken.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    photos.push_back(path("thumb.jpg"));
    photos.push_back(path("broken.jpg"));
    photos.push_back(plainPhoto("small.jpg", 5, 640, 480));

    // Filled and read back through the pipeline, several workers at once, as the loader uses it.
    for (int opening = 1; opening <= 2; ++opening) {
        TileCache cache(dir_);
        ThumbnailPipeline pipeline(photos, 3, 0, cache.maker());
        for (const std::string& p : photos) {
            std::optional<ui::Image> tile = pipeline.next();
            ASSERT_TRUE(tile);
            EXPECT_EQ(tile->pixels, makeThumbnail(p).pixels) << p << " opening " << opening;
        }
        const TileCache::Counts n = cache.counts();
        EXPECT_EQ(n.hits, opening == 1 ? 0 : 3) << opening;
        EXPECT_EQ(n.made, opening == 1 ? 6 : 3) << opening;
        EXPECT_EQ(n.added, opening == 1 ? 3 : 0) << opening;
    }
}

TEST_F(TileCacheTest, APhotoWhoseKeyChangedIsMadeAfresh) {
    struct Case {
        const char* change;
        std::function<std::string(const std::string&)> apply;  // returns the photo's path afterwards
    };
    const Case cases[] = {
        {"other picture, other size", [&](const std::string&) { return plainPhoto("a.jpg", 9, 900, 600); }},
        {"same bytes, other time",
         [&](const std::string& p) {
             struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123}};
             EXPECT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
             return p;
         }},
        {"renamed",
         [&](const std::string& p) {
             fs::rename(p, path("renamed.jpg"));
             return path("renamed.jpg");
         }},
        {"turned",
         [&](const std::string& p) {
             EXPECT_TRUE(rotateImageFile(p, p, 90, kWhiteFill, ImageFormat::Jpeg));
             return p;
         }},
    };
    for (const Case& c : cases) {
        fs::remove_all(path(kTileCacheFileName));
        fs::remove_all(path("renamed.jpg"));
        const std::string photo = plainPhoto("a.jpg", 1);
        const ui::Image before = makeThumbnail(photo);
        {
            TileCache cache(dir_);
            cache.tile(photo);
        }
        const std::string now = c.apply(photo);
        TileCache cache(dir_);
        EXPECT_EQ(cache.tile(now).pixels, makeThumbnail(now).pixels) << c.change;
        EXPECT_EQ(cache.counts().made, 1) << c.change;
        EXPECT_EQ(cache.counts().added, 1) << c.change;
        if (std::string(c.change) == "turned") {
            EXPECT_NE(makeThumbnail(now).pixels, before.pixels);
        }
        // The new key is what the next opening finds.
        TileCache again(dir_);
        EXPECT_EQ(again.tile(now).pixels, makeThumbnail(now).pixels) << c.change;
        EXPECT_EQ(again.counts().hits, 1) << c.change;
    }
}

TEST_F(TileCacheTest, AFolderThatCannotHoldTheCacheStillGivesEveryTile) {
    const std::string photo = plainPhoto("a.jpg", 1);
    fs::create_directory(path(kTileCacheFileName));  // something else in the cache file's place
    struct Case {
        const char* what;
        std::string folder;
    };
    for (const Case& c : {Case{"a folder under the file's name", dir_}, Case{"a missing folder", path("nowhere")}}) {
        TileCache cache(c.folder);
        EXPECT_EQ(cache.tile(photo).pixels, makeThumbnail(photo).pixels) << c.what;
        EXPECT_EQ(cache.tile(photo).pixels, makeThumbnail(photo).pixels) << c.what;
        EXPECT_EQ(cache.counts().added, 0) << c.what;
        EXPECT_EQ(cache.counts().made, 2) << c.what;
    }
    EXPECT_FALSE(fs::exists(path("nowhere")));
}

// ---- the file itself, with small made-up tiles ---------------------------------------------------------

constexpr int kW = 6, kH = 5;

// The tile a "photo" stands for: drawn from its bytes, so a test always knows the right tile.
ui::Image expectedTile(const std::string& photoPath) {
    const std::vector<std::uint8_t> bytes = readFile(photoPath);
    std::uint32_t h = 2166136261u;
    for (std::uint8_t b : bytes) h = (h ^ b) * 16777619u;
    ui::Image tile{kW, kH, std::vector<std::uint8_t>(kW * kH * 3)};
    for (std::uint8_t& v : tile.pixels) v = static_cast<std::uint8_t>((h = h * 1103515245u + 12345u) >> 24);
    return tile;
}

class TileCacheFile : public ImagingTest {
protected:
    void SetUp() override {
        ImagingTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            photos_.push_back(path("p" + std::to_string(i) + ".jpg"));
            writeFile(photos_.back(), std::vector<std::uint8_t>(10 + i, static_cast<std::uint8_t>('a' + i)));
        }
    }
    TileCache::Maker maker() {
        return [](const std::string& p) { return TileCache::Made{expectedTile(p), true}; };
    }
    // Opens the cache, asks for every photo's tile and checks each; returns the counts.
    TileCache::Counts openAndCheck(const std::string& what) {
        TileCache cache(dir_, maker(), kW, kH);
        for (const std::string& p : photos_)
            EXPECT_EQ(cache.tile(p).pixels, expectedTile(p).pixels) << what << " " << p;
        return cache.counts();
    }
    std::vector<std::uint8_t> filledCache() {
        fs::remove(path(kTileCacheFileName));
        openAndCheck("filling");
        return cacheBytes(dir_);
    }
    std::vector<std::string> photos_;
};

TEST_F(TileCacheFile, EveryCutOfTheFileGivesCorrectTilesAndIsRepairedByTheNextWriter) {
    const std::vector<std::uint8_t> full = filledCache();
    const std::size_t record = (full.size() - 40) / 3;
    for (std::size_t length = 0; length <= full.size(); ++length) {
        putCacheBytes(dir_, std::vector<std::uint8_t>(full.begin(), full.begin() + static_cast<long>(length)));
        const std::string what = "cut at " + std::to_string(length);
        const int whole = length < 40 ? 0 : static_cast<int>((length - 40) / record);
        const TileCache::Counts n = openAndCheck(what);
        EXPECT_EQ(n.hits, whole) << what;
        EXPECT_EQ(n.added, 3 - whole) << what;
        // The torn record was cut off and the missing tiles added after the sound ones.
        EXPECT_EQ(openAndCheck(what + ", reopened").hits, 3) << what;
        EXPECT_EQ(cacheBytes(dir_).size(), full.size()) << what;
    }
}

TEST_F(TileCacheFile, AnyDamagedByteNeverGivesAWrongTile) {
    const std::vector<std::uint8_t> full = filledCache();
    for (std::size_t at = 0; at < full.size(); ++at) {
        std::vector<std::uint8_t> damaged = full;
        damaged[at] ^= 0x5A;
        putCacheBytes(dir_, damaged);
        const std::string what = "byte " + std::to_string(at);
        const TileCache::Counts n = openAndCheck(what);
        EXPECT_LT(n.hits, 3) << what;
        EXPECT_EQ(openAndCheck(what + ", reopened").hits, 3) << what;
    }
}

TEST_F(TileCacheFile, ForeignAndNonsenseFilesAreIgnoredAndRebuilt) {
    const std::vector<std::uint8_t> full = filledCache();
    std::mt19937 random(7);
    struct Case {
        std::string what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    for (std::size_t size : {1u, 39u, 40u, 100u, 5000u}) {
        std::vector<std::uint8_t> bytes(size);
        for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(random());
        cases.push_back({"random " + std::to_string(size), bytes});
    }
    cases.push_back({"a photo", jpeg(solid(16, 16, kRed))});
    // A cache of other tiles: the header says so, and its records do not fit.
    {
        fs::create_directory(path("other"));
        TileCache other(path("other"), maker(), kW + 1, kH);
        other.add({"p0.jpg", 10, 0}, ui::Image{kW + 1, kH, std::vector<std::uint8_t>((kW + 1) * kH * 3, 7)});
        cases.push_back({"tiles of another size", cacheBytes(path("other"))});
    }
    // Sound header, records whose lengths and name lengths point far beyond the file.
    auto patched = [&](std::size_t at, std::vector<std::uint8_t> value) {
        std::vector<std::uint8_t> b = full;
        std::copy(value.begin(), value.end(), b.begin() + static_cast<long>(at));
        return b;
    };
    cases.push_back({"record length beyond the file", patched(44, {0xFF, 0xFF, 0xFF, 0x7F})});
    cases.push_back({"name length beyond the file", patched(64, {0xFF, 0xFF})});
    cases.push_back({"a second header where a record belongs", [&] {
                         std::vector<std::uint8_t> b = full;
                         b.insert(b.begin() + 40, full.begin(), full.begin() + 40);
                         return b;
                     }()});
    for (const Case& c : cases) {
        putCacheBytes(dir_, c.bytes);
        openAndCheck(c.what);
        EXPECT_EQ(openAndCheck(c.what + ", reopened").hits, 3) << c.what;
    }
}

// Two processes filling one cache at once, each in its own order, with tiles of the real size so
// that records are written in tens of kilobytes: every record lands whole, and a third opening finds
// every tile.
TEST_F(TileCacheFile, TwoProcessesFillingOneCacheAtOnce) {
    constexpr int kPhotos = 60;
    std::vector<std::string> photos;
    for (int i = 0; i < kPhotos; ++i) {
        photos.push_back(path("q" + std::to_string(i) + ".jpg"));
        writeFile(photos.back(), std::vector<std::uint8_t>(static_cast<std::size_t>(i + 1), 'q'));
    }
    auto big = [](const std::string& p) {
        ui::Image small = expectedTile(p), tile{kTileSize, kTileSize, {}};
        for (int k = 0; k < kTileSize * kTileSize; ++k)
            tile.pixels.insert(tile.pixels.end(), small.pixels.begin() + (k % (kW * kH)) * 3,
                               small.pixels.begin() + (k % (kW * kH)) * 3 + 3);
        return tile;
    };
    auto fill = [&](bool reversed) {
        return [&, reversed](test::ChildProcess& self) {
            self.send('r');
            if (self.receive() != 'g') return 2;
            TileCache cache(dir_, [&](const std::string& p) { return TileCache::Made{big(p), true}; });
            for (int i = 0; i < kPhotos; ++i) {
                const std::string& p = photos[static_cast<std::size_t>(reversed ? kPhotos - 1 - i : i)];
                if (cache.tile(p).pixels != big(p).pixels) return 3;
            }
            return 0;
        };
    };
    test::ChildProcess first(fill(false)), second(fill(true));
    ASSERT_EQ(first.receive(), 'r');
    ASSERT_EQ(second.receive(), 'r');
    first.send('g');
    second.send('g');
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);

    TileCache cache(dir_, [](const std::string&) -> TileCache::Made {
        ADD_FAILURE() << "tile made again";
        return {};
    });
    for (const std::string& p : photos) EXPECT_EQ(cache.tile(p).pixels, big(p).pixels) << p;
    EXPECT_EQ(cache.counts().hits, kPhotos);
    // Only whole records: the next append finds nothing to cut off before it.
    const std::size_t before = cacheBytes(dir_).size();
    writeFile(path("new.jpg"), {'n'});
    ASSERT_TRUE(cache.add(*tileKeyOf(path("new.jpg")), big(path("new.jpg"))));
    EXPECT_EQ(cacheBytes(dir_).size(), before + 48 + 7 + kTileSize * kTileSize * 3);
}

// A load killed at any moment: the writer is killed again and again while it appends large records;
// every opening afterwards gives correct tiles, and the next writer goes on from the last whole record.
TEST_F(TileCacheFile, WritersKilledWhileWritingLeaveAUsableCache) {
    constexpr int kPhotos = 60;
    constexpr int kSide = 300;  // 270 kB per record: a kill may well land inside a write
    std::vector<std::string> photos;
    for (int i = 0; i < kPhotos; ++i) {
        photos.push_back(path("k" + std::to_string(i) + ".jpg"));
        writeFile(photos.back(),
                  std::vector<std::uint8_t>(static_cast<std::size_t>(i % 50 + 1), static_cast<std::uint8_t>(i)));
    }
    auto tileOf = [](const std::string& p) {
        ui::Image small = expectedTile(p);
        ui::Image tile{kSide, kSide, std::vector<std::uint8_t>(kSide * kSide * 3)};
        for (std::size_t k = 0; k < tile.pixels.size(); ++k) tile.pixels[k] = small.pixels[k % small.pixels.size()];
        return tile;
    };
    std::mt19937 random(11);
    for (int round = 0; round < 6; ++round) {
        test::ChildProcess writer([&](test::ChildProcess& self) {
            TileCache cache(
                dir_,
                [&](const std::string& p) {
                    return TileCache::Made{tileOf(p), true};
                },
                kSide, kSide);
            self.send('s');
            for (const std::string& p : photos) cache.tile(p);
            return 0;
        });
        ASSERT_EQ(writer.receive(), 's');
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + random() % 8000));
        writer.kill();
        writer.wait();
        TileCache reader(
            dir_,
            [&](const std::string& p) {
                return TileCache::Made{tileOf(p), false};
            },
            kSide, kSide);
        for (int i = 0; i < kPhotos; i += 3)
            EXPECT_EQ(reader.tile(photos[static_cast<std::size_t>(i)]).pixels,
                      tileOf(photos[static_cast<std::size_t>(i)]).pixels)
                << "round " << round;
    }
    // Finally one writer runs to the end: everything is there and sound.
    {
        TileCache cache(
            dir_,
            [&](const std::string& p) {
                return TileCache::Made{tileOf(p), true};
            },
            kSide, kSide);
        for (const std::string& p : photos) cache.tile(p);
    }
    TileCache cache(
        dir_,
        [&](const std::string& p) {
            return TileCache::Made{tileOf(p), false};
        },
        kSide, kSide);
    for (const std::string& p : photos) EXPECT_EQ(cache.tile(p).pixels, tileOf(p).pixels) << p;
    EXPECT_EQ(cache.counts().hits, kPhotos);
}

}  // namespace
}  // namespace xp
