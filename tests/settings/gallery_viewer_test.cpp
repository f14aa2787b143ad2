// The gallery viewer as the user walks it in the headless backend: the picture chosen, previous and
// next with their messages, zoom, the slideshow from the picture after the current one with its time
// panel, a broken picture, upright pictures, and the buttons that do nothing here.
#include <gtest/gtest.h>

#include "tests/settings/gallery_fixture.h"

namespace xp::test {
namespace {

class GalleryViewerTest : public GalleryTest {
protected:
    // An album of three pictures, filled: a.jpg red, b.jpg 2000 pixels wide and green, c.jpg blue.
    GalleryWindow& filled() {
        folder = samples("样片", {"a.jpg"});
        addPhoto(folder, "c.jpg", testing::kBlue);
        testing::writeFile(folder + "/b.jpg", testing::jpeg(testing::solid(2000, 1000, testing::kGreen)));
        GalleryWindow& g = openSamples();
        choose(g, "样片");
        return g;
    }
    std::string path(const std::string& file) const { return folder + "/" + file; }
    std::string folder;
};

TEST_F(GalleryViewerTest, OpensFullScreenOnTheChosenPictureWithoutStatusLabelsOrKeys) {
    GalleryWindow& g = filled();
    inViewer(g, 1, [&](GalleryViewer& v) {
        EXPECT_EQ(v.bounds(), (ui::Rect{0, 0, 1366, 768}));
        EXPECT_EQ(v.图片框1.bounds(), (ui::Rect{0, 38, 1366, 621}));
        EXPECT_EQ(v.picturePath(), path("b.jpg"));
        EXPECT_TRUE(v.图片框2.hasPicture());
        EXPECT_FALSE(v.keyDown(ui::key::Right));
        EXPECT_EQ(app->photoIndex, 1);
    });
}

TEST_F(GalleryViewerTest, PreviousOnTheFirstAndNextOnTheLastKeepThePictureAndRestoreAZoomFirst) {
    GalleryWindow& g = filled();
    inViewer(g, 0, [&](GalleryViewer& v) {
        expectInfo("当前是第一张照片 前面没有了");
        ASSERT_TRUE(v.上一张按钮.click());
        EXPECT_EQ(v.picturePath(), path("a.jpg"));

        ASSERT_TRUE(v.下一张按钮.click());
        EXPECT_EQ(v.picturePath(), path("b.jpg"));
        ASSERT_TRUE(v.放大按钮.click());
        EXPECT_EQ(v.图片框2.bounds(), (ui::Rect{-341, -155, 2049, 931}));
        // The picture is 2000 pixels wide: the panel is wider already.
        expectInfo("以放大至像素最大尺寸");
        ASSERT_TRUE(v.放大按钮.click());

        ASSERT_TRUE(v.下一张按钮.click());
        EXPECT_EQ(v.图片框2.bounds(), (ui::Rect{0, 0, 1366, 621}));
        EXPECT_EQ(v.picturePath(), path("c.jpg"));
        expectInfo("以经是最后一张了");
        ASSERT_TRUE(v.下一张按钮.click());
        EXPECT_EQ(v.picturePath(), path("c.jpg"));
        EXPECT_EQ(app->photoIndex, 2);
    });
}

TEST_F(GalleryViewerTest, TheTimePanelRefusesSixAsksAgainAfterZeroAndFiveRunsTheShowFromTheNextPicture) {
    GalleryWindow& g = filled();
    inViewer(g, 0, [&](GalleryViewer& v) {
        // Asking for the time changes nothing else.
        ASSERT_TRUE(v.播放按钮.click());
        EXPECT_TRUE(v.外形框_输入时间.isVisible());
        EXPECT_FALSE(v.slideshowRunning());
        for (ui::Control* c : {&v.上一张按钮, &v.下一张按钮, &v.放大按钮, &v.缩小按钮, &v.退出按钮})
            EXPECT_TRUE(c->isEnabled()) << c->name();

        v.编辑框1.setText("0");
        ASSERT_TRUE(v.按钮_确定时间.click());
        EXPECT_TRUE(v.外形框_输入时间.isVisible());
        EXPECT_EQ(g.slideshowInterval, 0);
        EXPECT_TRUE(v.下一张按钮.isEnabled());

        v.编辑框1.setText("6");
        expectInfo("时间不能大于5秒");
        ASSERT_TRUE(v.按钮_确定时间.click());
        EXPECT_TRUE(v.外形框_输入时间.isVisible());
        EXPECT_EQ(g.slideshowInterval, 0);

        // 5 seconds: b.jpg from the start, c.jpg five seconds later, then back to the first.
        std::vector<std::string> seen;
        const std::int64_t start = s.now();
        for (int at : {1000, 6000}) {
            s.after(at, [&] {
                seen.push_back(v.picturePath());
                for (ui::Control* c : {&v.上一张按钮, &v.下一张按钮, &v.放大按钮, &v.缩小按钮, &v.退出按钮})
                    EXPECT_FALSE(c->isEnabled()) << c->name();
                EXPECT_TRUE(v.左转按钮.isEnabled());
            });
        }
        v.编辑框1.setText("5");
        expectInfo("图片播放完毕！将跳转到第一张");
        ASSERT_TRUE(v.按钮_确定时间.click());
        EXPECT_EQ(s.now() - start, 10000);
        EXPECT_EQ(seen, (std::vector<std::string>{path("b.jpg"), path("c.jpg")}));
        EXPECT_FALSE(v.外形框_输入时间.isVisible());
        EXPECT_EQ(app->photoIndex, 0);
        EXPECT_EQ(v.picturePath(), path("a.jpg"));
        EXPECT_FALSE(v.slideshowRunning());
        EXPECT_TRUE(v.退出按钮.isEnabled());
    });
    EXPECT_EQ(g.slideshowInterval, 5000);

    // The time is kept: in a gallery window opened afresh the show starts at once, and from the last
    // picture there is nothing after it.
    open(w().按钮_设计看版);
    GalleryWindow& g2 = open(w().按钮_样照欣赏);
    ASSERT_NE(&g2, &g);
    choose(g2, "样片");
    inViewer(g2, 2, [&](GalleryViewer& v) {
        expectInfo("图片播放完毕！将跳转到第一张");
        ASSERT_TRUE(v.播放按钮.click());
        EXPECT_FALSE(v.外形框_输入时间.isVisible());
        EXPECT_EQ(v.picturePath(), path("a.jpg"));
    });
}

TEST_F(GalleryViewerTest, AStopClickBringsTheStepButtonsBackAtOnceAndTheExitButtonAfterThePicturesTime) {
    GalleryWindow& g = filled();
    g.slideshowInterval = 3000;
    inViewer(g, 0, [&](GalleryViewer& v) {
        bool stopped = false;
        s.after(1000, [&] {
            EXPECT_FALSE(v.放大按钮.isEnabled());
            ASSERT_TRUE(v.播放按钮.click());
            stopped = true;
        });
        s.after(1500, [&] {
            EXPECT_TRUE(v.下一张按钮.isEnabled());
            EXPECT_FALSE(v.退出按钮.isEnabled());
        });
        ASSERT_TRUE(v.播放按钮.click());
        EXPECT_TRUE(stopped);
        EXPECT_EQ(v.picturePath(), path("b.jpg"));
        EXPECT_TRUE(v.退出按钮.isEnabled());
    });
}

TEST_F(GalleryViewerTest, ABrokenPictureShowsNothingAndSteppingGoesOn) {
    folder = samples("样片", {"a.jpg", "c.jpg"});
    testing::writeFile(folder + "/b.jpg", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    GalleryWindow& g = openSamples();
    choose(g, "样片");
    ASSERT_EQ(g.超级列表框1.itemCount(), 3);
    inViewer(g, 1, [&](GalleryViewer& v) {
        EXPECT_FALSE(v.图片框2.hasPicture());
        ASSERT_TRUE(v.下一张按钮.click());
        EXPECT_TRUE(v.图片框2.hasPicture());
    });
}

TEST_F(GalleryViewerTest, PicturesAndTilesStandUprightAsTheirOrientationSays) {
    folder = samples("样片", {});
    // Stored 60 × 40, shown 40 × 60 (orientation 6: turned a quarter clockwise).
    const ui::Image upright = testing::quadrants(40, 60);
    testing::ExifFields exif;
    exif.orientation = 6;
    testing::writeFile(
        folder + "/p.jpg",
        testing::withApp1(testing::jpeg(testing::storedForOrientation(upright, 6), 95, 0), testing::exifPayload(exif)));
    GalleryWindow& g = openSamples();
    choose(g, "样片");
    const testing::Box tile = testing::nonWhiteBox(g.超级列表框1.imageList()->at(g.超级列表框1.image(0)));
    EXPECT_GT(tile.h, tile.w);
    inViewer(g, 0, [&](GalleryViewer& v) {
        ASSERT_TRUE(v.图片框2.hasPicture());
        EXPECT_EQ(v.图片框2.image().width, 40);
        EXPECT_EQ(v.图片框2.image().height, 60);
        EXPECT_TRUE(testing::near(testing::pixel(v.图片框2.image(), 5, 5), testing::kRed, 40));
    });
}

TEST_F(GalleryViewerTest, TurningAndDeletingDoNothing) {
    GalleryWindow& g = filled();
    const std::vector<std::uint8_t> before = testing::readFile(path("a.jpg"));
    inViewer(g, 0, [&](GalleryViewer& v) {
        for (ui::ImageButton* b : {&v.左转按钮, &v.右转按钮, &v.删除按钮}) ASSERT_TRUE(b->click());
        EXPECT_EQ(v.picturePath(), path("a.jpg"));
        EXPECT_TRUE(v.isOpen());
    });
    EXPECT_EQ(testing::readFile(path("a.jpg")), before);
    EXPECT_EQ(g.超级列表框1.itemCount(), 3);
}

}  // namespace
}  // namespace xp::test
