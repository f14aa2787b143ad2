// Tiles: fitting, placement on white, orientation, the embedded-thumbnail path, broken files, the list.
#include "imaging/thumbnail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <turbojpeg.h>
#include "tests/support/photo_fixtures.h"

#include "imaging/image_ops.h"
#include "imaging/thumbnail_list.h"

namespace xp {
namespace {

using namespace xp::testing;

TEST(FitInside, KeepsProportionsAndTruncates) {
    struct Case {
        int boxW, boxH, imgW, imgH, w, h;
    };
    const Case cases[] = {
        {120, 120, 3000, 2000, 120, 80}, {120, 120, 2000, 3000, 80, 120}, {120, 120, 500, 500, 120, 120},
        {120, 120, 4000, 3000, 120, 90}, {120, 120, 3000, 4000, 90, 120}, {120, 120, 100, 50, 120, 60},
        {120, 120, 161, 1, 120, 0},      {120, 90, 4000, 3000, 120, 90},  {120, 120, 7, 3, 120, 51},
        {120, 120, 0, 10, 0, 0},         {0, 120, 10, 10, 0, 0},
    };
    for (const Case& c : cases) {
        FitSize f = fitInside(c.boxW, c.boxH, c.imgW, c.imgH);
        EXPECT_EQ(f.width, c.w) << c.imgW << "x" << c.imgH;
        EXPECT_EQ(f.height, c.h) << c.imgW << "x" << c.imgH;
    }
}

class Thumbnail : public ImagingTest {};

TEST_F(Thumbnail, PhotoIsFittedAndCentredOnWhite) {
    struct Case {
        int w, h;
        Box box;
    };
    const Case cases[] = {
        {4000, 3000, {0, 15, 120, 90}},
        {3000, 4000, {15, 0, 90, 120}},
        {100, 50, {0, 30, 120, 60}},
        {161, 1, {0, 59, 120, 1}},  // would fit to zero rows; a one-pixel line stays visible
    };
    for (const Case& c : cases) {
        writeFile(path("p.jpg"), jpeg(solid(c.w, c.h, kBlue)));
        ui::Image tile = makeThumbnail(path("p.jpg"), 120, 120);
        ASSERT_EQ(tile.width, 120);
        ASSERT_EQ(tile.height, 120);
        Box b = nonWhiteBox(tile);
        EXPECT_EQ(b.x, c.box.x) << c.w << "x" << c.h;
        EXPECT_EQ(b.y, c.box.y) << c.w << "x" << c.h;
        EXPECT_EQ(b.w, c.box.w) << c.w << "x" << c.h;
        EXPECT_EQ(b.h, c.box.h) << c.w << "x" << c.h;
        EXPECT_TRUE(near(pixel(tile, b.x + b.w / 2, b.y + b.h / 2), kBlue, 12));
    }
}

TEST_F(Thumbnail, UndecodableFilesGiveThePlainWhiteTile) {
    std::vector<std::uint8_t> good = jpeg(solid(64, 48, kRed));
    writeFile(path("text.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    writeFile(path("empty.jpg"), {});
    writeFile(path("head.jpg"), std::vector<std::uint8_t>(good.begin(), good.begin() + 30));
    std::filesystem::create_directory(path("folder.jpg"));
    for (const char* name : {"missing.jpg", "text.jpg", "empty.jpg", "head.jpg", "folder.jpg"}) {
        ui::Image tile = makeThumbnail(path(name), 120, 120);
        ASSERT_EQ(tile.pixels.size(), 120u * 120 * 3) << name;
        EXPECT_TRUE(std::all_of(tile.pixels.begin(), tile.pixels.end(), [](std::uint8_t v) { return v == 255; }))
            << name;
    }
}

TEST_F(Thumbnail, TruncatedPhotoStillShowsWhatWasReceived) {
    std::vector<std::uint8_t> full = jpeg(photoLike(800, 600, 3), 90);
    full.resize(full.size() * 2 / 3);
    writeFile(path("cut.jpg"), full);
    ui::Image tile = makeThumbnail(path("cut.jpg"), 120, 120);
    EXPECT_FALSE(near(meanColour(tile, 0, 15, 120, 20), kWhite, 30));
}

TEST_F(Thumbnail, CmykPhotoShowsItsColours) {
    // Stored inverted, as CMYK JPEGs are written: red is C 255, M 0, Y 0, K 255.
    std::vector<std::uint8_t> cmyk;
    for (int i = 0; i < 64 * 48; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
    tjhandle h = tjInitCompress();
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(tjCompress2(h, cmyk.data(), 64, 64 * 4, 48, TJPF_CMYK, &buf, &size, TJSAMP_444, 95, 0), 0);
    writeFile(path("cmyk.jpg"), std::vector<std::uint8_t>(buf, buf + size));
    tjFree(buf);
    tjDestroy(h);
    ui::Image tile = makeThumbnail(path("cmyk.jpg"), 120, 120);
    EXPECT_TRUE(near(pixel(tile, 60, 60), Rgb{255, 0, 0}, 8)) << pixel(tile, 60, 60);
}

// The tile of `upright` stored with each EXIF orientation, with and without an embedded thumbnail.
TEST_F(Thumbnail, EveryExifOrientationStandsUpright) {
    const ui::Image upright = quadrants(320, 240);
    for (bool withThumb : {false, true})
        for (int o = 1; o <= 8; ++o) {
            ExifFields plan;
            plan.orientation = o;
            if (withThumb) plan.thumbnail = jpeg(storedForOrientation(quadrants(160, 120), o));
            writeFile(path("o.jpg"), withApp1(jpeg(storedForOrientation(upright, o)), exifPayload(plan)));
            ui::Image tile = makeThumbnail(path("o.jpg"), 120, 120);
            Box b = nonWhiteBox(tile);
            EXPECT_EQ(b.w, 120) << o;
            EXPECT_EQ(b.h, 90) << o;
            const std::string what = "orientation " + std::to_string(o) + (withThumb ? " thumbnail" : " decoded");
            EXPECT_TRUE(near(meanColour(tile, 10, 25, 30, 20), kRed, 16)) << what;
            EXPECT_TRUE(near(meanColour(tile, 80, 25, 30, 20), kGreen, 16)) << what;
            EXPECT_TRUE(near(meanColour(tile, 10, 75, 30, 20), kBlue, 16)) << what;
            EXPECT_TRUE(near(meanColour(tile, 80, 75, 30, 20), kYellow, 16)) << what;
        }
}

ui::Image letterboxed(int w, int h, int contentH, Rgb content) {
    ui::Image img = solid(w, h, {0, 0, 0});
    drawOnto(img, solid(w, contentH, content), 0, (h - contentH) / 2);
    return img;
}

// The main picture is red; the embedded thumbnail is green where it would be used.
TEST_F(Thumbnail, EmbeddedThumbnailIsUsedOnlyWhenItShowsTheSamePicture) {
    struct Case {
        const char* what;
        int photoW, photoH;
        ui::Image thumb;
        bool used;
    };
    ui::Image noisySquare = photoLike(160, 160, 7);
    const Case cases[] = {
        {"same proportions", 640, 480, solid(160, 120, kGreen), true},
        {"within 1 %", 640, 480, solid(161, 120, kGreen), true},
        {"4:3 letterbox of 3:2", 600, 400, letterboxed(160, 120, 107, kGreen), true},
        {"other proportions with content", 640, 480, noisySquare, false},
        {"smaller than the tile", 640, 480, solid(80, 60, kGreen), false},
        {"not a JPEG", 640, 480, {}, false},
    };
    for (const Case& c : cases) {
        ExifFields plan;
        plan.orientation = 1;
        plan.thumbnail = c.thumb.empty() ? std::vector<std::uint8_t>{1, 2, 3, 4} : jpeg(c.thumb, 95, 0);
        writeFile(path("t.jpg"), withApp1(jpeg(solid(c.photoW, c.photoH, kRed)), exifPayload(plan)));
        ui::Image tile = makeThumbnail(path("t.jpg"), 120, 120);
        Box b = nonWhiteBox(tile);
        FitSize fit = fitInside(120, 120, c.photoW, c.photoH);
        EXPECT_EQ(b.w, fit.width) << c.what;
        EXPECT_EQ(b.h, fit.height) << c.what;
        // The whole content area, bars of a letterbox included, must be the picture's colour.
        EXPECT_TRUE(near(meanColour(tile, b.x, b.y, b.w, 2), c.used ? kGreen : kRed, 20)) << c.what;
        EXPECT_TRUE(near(meanColour(tile, b.x, b.y + b.h - 2, b.w, 2), c.used ? kGreen : kRed, 20)) << c.what;
    }
}

TEST_F(Thumbnail, HeadLongerThanTheFirstReadIsStillFollowed) {
    // Colour profiles can put 60 KB and more before the EXIF block.
    std::vector<std::uint8_t> file =
        withApp1(jpeg(storedForOrientation(quadrants(320, 240), 6)), exifPayload({false, 6, {}, 0, 0, ""}));
    file = withPadding(file, 0xE2, 65000);
    file = withPadding(file, 0xE2, 65000);
    writeFile(path("long.jpg"), file);
    ui::Image tile = makeThumbnail(path("long.jpg"), 120, 120);
    EXPECT_TRUE(near(meanColour(tile, 10, 25, 30, 20), kRed, 16));
    EXPECT_TRUE(near(meanColour(tile, 80, 75, 30, 20), kYellow, 16));
}

TEST_F(Thumbnail, ListIndexesTilesInOrderAndResetStartsAnew) {
    writeFile(path("a.jpg"), jpeg(solid(64, 48, kRed)));
    ThumbnailList list;
    EXPECT_EQ(list.add(path("a.jpg")), -1);  // no list yet
    std::shared_ptr<ui::ImageList> first = list.reset();
    EXPECT_EQ(list.add(path("a.jpg")), 0);
    EXPECT_EQ(list.add(path("missing.jpg")), 1);   // a white tile, still listed
    EXPECT_EQ(list.add(solid(10, 10, kRed)), -1);  // not a tile
    EXPECT_EQ(first->size(), 2);
    EXPECT_TRUE(near(meanColour(first->at(0), 30, 40, 60, 40), kRed, 12));

    std::shared_ptr<ui::ImageList> second = list.reset();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->size(), 0);
    EXPECT_EQ(list.add(path("a.jpg")), 0);
    EXPECT_EQ(first->size(), 2);
}

// The packaged phone and camera photos: their embedded thumbnails and orientation tags, checked against
// a decode of the full photo turned by this test itself.
TEST(CameraPhotos, TilesMatchTheFullPhotoTurnedUpright) {
    const std::string dir = cameraSamples();
    if (dir.empty()) GTEST_SKIP() << "forensics-samples-files is not installed";
    struct Case {
        const char* file;
        bool turned180;  // orientation 3
    };
    const Case cases[] = {
        {"/pic2/IMG_20200124_231153.jpg", true},
        {"/pic1/IMG_20200827_231612.jpg", false},
        {"/pic1/IMG_1054.JPG", false},
    };
    for (const Case& c : cases) {
        ui::Image full = decode(readFile(dir + c.file));
        ASSERT_FALSE(full.empty()) << c.file;
        if (c.turned180) std::reverse(full.pixels.begin(), full.pixels.end());  // reverses pixels and channels
        if (c.turned180)
            for (std::size_t i = 0; i < full.pixels.size(); i += 3) std::swap(full.pixels[i], full.pixels[i + 2]);
        FitSize fit = fitInside(120, 120, full.width, full.height);
        ui::Image expected = resample(full, fit.width, fit.height);

        ui::Image tile = makeThumbnail(dir + c.file, 120, 120);
        ui::Image content = resampleRect(tile, (120 - fit.width) / 2, (120 - fit.height) / 2, fit.width, fit.height,
                                         fit.width, fit.height);
        EXPECT_LT(meanAbsDiff(content, expected), 8.0) << c.file;
        if (c.turned180) {
            ui::Image wrongWay = applyDihedral(expected, Dihedral::Rotate180);
            EXPECT_GT(meanAbsDiff(content, wrongWay), 2 * meanAbsDiff(content, expected)) << c.file;
        }
    }
}

}  // namespace
}  // namespace xp
