// The selection viewer walked through the headless backend: its layout on a 1366 × 768 screen, the
// status bar, stepping without wrap-around, zoom and drag with their numbers, the keys, the check list,
// the slideshow on the virtual clock, deleting and turning photos, and a photo missing on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/display_decode.h"
#include "platform/file_system.h"
#include "tests/selection/selection_fixture.h"

namespace xp::test {
namespace {

using Strings = std::vector<std::string>;

class SelectionViewerTest : public SelectionTest {
protected:
    // Runs `script` in the viewer opened on entry `entry` of the photos IMG1..IMGn.
    void view(int photos, int entry, std::function<void(SelectionViewer&)> script) {
        std::vector<std::string> files;
        for (int i = 1; i <= photos; ++i) files.push_back("IMG" + std::to_string(i) + ".jpg");
        openOrder(files);
        inViewer(entry, std::move(script));
    }
    static ui::Rect panelOf(const SelectionViewer& v) { return v.图片框2.bounds(); }
};

TEST_F(SelectionViewerTest, FillsTheScreenAndPlacesItsBarsAsDesigned) {
    view(2, 0, [](SelectionViewer& v) {
        EXPECT_EQ(v.bounds(), (ui::Rect{0, 0, 1366, 768}));
        EXPECT_EQ(v.图片框1.bounds(), (ui::Rect{0, 38, 1366, 621}));
        EXPECT_EQ(v.图片框2.bounds(), (ui::Rect{0, 0, 1366, 621}));
        EXPECT_EQ(v.外形框4.bounds(), (ui::Rect{0, 656, 1366, 64}));
        EXPECT_EQ(v.外形框3.bounds(), (ui::Rect{0, 0, 1366, 25}));
        EXPECT_EQ(v.外形框1.left(), 399);
        EXPECT_EQ(v.外形框2.bounds(), (ui::Rect{507, 334, 352, 100}));
        EXPECT_EQ(v.透明标签5.left(), 1248);
        EXPECT_EQ(v.透明标签4.width(), 932);
        EXPECT_EQ(v.外形框_输入时间.bounds(), (ui::Rect{409, 556, 176, 100}));
        EXPECT_EQ(v.图片框1.backColor(), (ui::Color{0, 0, 0}));
        EXPECT_FALSE(v.外形框_输入时间.isVisible());
        EXPECT_FALSE(v.外形框2.isVisible());
        EXPECT_FALSE(v.选择列表框1.isVisible());
        EXPECT_EQ(v.编辑框1.text(), "1");
        EXPECT_EQ(v.picturePath(), v.app.selectionFolder() + "/IMG1.jpg");
        EXPECT_EQ(v.图片框2.image().width, 48) << "a small photo shows at its natural size";
    });
    EXPECT_EQ(s.modals().size(), 1u);
}

TEST_F(SelectionViewerTest, StatusBarCountsSelectedAndExtraPhotos) {
    std::vector<std::string> files;
    for (int i = 1; i <= 11; ++i) files.push_back("P" + std::to_string(i) + ".jpg");
    const std::string f = openOrder(files);
    app->store.closeAllTables();
    for (int i = 1; i <= 10; ++i) choose(f, i, "入册。", i == 1 ? "修" : "");
    reopen();
    inViewer(0, [](SelectionViewer& v) {
        EXPECT_EQ(v.透明标签1.caption(), "当前共有：11 张");
        EXPECT_EQ(v.透明标签2.caption(), "应选：8张");
        EXPECT_EQ(v.透明标签3.caption(), "以选：10 张");
        EXPECT_EQ(v.透明标签4.caption(), "当前：P1｜入册。★");
        EXPECT_EQ(v.透明标签5.caption(), "加选：2 张");
        v.下一张按钮.click();
        EXPECT_EQ(v.透明标签4.caption(), "当前：P10｜入册。");  // listed without letter case: P1, P10, P11, P2...
    });
}

TEST_F(SelectionViewerTest, TheSelectedCountFollowsPicksAndChangesMadeToTheTableElsewhere) {
    view(3, 0, [this](SelectionViewer& v) {
        auto pickAt = [&](const std::string& item) {
            v.图片框2.mouseDown(ui::MouseButton::Right, 5, 5);
            v.选择列表框1.pickItem(v.选择列表框1.indexOf(item));
        };
        EXPECT_EQ(v.透明标签3.caption(), "以选：0 张");
        pickAt("入册");
        pickAt("P");
        EXPECT_EQ(v.透明标签3.caption(), "以选：1 张") << "a second product does not count the photo twice";
        v.下一张按钮.click();
        pickAt("Q");
        EXPECT_EQ(v.透明标签3.caption(), "以选：2 张");
        pickAt("Q");
        EXPECT_EQ(v.透明标签3.caption(), "以选：1 张");

        // Another program chooses the third photo meanwhile; the next step sees it.
        RecordStore other;
        ASSERT_TRUE(other.openTable(photoTablePath(folder), kTablePassword));
        other.goToRecord(3);
        ASSERT_TRUE(writeText(other, photo_fields::kProducts, "入册。P。Q。"));
        other.closeAllTables();
        v.下一张按钮.click();
        EXPECT_EQ(v.透明标签3.caption(), "以选：2 张");
        EXPECT_EQ(v.透明标签4.caption(), "当前：IMG3｜入册。P。Q。");
    });
}

TEST_F(SelectionViewerTest, PreviousAndNextStopAtTheEndsWithTheirMessagesAfterRestoringTheView) {
    view(3, 0, [this](SelectionViewer& v) {
        expectInfo("当前是第一张照片 前面没有了");
        v.上一张按钮.click();
        EXPECT_EQ(app->photoIndex, 0);
        v.下一张按钮.click();
        v.下一张按钮.click();
        EXPECT_EQ(app->photoIndex, 2);
        EXPECT_EQ(v.透明标签4.caption(), "当前照片：IMG3");
        EXPECT_EQ(v.picturePath(), folder + "/IMG3.jpg");
        v.图片框2.setBounds(-10, -10, 2000, 900);  // a zoomed, dragged view
        expectInfo("以经是最后一张了");
        v.下一张按钮.click();
        EXPECT_EQ(app->photoIndex, 2);
        EXPECT_EQ(panelOf(v), (ui::Rect{0, 0, 1366, 621}));
        v.上一张按钮.click();
        EXPECT_EQ(v.透明标签4.caption(), "当前照片：IMG2");
    });
    EXPECT_EQ(app->photoIndex, 1);
    EXPECT_EQ(list().selected(), 1) << "back in the list, the last photo viewed is the chosen one";
}

TEST_F(SelectionViewerTest, ZoomGoesBy1Point5UpToThePhotosWidthAndDecodesSharperPictures) {
    const std::string f = openOrder({"BIG.jpg"});
    testing::writeFile(f + "/BIG.jpg", testing::jpeg(testing::solid(3000, 2000, testing::kBlue)));
    inViewer(0, [this](SelectionViewer& v) {
        EXPECT_EQ(v.图片框2.image().width, 931) << "the display picture fits the viewport";
        v.放大按钮.click();
        EXPECT_EQ(panelOf(v), (ui::Rect{-341, -155, 2049, 931}));
        EXPECT_EQ(v.图片框2.image().width, 1396) << "decoded again for the larger panel";
        v.放大按钮.click();
        EXPECT_EQ(panelOf(v).width, 3073);
        EXPECT_EQ(panelOf(v).height, 1396);
        expectInfo("以放大至像素最大尺寸");
        v.放大按钮.click();
        EXPECT_EQ(panelOf(v).width, 3073);
        EXPECT_EQ(v.图片框2.image().width, 2094);

        const std::vector<std::pair<int, int>> out = {{2048, 930}, {1365, 620}, {910, 413}};
        for (auto [w, h] : out) {
            v.缩小按钮.click();
            EXPECT_EQ(panelOf(v).width, w);
            EXPECT_EQ(panelOf(v).height, h);
        }
        EXPECT_EQ(panelOf(v).left, (1366 - 910) / 2);
        v.恢复按钮.click();
        EXPECT_EQ(panelOf(v), (ui::Rect{0, 0, 1366, 621}));
        EXPECT_EQ(v.图片框2.image().width, 931) << "the display picture again";
        v.缩小按钮.click();
        EXPECT_EQ(panelOf(v).width, 1366) << "at the viewport's size zoom out does nothing";
    });
}

TEST_F(SelectionViewerTest, ZoomInWithoutAReadablePhotoRefuses) {
    view(1, 0, [this](SelectionViewer& v) {
        std::filesystem::remove(folder + "/IMG1.jpg");
        expectInfo("以放大至像素最大尺寸");
        v.放大按钮.click();
        EXPECT_EQ(panelOf(v).width, 1366);
    });
}

// A drag from (100, 100) to (100 + dx, 100 + dy) on a panel standing at (left, top).
struct DragCase {
    const char* what;
    ui::Rect panel;
    int dx, dy;
    int left, top;
};

TEST_F(SelectionViewerTest, DraggingNeverUncoversTheViewportAndLeavesASmallerPanelCentred) {
    const std::vector<DragCase> cases = {
        {"a little right and down", {-341, -155, 2049, 931}, 50, 20, -291, -135},
        {"far right and down: stops at the edges", {-341, -155, 2049, 931}, 1000, 1000, 0, 0},
        {"far left and up: the other edges", {-341, -155, 2049, 931}, -1000, -1000, -683, -310},
        {"a smaller panel does not move", {228, 104, 910, 413}, -300, 200, 228, 104},
        {"at the viewport's size nothing moves", {0, 0, 1366, 621}, -40, 40, 0, 0},
    };
    view(1, 0, [&](SelectionViewer& v) {
        for (const DragCase& c : cases) {
            SCOPED_TRACE(c.what);
            v.图片框2.setBounds(c.panel);
            v.选择列表框1.show();
            ASSERT_TRUE(v.图片框2.mouseDown(ui::MouseButton::Left, 100, 100));
            EXPECT_TRUE(v.dragging());
            EXPECT_EQ(v.图片框2.cursor(), ui::Cursor::Hand);
            EXPECT_FALSE(v.选择列表框1.isVisible());
            v.图片框2.mouseMove(100 + c.dx, 100 + c.dy, ui::MouseButton::Left);
            EXPECT_EQ(v.图片框2.left(), c.left);
            EXPECT_EQ(v.图片框2.top(), c.top);
            v.图片框2.mouseUp(ui::MouseButton::Left, 0, 0);
            EXPECT_FALSE(v.dragging());
            EXPECT_EQ(v.图片框2.cursor(), ui::Cursor::Arrow);
            v.图片框2.mouseMove(0, 0);
            EXPECT_EQ(v.图片框2.left(), c.left) << "no drag after the release";
        }
    });
}

TEST_F(SelectionViewerTest, KeysStepZoomAndRestore) {
    const std::string f = openOrder({"A.jpg", "B.jpg"});
    testing::writeFile(f + "/A.jpg", testing::jpeg(testing::solid(3000, 2000, testing::kBlue)));
    inViewer(0, [this](SelectionViewer& v) {
        EXPECT_TRUE(v.keyDown(ui::key::Up));
        EXPECT_EQ(panelOf(v).width, 2049);
        EXPECT_TRUE(v.keyDown(ui::key::D0));
        EXPECT_EQ(panelOf(v).width, 1366);
        EXPECT_TRUE(v.keyDown(ui::key::Up));
        EXPECT_TRUE(v.keyDown(ui::key::Down));
        EXPECT_EQ(panelOf(v).width, 1366);
        EXPECT_TRUE(v.keyDown(ui::key::Right));
        EXPECT_EQ(app->photoIndex, 1);
        EXPECT_TRUE(v.keyDown(ui::key::Left));
        EXPECT_EQ(app->photoIndex, 0);
        EXPECT_FALSE(v.keyDown(ui::key::Numpad0)) << "only the main keyboard's 0 restores";
    });
}

TEST_F(SelectionViewerTest, RightClickPopsTheCheckListAtTheMouseAndAPickUpdatesCaptionAndStatus) {
    view(3, 1, [this](SelectionViewer& v) {
        s.mouseAt(300, 200);
        v.图片框2.mouseDown(ui::MouseButton::Right, 10, 10);
        EXPECT_EQ(v.选择列表框1.items(), (Strings{"入册", "P", "Q", "修片要求"}));
        EXPECT_EQ(v.选择列表框1.bounds(), (ui::Rect{300, 200, 128, 95}));
        v.选择列表框1.pickItem(2);
        EXPECT_FALSE(v.选择列表框1.isVisible());
        EXPECT_EQ(list().caption(1), "IMG2｜Q。");
        EXPECT_EQ(v.透明标签3.caption(), "以选：1 张");
        EXPECT_EQ(v.透明标签4.caption(), "当前：IMG2｜Q。");

        s.mouseAt(1360, 760);  // near the corner the list stays on the screen
        v.图片框2.mouseDown(ui::MouseButton::Right, 10, 10);
        EXPECT_EQ(v.选择列表框1.bounds(), (ui::Rect{1366 - 128, 768 - 95, 128, 95}));
        EXPECT_EQ(v.选择列表框1.itemCount(), 4);
        EXPECT_TRUE(v.选择列表框1.isChecked(2));
    });
    EXPECT_EQ(row(1).products, "Q。");
}

// ---- slideshow ------------------------------------------------------------------------------------

TEST_F(SelectionViewerTest, TheFirstPlayAsksForTheDisplayTimeWhichMustBeAtMostFiveSeconds) {
    view(2, 0, [this](SelectionViewer& v) {
        v.播放按钮.click();
        EXPECT_TRUE(v.外形框_输入时间.isVisible());
        EXPECT_EQ(v.编辑框1.text(), "1");
        EXPECT_FALSE(v.slideshowRunning());
        for (ui::Control* c : {(ui::Control*)&v.上一张按钮, (ui::Control*)&v.下一张按钮, (ui::Control*)&v.放大按钮,
                               (ui::Control*)&v.缩小按钮, (ui::Control*)&v.左转按钮, (ui::Control*)&v.右转按钮,
                               (ui::Control*)&v.删除按钮, (ui::Control*)&v.退出按钮})
            EXPECT_FALSE(c->isEnabled()) << c->name() << " stays disabled until a slideshow has run";

        v.编辑框1.setText("6");
        expectInfo("时间不能大于5秒");
        v.按钮_确定时间.click();
        EXPECT_TRUE(v.外形框_输入时间.isVisible());

        v.编辑框1.setText("0");
        v.按钮_确定时间.click();
        EXPECT_TRUE(v.外形框_输入时间.isVisible()) << "0 asks again";
    });
    EXPECT_EQ(panel().slideshowInterval, 0);
}

TEST_F(SelectionViewerTest, AStopOneSecondIntoAThreeSecondPictureFreesTheExit1887msLater) {
    view(3, 0, [this](SelectionViewer& v) {
        bool exitDuringWait = true, exitAfterStop = false;
        std::int64_t stopReturned = 0;
        s.after(500, [&] { EXPECT_EQ(v.ticks(), 5); });
        s.after(1000, [&] {
            EXPECT_TRUE(v.pausing());
            v.播放按钮.click();
            stopReturned = s.now();
            exitAfterStop = v.退出按钮.isEnabled();
        });
        s.after(2886, [&] { exitDuringWait = v.退出按钮.isEnabled(); });
        v.播放按钮.click();  // the first press asks for the time
        v.编辑框1.setText("3");
        v.按钮_确定时间.click();  // the slideshow runs inside this click

        EXPECT_EQ(stopReturned, 1000 + 1887);
        EXPECT_FALSE(exitDuringWait);
        EXPECT_TRUE(exitAfterStop);
        EXPECT_EQ(s.now(), 3000) << "the loop ended with the picture's wait";
        EXPECT_FALSE(v.slideshowRunning());
        EXPECT_EQ(app->photoIndex, 0);
        EXPECT_TRUE(v.上一张按钮.isEnabled() && v.下一张按钮.isEnabled() && v.放大按钮.isEnabled() &&
                    v.缩小按钮.isEnabled());
        EXPECT_FALSE(v.左转按钮.isEnabled() || v.右转按钮.isEnabled() || v.删除按钮.isEnabled());
        EXPECT_FALSE(v.pausing());
        EXPECT_EQ(v.ticks(), 0);
        EXPECT_EQ(v.时钟1.interval(), 0);
    });
    EXPECT_EQ(panel().slideshowInterval, 3000) << "the display time stays for the run";
}

TEST_F(SelectionViewerTest, ASlideshowWalksToTheEndThenJumpsToTheFirstPhoto) {
    view(3, 0, [this](SelectionViewer& v) {
        Strings shown;
        for (int t : {500, 1500, 2500}) s.after(t, [&] { shown.push_back(v.透明标签4.caption()); });
        v.播放按钮.click();
        expectInfo("图片播放完毕！将跳转到第一张");
        v.按钮_确定时间.click();
        EXPECT_EQ(shown, (Strings{"当前照片：IMG1", "当前照片：IMG2", "当前照片：IMG3"}));
        EXPECT_EQ(s.dialogs().back().time, 3000);
        EXPECT_EQ(app->photoIndex, 0);
        EXPECT_EQ(v.透明标签4.caption(), "当前照片：IMG1");
        EXPECT_FALSE(v.slideshowRunning());
        EXPECT_TRUE(v.左转按钮.isEnabled() && v.删除按钮.isEnabled() && v.退出按钮.isEnabled());
    });
}

TEST_F(SelectionViewerTest, ASlideshowStartedOnTheLastPhotoShowsItOnceThenTheFirst) {
    panel().slideshowInterval = 2000;  // confirmed in an earlier opening of the viewer
    view(3, 2, [this](SelectionViewer& v) {
        std::string during;
        s.after(1000, [&] { during = v.透明标签4.caption(); });
        expectInfo("图片播放完毕！将跳转到第一张");
        v.播放按钮.click();
        EXPECT_EQ(during, "当前照片：IMG3");
        EXPECT_EQ(s.now(), 2000);
        EXPECT_EQ(v.透明标签4.caption(), "当前照片：IMG1");
        EXPECT_EQ(v.picturePath(), folder + "/IMG1.jpg");
    });
}

// ---- deleting, turning, missing files -------------------------------------------------------------

struct DeleteCase {
    const char* what;
    int photos, entry;
    std::string shownAfter;  // "" when the viewer closed
    int indexAfter;
};

std::ostream& operator<<(std::ostream& os, const DeleteCase& c) { return os << c.what; }

class ViewerDeleteTest : public SelectionViewerTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(ViewerDeleteTest, DeletingShowsThePhotoThatTookItsPlace) {
    const DeleteCase c = GetParam();
    bool stillOpen = false;
    view(c.photos, c.entry, [&](SelectionViewer& v) {
        expectDeleteQuestion(ui::MessageResult::Yes);
        if (c.shownAfter.empty()) expectInfo("照片被删光了");
        v.删除按钮.click();
        stillOpen = v.isOpen();
        if (stillOpen) {
            EXPECT_EQ(v.透明标签4.caption(), c.shownAfter);
        }
    });
    EXPECT_EQ(stillOpen, !c.shownAfter.empty());
    EXPECT_EQ(app->photoIndex, c.indexAfter);
    EXPECT_EQ(list().itemCount(), c.photos - 1);
    EXPECT_EQ(storedPhotos(folder).size(), static_cast<size_t>(c.photos - 1));
    const std::string gone = folder + "/IMG" + std::to_string(c.entry + 1) + ".jpg";
    EXPECT_FALSE(fileExists(gone));
    EXPECT_EQ(w().状态标签.caption(),
              "当前照片总数：" + std::to_string(c.photos - 1) + " 张" + std::string(29, ' ') + "加载时间：0秒");
}

INSTANTIATE_TEST_SUITE_P(Cases, ViewerDeleteTest,
                         ::testing::Values(DeleteCase{"the only photo", 1, 0, "", 0},
                                           DeleteCase{"the last of three", 3, 2, "当前照片：IMG2", 1},
                                           DeleteCase{"the middle one", 3, 1, "当前照片：IMG3", 1},
                                           DeleteCase{"the first one", 3, 0, "当前照片：IMG2", 0}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& ch : name)
                                 if (ch == ' ') ch = '_';
                             return name;
                         });

TEST_F(SelectionViewerTest, ANoAnswerDeletesNothing) {
    view(2, 0, [this](SelectionViewer& v) {
        expectDeleteQuestion(ui::MessageResult::No);
        v.删除按钮.click();
    });
    EXPECT_EQ(list().itemCount(), 2);
    EXPECT_TRUE(fileExists(folder + "/IMG1.jpg"));
}

TEST_F(SelectionViewerTest, TurningRightWritesTheTurnedPhotoAndShowsItInTheViewerAndTheList) {
    const std::string f = openOrder({"IMG1.jpg", "IMG2.jpg"});
    const std::string photo = f + "/IMG1.jpg";
    testing::writeFile(photo, testing::jpeg(testing::quadrants(64, 48), 95, 0));
    const int oldTile = list().image(0);
    inViewer(0, [&](SelectionViewer& v) {
        v.放大按钮.disable();  // unrelated; the turn keeps whatever view there is
        v.右转按钮.click();
        EXPECT_FALSE(v.外形框2.isVisible());
        EXPECT_EQ(v.图片框2.image().width, 48);
        EXPECT_EQ(v.图片框2.image().height, 64);
    });
    const ui::Image turned = testing::decode(testing::readFile(photo));
    ASSERT_EQ(turned.width, 48);
    ASSERT_EQ(turned.height, 64);
    // Turned right, the former bottom-left (blue) quarter is now at the top left.
    EXPECT_TRUE(testing::near(testing::pixel(turned, 8, 8), testing::kBlue, 40)) << testing::pixel(turned, 8, 8);
    EXPECT_TRUE(testing::near(testing::pixel(turned, 40, 8), testing::kRed, 40));
    EXPECT_TRUE(folderExists(f + "/temp"));
    EXPECT_TRUE(listFiles(f + "/temp").empty());
    EXPECT_EQ(row(0).length, std::to_string(fileSize(photo)));
    EXPECT_NE(list().image(0), oldTile);
    EXPECT_EQ(list().image(0), panel().tileOf(1));
    const ui::Image& tile = list().imageList()->at(list().image(0));
    EXPECT_TRUE(testing::near(testing::pixel(tile, 40, 30), testing::kBlue, 40)) << "the tile shows the turn";
}

TEST_F(SelectionViewerTest, TurningAPhotoWhoseNameHasAnotherDotFailsAndChangesNothing) {
    const std::string f = openOrder({"a.b.jpg"});
    const std::vector<std::uint8_t> before = testing::readFile(f + "/a.b.jpg");
    inViewer(0, [this](SelectionViewer& v) {
        EXPECT_EQ(v.图片框2.image().width, 48) << "shown from its own file all the same";
        s.expectMessage("旋转失败！").title("旋转失败！").icon(ui::MessageIcon::None);
        v.左转按钮.click();
        EXPECT_FALSE(v.外形框2.isVisible());
    });
    EXPECT_EQ(testing::readFile(f + "/a.b.jpg"), before);
    EXPECT_EQ(row(0).length, std::to_string(before.size()));
}

TEST_F(SelectionViewerTest, APhotoMissingOnDiskShowsBlackAndTheWalkGoesOn) {
    const std::string f = openOrder({"IMG1.jpg", "IMG2.jpg", "IMG3.jpg"});
    std::filesystem::remove(f + "/IMG2.jpg");
    const std::vector<StoredPhoto> before = storedPhotos(f);
    inViewer(0, [](SelectionViewer& v) {
        EXPECT_TRUE(v.图片框2.hasPicture());
        v.下一张按钮.click();
        EXPECT_FALSE(v.图片框2.hasPicture());
        EXPECT_EQ(v.透明标签4.caption(), "当前照片：IMG2");
        v.下一张按钮.click();
        EXPECT_TRUE(v.图片框2.hasPicture());
    });
    EXPECT_EQ(storedPhotos(f), before);
}

}  // namespace
}  // namespace xp::test
