// The retouch dialog: the request shown again, saved unchanged, cleared, typed over several lines,
// cancelled, refused when the list no longer matches the table, and saved from the viewer for the photo
// being viewed.
#include <gtest/gtest.h>

#include "selection/retouch_dialog.h"
#include "tests/selection/selection_fixture.h"

namespace xp::test {
namespace {

class RetouchDialogTest : public SelectionTest {
protected:
    // IMG1 selected for P with a request, IMG2 selected for 入册 without one.
    void SetUp() override {
        const std::string f = openOrder({"IMG1.jpg", "IMG2.jpg", "IMG3.jpg"});
        app->store.closeAllTables();
        choose(f, 1, "P。", "去掉路人");
        choose(f, 2, "入册。");
        reopen();
    }
    // Opens the dialog from the photo list's check list for an entry; `script` runs while it is open.
    void retouch(int entry, std::function<void(RetouchDialog&)> script) {
        s.whenModal<RetouchDialog>(std::move(script));
        list().pickItem(entry);
        rightClick(entry);
        pick("修片要求");
    }
};

TEST_F(RetouchDialogTest, ShowsTheRequestAndSavingItUnchangedKeepsTheStar) {
    retouch(0, [](RetouchDialog& d) {
        EXPECT_EQ(d.caption(), "修片要求");
        EXPECT_EQ(d.bounds().width, 361);
        EXPECT_EQ(d.透明标签1.caption(), "当前照片：IMG1");
        EXPECT_EQ(d.编辑框1.text(), "去掉路人");
        EXPECT_TRUE(d.编辑框1.isMultiLine());
        d.按钮_保存.click();
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(row(0).retouch, "去掉路人");
    EXPECT_EQ(list().caption(0), "IMG1｜P。★");
}

TEST_F(RetouchDialogTest, ClearThenSaveRemovesTheRequestButKeepsTheProducts) {
    retouch(0, [](RetouchDialog& d) {
        d.按钮_清空.click();
        EXPECT_EQ(d.编辑框1.text(), "");
        d.按钮_保存.click();
    });
    EXPECT_EQ(row(0).retouch, "");
    EXPECT_EQ(row(0).products, "P。");
    EXPECT_EQ(list().caption(0), "IMG1｜P。");
}

TEST_F(RetouchDialogTest, SeveralLinesAreStoredAndShownAgainAndCancelWritesNothing) {
    retouch(1, [](RetouchDialog& d) {
        EXPECT_EQ(d.编辑框1.text(), "");
        d.编辑框1.setText("磨皮\r\n去眼袋");
        d.按钮_保存.click();
    });
    EXPECT_EQ(row(1).retouch, "磨皮\r\n去眼袋");
    EXPECT_EQ(list().caption(1), "IMG2｜入册。★");

    retouch(1, [](RetouchDialog& d) {
        EXPECT_EQ(d.编辑框1.text(), "磨皮\r\n去眼袋");
        d.编辑框1.setText("something else");
        d.按钮_取消.click();
    });
    EXPECT_EQ(row(1).retouch, "磨皮\r\n去眼袋");
}

TEST_F(RetouchDialogTest, AListThatNoLongerMatchesTheTableIsRefusedOnSaving) {
    retouch(0, [this](RetouchDialog& d) {
        // Meanwhile the entry shows another photo than the row it stands for.
        app->photoRecordNumber = 2;
        d.编辑框1.setText("new");
        expectInfo("数据出错！请在数据管理中删除此记录后，重新导入用户数据");
        d.按钮_保存.click();
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(row(0).retouch, "去掉路人");
    EXPECT_EQ(row(1).retouch, "");
}

TEST_F(RetouchDialogTest, FromTheViewerTheRequestGoesToThePhotoBeingViewed) {
    s.whenModal<RetouchDialog>([](RetouchDialog& d) {
        EXPECT_EQ(d.透明标签1.caption(), "当前照片：IMG2");
        d.编辑框1.setText("调色");
        d.按钮_保存.click();
    });
    inViewer(0, [this](SelectionViewer& v) {
        v.下一张按钮.click();
        v.图片框2.mouseDown(ui::MouseButton::Right, 5, 5);
        v.选择列表框1.pickItem(v.选择列表框1.itemCount() - 1);
        EXPECT_EQ(v.透明标签4.caption(), "当前：IMG2｜入册。★") << "the status bar after the dialog";
    });
    EXPECT_EQ(list().caption(0), "IMG1｜P。★");
    EXPECT_EQ(list().caption(1), "IMG2｜入册。★");
    EXPECT_EQ(row(1).retouch, "调色");
}

}  // namespace
}  // namespace xp::test
