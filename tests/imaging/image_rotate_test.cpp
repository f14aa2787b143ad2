// Turning files: quarter turns with and without loss, any angle on the computed canvas, EXIF made
// upright, output formats and failures.
#include "imaging/image_rotate.h"

#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "imaging/display_decode.h"
#include "imaging/exif_reader.h"
#include "imaging/image_ops.h"
#include "imaging/thumbnail.h"
#include "tests/support/photo_fixtures.h"

namespace xp {
namespace {

using namespace xp::testing;

constexpr std::uint32_t kWhiteFill = 0xFFFFFF;

class Rotate : public ImagingTest {};

// Red top-left, green top-right, blue bottom-left, yellow bottom-right; after a right turn the former
// left edge (red over blue) is the top edge: blue top-left, red top-right.
void expectTurnedRight(const ui::Image& pic, const std::string& what) {
    const int qw = pic.width / 2, qh = pic.height / 2;
    EXPECT_TRUE(near(meanColour(pic, qw / 4, qh / 4, qw / 2, qh / 2), kBlue, 12)) << what;
    EXPECT_TRUE(near(meanColour(pic, qw + qw / 4, qh / 4, qw / 2, qh / 2), kRed, 12)) << what;
    EXPECT_TRUE(near(meanColour(pic, qw / 4, qh + qh / 4, qw / 2, qh / 2), kYellow, 12)) << what;
    EXPECT_TRUE(near(meanColour(pic, qw + qw / 4, qh + qh / 4, qw / 2, qh / 2), kGreen, 12)) << what;
}

TEST_F(Rotate, RightTurnPutsTheLeftEdgeOnTopAndFourLeftTurnsGoBack) {
    struct Case {
        int w, h;
        bool lossless;  // 4:2:0 MCUs are 16 × 16: only then can every block be moved as it is
    };
    for (const Case c : {Case{400, 304, true}, Case{400, 300, false}}) {
        const std::string what = std::to_string(c.w) + "x" + std::to_string(c.h);
        ui::Image original = quadrants(c.w, c.h);
        // Detail in the middle, away from the probed areas, that recompression would blur.
        drawOnto(original, photoLike(c.w / 8, c.h / 8, 1), c.w * 7 / 16, c.h * 7 / 16);
        writeFile(path("a.jpg"), jpeg(original, 90));
        const ui::Image first = decode(readFile(path("a.jpg")));

        ASSERT_TRUE(rotateImageFile(path("a.jpg"), path("r.jpg"), 90, kWhiteFill, ImageFormat::Jpeg)) << what;
        ui::Image right = decode(readFile(path("r.jpg")));
        ASSERT_EQ(right.width, c.h) << what;
        ASSERT_EQ(right.height, c.w) << what;
        expectTurnedRight(right, what);

        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(rotateImageFile(path("a.jpg"), path("a.jpg"), -90, kWhiteFill, ImageFormat::Jpeg)) << what;
        ui::Image back = decode(readFile(path("a.jpg")));
        ASSERT_EQ(back.width, c.w);
        if (c.lossless)
            EXPECT_EQ(back.pixels, first.pixels) << what;
        else
            EXPECT_LT(meanAbsDiff(back, first), 3.0) << what;
        EXPECT_GT(meanAbsDiff(back, applyDihedral(first, Dihedral::Rotate180)), 20.0) << what;
    }
}

TEST_F(Rotate, ZeroGivesASameSizeCopyAnd45GivesTheComputedCanvasWithFilledCorners) {
    writeFile(path("s.jpg"), jpeg(solid(400, 300, kBlue), 95));
    ASSERT_TRUE(rotateImageFile(path("s.jpg"), path("zero.jpg"), 0, kWhiteFill, ImageFormat::Jpeg));
    ui::Image zero = decode(readFile(path("zero.jpg")));
    EXPECT_EQ(zero.width, 400);
    EXPECT_EQ(zero.height, 300);

    const std::uint32_t red = 0x0000FF;  // 0x00BBGGRR
    ASSERT_TRUE(rotateImageFile(path("s.jpg"), path("t.jpg"), 45, red, ImageFormat::Jpeg));
    ui::Image turned = decode(readFile(path("t.jpg")));
    const double r = 45 * 3.1415926535 / 180;
    EXPECT_EQ(turned.width, static_cast<int>(std::trunc(300 * std::sin(r) + 400 * std::cos(r))));
    EXPECT_EQ(turned.height, static_cast<int>(std::trunc(300 * std::cos(r) + 400 * std::sin(r))));
    const Rgb fill{255, 0, 0};
    const int w = turned.width, h = turned.height;
    for (auto [x, y] : {std::pair{4, 4}, {w - 8, 4}, {4, h - 8}, {w - 8, h - 8}})
        EXPECT_TRUE(near(meanColour(turned, x, y, 4, 4), fill, 16)) << x << "," << y;
    EXPECT_TRUE(near(meanColour(turned, w / 2 - 20, h / 2 - 20, 40, 40), kBlue, 8));
}

// A phone photo stored sideways with orientation 6 and a thumbnail, turned right as the user sees it.
TEST_F(Rotate, OrientedPhotoIsWrittenUprightWithItsThumbnailTurnedAndMetadataKept) {
    for (int h : {304, 300}) {
        const ui::Image upright = quadrants(h, 400);  // portrait as seen
        ExifFields plan;
        plan.orientation = 6;
        plan.thumbnail = jpeg(storedForOrientation(quadrants(120, 160), 6));
        plan.pixelWidth = 400;
        plan.pixelHeight = h;
        plan.make = "Phone Maker Inc.";
        writeFile(path("o.jpg"), withApp1(jpeg(storedForOrientation(upright, 6)), exifPayload(plan)));

        ASSERT_TRUE(rotateImageFile(path("o.jpg"), path("o.jpg"), 90, kWhiteFill, ImageFormat::Jpeg));
        std::vector<std::uint8_t> bytes = readFile(path("o.jpg"));
        ui::Image stored = decode(bytes);
        ASSERT_EQ(stored.width, 400);
        ASSERT_EQ(stored.height, h);
        expectTurnedRight(stored, "stored pixels " + std::to_string(h));

        const auto app1 = std::search(bytes.begin(), bytes.end(), "Exif\0\0", "Exif\0\0" + 6);
        ASSERT_NE(app1, bytes.end());
        const std::size_t size = ((static_cast<std::size_t>(app1[-2]) << 8) | app1[-1]) - 2;
        ExifInfo exif = readExif(&*app1, size);
        EXPECT_EQ(exif.orientation, 1);
        ASSERT_FALSE(exif.thumbnail.empty());
        ui::Image thumb = decode(exif.thumbnail);
        EXPECT_EQ(thumb.width, 160);
        expectTurnedRight(thumb, "thumbnail " + std::to_string(h));
        EXPECT_NE(std::search(app1, bytes.end(), "Phone Maker Inc.", "Phone Maker Inc." + 16), bytes.end());

        // Our own tile of the result agrees.
        ui::Image tile = makeThumbnail(path("o.jpg"));
        EXPECT_TRUE(near(meanColour(tile, 10, 25, 30, 20), kBlue, 16));
        EXPECT_TRUE(near(meanColour(tile, 80, 25, 30, 20), kRed, 16));
    }
}

// A re-encoded file keeps the colour profile and XMP, unless the profile no longer fits its colours.
TEST_F(Rotate, ReencodedFileKeepsProfileAndXmpWhereTheyStillApply) {
    auto withSegment = [](std::vector<std::uint8_t> file, std::uint8_t marker, const std::string& payload) {
        std::vector<std::uint8_t> seg = {0xFF, marker, static_cast<std::uint8_t>((payload.size() + 2) >> 8),
                                         static_cast<std::uint8_t>((payload.size() + 2) & 0xFF)};
        seg.insert(seg.end(), payload.begin(), payload.end());
        file.insert(file.begin() + 2, seg.begin(), seg.end());
        return file;
    };
    const std::string icc("ICC_PROFILE\0\x01\x01profile-bytes", 27);
    const std::string xmp("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 41);
    struct Case {
        int subsampling;  // of the source
        std::uint32_t fill;
        bool profileKept;
    };
    for (const Case c :
         {Case{TJSAMP_420, 0x0000FF, true}, Case{TJSAMP_GRAY, 0x808080, true}, Case{TJSAMP_GRAY, 0x0000FF, false}}) {
        std::vector<std::uint8_t> src = jpeg(solid(200, 150, {90, 90, 90}), 90, c.subsampling);
        writeFile(path("m.jpg"), withSegment(withSegment(src, 0xE2, icc), 0xE1, xmp));
        ASSERT_TRUE(rotateImageFile(path("m.jpg"), path("out.jpg"), 30, c.fill, ImageFormat::Jpeg));
        std::vector<std::uint8_t> out = readFile(path("out.jpg"));
        auto has = [&](const std::string& text) {
            return std::search(out.begin(), out.end(), text.begin(), text.end()) != out.end();
        };
        EXPECT_EQ(has("profile-bytes"), c.profileKept) << c.subsampling << " " << c.fill;
        EXPECT_TRUE(has("<x:xmpmeta/>"));
    }
}

TEST_F(Rotate, OutputFormats) {
    writeFile(path("f.jpg"), jpeg(quadrants(64, 48)));
    struct Case {
        ImageFormat format;
        bool written;
        std::vector<std::uint8_t> signature;
    };
    const Case cases[] = {
        {ImageFormat::Jpeg, true, {0xFF, 0xD8, 0xFF}},
        {ImageFormat::SameAsSource, true, {0xFF, 0xD8, 0xFF}},
        {ImageFormat::Bmp, true, {'B', 'M'}},
        {ImageFormat::Png, true, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}},
        {ImageFormat::Gif, false, {}},
        {ImageFormat::Tiff, false, {}},
        {static_cast<ImageFormat>(9), false, {}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path("out"));
        EXPECT_EQ(rotateImageFile(path("f.jpg"), path("out"), 90, kWhiteFill, c.format), c.written);
        EXPECT_EQ(fileExists(path("out")), c.written);
        if (!c.written) continue;
        std::vector<std::uint8_t> out = readFile(path("out"));
        ASSERT_GE(out.size(), c.signature.size());
        EXPECT_TRUE(std::equal(c.signature.begin(), c.signature.end(), out.begin()));
    }
    // The BMP holds the turned pixels: 48 wide, 64 high, bottom row first, BGR.
    std::filesystem::remove(path("out"));
    ASSERT_TRUE(rotateImageFile(path("f.jpg"), path("out"), 90, kWhiteFill, ImageFormat::Bmp));
    std::vector<std::uint8_t> bmp = readFile(path("out"));
    std::int32_t w = 0, h = 0;
    std::memcpy(&w, &bmp[18], 4);
    std::memcpy(&h, &bmp[22], 4);
    EXPECT_EQ(w, 48);
    EXPECT_EQ(h, 64);
    EXPECT_TRUE(near(Rgb{bmp[54 + 2], bmp[54 + 1], bmp[54]}, kYellow, 16));  // bottom-left after a right turn
}

TEST_F(Rotate, FailuresWriteNothing) {
    writeFile(path("ok.jpg"), jpeg(solid(64, 48, kRed)));
    writeFile(path("text.jpg"), {'t', 'e', 'x', 't'});
    struct Case {
        std::string source, target;
        float angle;
    };
    const Case cases[] = {
        {path("missing.jpg"), path("out.jpg"), 90},
        {path("text.jpg"), path("out.jpg"), 90},
        {path("ok.jpg"), path("no/such/folder/out.jpg"), 90},
        {path("ok.jpg"), path("out.jpg"), std::nanf("")},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(rotateImageFile(c.source, c.target, c.angle, kWhiteFill, ImageFormat::Jpeg)) << c.source;
        EXPECT_FALSE(fileExists(path("out.jpg")));
    }
    // Nothing but the two files remains in the folder (no temporary left behind).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 2);
}

TEST(CameraPhotoTurn, UpsideDownPhoneShotTurnedRightIsUprightAndTurned) {
    const std::string dir = cameraSamples();
    if (dir.empty()) GTEST_SKIP() << "forensics-samples-files is not installed";
    const std::string src = dir + "/pic2/IMG_20200124_231153.jpg";  // 4000 × 3000, orientation 3
    std::string out =
        (std::filesystem::temp_directory_path() / ("xp_turned_" + std::to_string(::getpid()) + ".jpg")).string();
    ASSERT_TRUE(rotateImageFile(src, out, 90, kWhiteFill, ImageFormat::Jpeg));
    ui::Image before = decodeForDisplay(src, 400, 300);
    ui::Image after = decodeForDisplay(out, 300, 400);
    std::vector<std::uint8_t> bytes = readFile(out);
    std::filesystem::remove(out);
    ASSERT_EQ(after.width, 300);
    ASSERT_EQ(after.height, 400);
    EXPECT_LT(meanAbsDiff(after, applyDihedral(before, Dihedral::Rotate90)), 4.0);
    const auto app1 = std::search(bytes.begin(), bytes.end(), "Exif\0\0", "Exif\0\0" + 6);
    ASSERT_NE(app1, bytes.end());
    EXPECT_EQ(readExif(&*app1, ((static_cast<std::size_t>(app1[-2]) << 8) | app1[-1]) - 2).orientation, 1);
}

}  // namespace
}  // namespace xp
