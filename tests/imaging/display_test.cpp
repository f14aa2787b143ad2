// Display-size decoding and the viewer's prefetch cache.
#include "imaging/display_decode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "imaging/display_cache.h"
#include "imaging/imaging_jpeg.h"
#include "tests/support/photo_fixtures.h"

namespace xp {
namespace {

using namespace xp::testing;

TEST(DctScale, SmallestThatStillCoversTheTarget) {
    struct Case {
        int w, h, minW, minH, num, denom;
    };
    const Case cases[] = {
        {6000, 4000, 1620, 1080, 3, 8}, {6000, 4000, 120, 80, 1, 8}, {4000, 3000, 1000, 750, 1, 4},
        {4000, 3000, 1001, 750, 3, 8},  {100, 50, 120, 60, 1, 1},    {1920, 1080, 1920, 1080, 1, 1},
    };
    for (const Case& c : cases) {
        DctScale s = smallestCoveringScale(c.w, c.h, c.minW, c.minH);
        EXPECT_EQ(s.num * c.denom, c.num * s.denom) << c.w << "x" << c.h << " for " << c.minW << "x" << c.minH;
    }
}

class Display : public ImagingTest {};

TEST_F(Display, FitsTheScreenUprightAndNeverEnlarges) {
    struct Case {
        int w, h, orientation, maxW, maxH, outW, outH;
    };
    const Case cases[] = {
        {2400, 1600, 1, 1920, 1080, 1620, 1080},
        {800, 600, 1, 1920, 1080, 800, 600},
        {1600, 1200, 6, 1920, 1080, 810, 1080},  // stored landscape, shown portrait
        {1600, 1200, 8, 1200, 1600, 1200, 1600},
    };
    for (const Case& c : cases) {
        const bool swap = c.orientation >= 5;
        ui::Image upright = quadrants(swap ? c.h : c.w, swap ? c.w : c.h);
        writeFile(path("d.jpg"), withApp1(jpeg(storedForOrientation(upright, c.orientation)),
                                          exifPayload({false, c.orientation, {}, 0, 0, ""})));
        ui::Image pic = decodeForDisplay(path("d.jpg"), c.maxW, c.maxH);
        ASSERT_EQ(pic.width, c.outW) << c.w << "x" << c.h;
        ASSERT_EQ(pic.height, c.outH) << c.w << "x" << c.h;
        const int qw = pic.width / 2, qh = pic.height / 2;
        EXPECT_TRUE(near(meanColour(pic, qw / 4, qh / 4, qw / 2, qh / 2), kRed, 12));
        EXPECT_TRUE(near(meanColour(pic, qw + qw / 4, qh / 4, qw / 2, qh / 2), kGreen, 12));
        EXPECT_TRUE(near(meanColour(pic, qw / 4, qh + qh / 4, qw / 2, qh / 2), kBlue, 12));
        ImageSize size = uprightImageSize(path("d.jpg"));
        EXPECT_EQ(size.width, upright.width);
        EXPECT_EQ(size.height, upright.height);
    }
    EXPECT_TRUE(decodeForDisplay(path("missing.jpg"), 1920, 1080).empty());
    EXPECT_EQ(uprightImageSize(path("missing.jpg")).width, 0);
    EXPECT_TRUE(decodeForDisplay(path("d.jpg"), 0, 1080).empty());
}

TEST_F(Display, CacheServesPrefetchedPicturesAndNoticesChangedFiles) {
    std::vector<std::string> paths;
    const Rgb colours[] = {kRed, kGreen, kBlue, kYellow};
    for (int i = 0; i < 4; ++i) {
        paths.push_back(path("v" + std::to_string(i) + ".jpg"));
        writeFile(paths.back(), jpeg(solid(640, 480, colours[i])));
    }
    DisplayCache cache(320, 240, 2);
    EXPECT_EQ(cache.peek(paths[0]), nullptr);
    cache.prefetch({paths[1], paths[2], paths[0]});
    cache.waitIdle();
    for (int i : {1, 2, 0}) {
        std::shared_ptr<const ui::Image> pic = cache.peek(paths[i]);
        ASSERT_NE(pic, nullptr) << i;
        EXPECT_EQ(pic->pixels, decodeForDisplay(paths[i], 320, 240).pixels) << i;
    }
    EXPECT_EQ(cache.peek(paths[3]), nullptr);

    // Moving on drops what is no longer near.
    cache.prefetch({paths[3], paths[2]});
    cache.waitIdle();
    EXPECT_NE(cache.peek(paths[3]), nullptr);
    EXPECT_EQ(cache.peek(paths[0]), nullptr);

    // The file on screen is turned and written anew: the cache must not show the old picture.
    std::shared_ptr<const ui::Image> before = cache.get(paths[2]);
    writeFile(paths[2] + ".new", jpeg(solid(480, 640, kYellow)));
    std::filesystem::rename(paths[2] + ".new", paths[2]);
    std::shared_ptr<const ui::Image> after = cache.get(paths[2]);
    EXPECT_EQ(before->width, 320);
    EXPECT_EQ(after->width, 180);
    EXPECT_TRUE(near(pixel(*after, 90, 120), kYellow, 12));

    // A photo that cannot be decoded is an empty picture, not a failure.
    EXPECT_TRUE(cache.get(path("missing.jpg"))->empty());
}

TEST_F(Display, CacheCanBeDestroyedWithDecodesUnderWay) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        paths.push_back(path("w" + std::to_string(i) + ".jpg"));
        writeFile(paths.back(), jpeg(photoLike(1200, 800, i)));
    }
    for (int workers : {1, 2}) {
        DisplayCache cache(600, 400, workers);
        cache.prefetch(paths);
        std::thread viewer([&] { (void)cache.get(paths[5]); });
        viewer.join();
    }
}

}  // namespace
}  // namespace xp
