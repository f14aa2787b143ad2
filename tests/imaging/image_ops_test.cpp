// Quarter-turn transforms and the resampling filter.
#include "imaging/image_ops.h"

#include <gtest/gtest.h>

#include "tests/support/photo_fixtures.h"

namespace xp {
namespace {

using testing::pixel;
using testing::Rgb;

// A 3 × 2 picture whose every pixel is different.
ui::Image tiny() {
    ui::Image img{3, 2, {}};
    for (int i = 0; i < 6; ++i) img.pixels.insert(img.pixels.end(), {static_cast<std::uint8_t>(10 * i), 0, 0});
    return img;
}

int at(const ui::Image& img, int x, int y) { return pixel(img, x, y).r / 10; }

TEST(Dihedral, MovesEveryPixelWhereTheTransformSays) {
    // The source, by index:  0 1 2
    //                        3 4 5
    struct Case {
        Dihedral t;
        int w, h;
        std::vector<int> rows;  // expected indices, row by row
    };
    const Case cases[] = {
        {Dihedral::None, 3, 2, {0, 1, 2, 3, 4, 5}},         {Dihedral::FlipHorizontal, 3, 2, {2, 1, 0, 5, 4, 3}},
        {Dihedral::FlipVertical, 3, 2, {3, 4, 5, 0, 1, 2}}, {Dihedral::Transpose, 2, 3, {0, 3, 1, 4, 2, 5}},
        {Dihedral::Transverse, 2, 3, {5, 2, 4, 1, 3, 0}},   {Dihedral::Rotate90, 2, 3, {3, 0, 4, 1, 5, 2}},
        {Dihedral::Rotate180, 3, 2, {5, 4, 3, 2, 1, 0}},    {Dihedral::Rotate270, 2, 3, {2, 5, 1, 4, 0, 3}},
    };
    for (const Case& c : cases) {
        ui::Image out = applyDihedral(tiny(), c.t);
        ASSERT_EQ(out.width, c.w) << static_cast<int>(c.t);
        ASSERT_EQ(out.height, c.h) << static_cast<int>(c.t);
        std::vector<int> got;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) got.push_back(at(out, x, y));
        EXPECT_EQ(got, c.rows) << static_cast<int>(c.t);
    }
}

TEST(Dihedral, CompositionEqualsApplyingOneAfterTheOther) {
    const ui::Image src = tiny();
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b) {
            const auto first = static_cast<Dihedral>(a), second = static_cast<Dihedral>(b);
            ui::Image stepwise = applyDihedral(applyDihedral(src, first), second);
            ui::Image composed = applyDihedral(src, composeDihedral(first, second));
            EXPECT_EQ(stepwise.pixels, composed.pixels) << a << " then " << b;
            EXPECT_EQ(stepwise.width, composed.width);
        }
    EXPECT_EQ(quarterTurns(-1), Dihedral::Rotate270);
    EXPECT_EQ(quarterTurns(6), Dihedral::Rotate180);
}

TEST(Dihedral, UprightTransformUndoesEachExifOrientation) {
    const ui::Image upright = testing::quadrants(8, 6);
    for (int o = 1; o <= 8; ++o) {
        ui::Image back = applyDihedral(testing::storedForOrientation(upright, o), uprightTransform(o));
        EXPECT_EQ(back.width, upright.width) << o;
        EXPECT_EQ(back.pixels, upright.pixels) << "orientation " << o;
    }
    EXPECT_EQ(uprightTransform(0), Dihedral::None);
    EXPECT_EQ(uprightTransform(9), Dihedral::None);
}

ui::Image row(std::initializer_list<int> values) {
    ui::Image img{static_cast<int>(values.size()), 1, {}};
    for (int v : values)
        img.pixels.insert(img.pixels.end(),
                          {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)});
    return img;
}

std::vector<int> values(const ui::Image& img) {
    std::vector<int> v;
    for (int x = 0; x < img.width; ++x) v.push_back(pixel(img, x, 0).r);
    return v;
}

TEST(Resample, AveragesByCoveredAreaAndInterpolatesWhenEnlarging) {
    struct Case {
        ui::Image src;
        int width;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {row({0, 100, 200, 255}), 2, {50, 228}},
        {row({0, 90, 180}), 2, {30, 150}},           // each output covers 1.5 inputs
        {row({0, 255}), 4, {0, 64, 191, 255}},       // linear between sample centres, clamped at the ends
        {row({7, 7, 7, 7, 7, 7, 7}), 3, {7, 7, 7}},  // flat stays flat
    };
    for (const Case& c : cases) EXPECT_EQ(values(resample(c.src, c.width, 1)), c.expected);
}

TEST(Resample, FineDetailBecomesItsAverageNotASample) {
    // A one-pixel checkerboard: skipping pixels would give black or white, averaging gives grey.
    ui::Image checker = testing::solid(8, 8, testing::kWhite);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x + y) % 2) std::fill_n(checker.pixels.begin() + (y * 8 + x) * 3, 3, 0);
    ui::Image small = resample(checker, 3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_NEAR(pixel(small, x, y).r, 128, 20) << x << "," << y;
}

TEST(Resample, TakesOnlyTheRectangleAsked) {
    ui::Image q = testing::quadrants(40, 20);
    ui::Image right = resampleRect(q, 20, 0, 20, 20, 5, 5);
    EXPECT_TRUE(testing::near(testing::meanColour(right, 0, 0, 5, 2), testing::kGreen, 1));
    EXPECT_TRUE(testing::near(testing::meanColour(right, 0, 3, 5, 2), testing::kYellow, 1));
    EXPECT_TRUE(resampleRect(q, 30, 0, 20, 20, 5, 5).empty());  // outside the picture
}

}  // namespace
}  // namespace xp
