// The photo-list panel as the selector uses it: the product check list at a right click, ticking and
// unticking products with their captions and stored order, the retouch pick, the three views and the
// product filter, the mismatch paths, deleting one or all listed photos, "关闭" and "保存选片数据".
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "selection/photo_selection.h"
#include "selection/retouch_dialog.h"
#include "tests/selection/selection_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;
using Strings = std::vector<std::string>;

class PhotoListPanelTest : public SelectionTest {};

TEST_F(PhotoListPanelTest, CheckListAndFilterReadTheOrdersPackageAndTheListPopsUpBesideTheMouse) {
    openOrder({"IMG1.jpg", "IMG2.jpg"});
    rightClick(0, 500, 400);
    EXPECT_EQ(checkItems(), (Strings{"入册", "P", "Q", "修片要求"}));
    EXPECT_EQ(checks().height(), 95);
    EXPECT_EQ(checks().left(), 500 - 184);
    EXPECT_EQ(checks().top(), 400 - 100);
    EXPECT_TRUE(checks().isVisible());
    EXPECT_EQ(ticks(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(app->photoIndex, 0);
    EXPECT_EQ(app->store.tableName(), "xpdata");

    // A left press in the list hides it again.
    list().mouseDown(ui::MouseButton::Left, 5, 5);
    EXPECT_FALSE(checks().isVisible());

    panel().查看以选按钮.click();
    EXPECT_TRUE(panel().组合框1.isVisible());
    EXPECT_EQ(panel().组合框1.items(), (Strings{"入册", "P", "Q", "查看有修片要求照片"}));
    EXPECT_EQ(app->store.tableName(), "xpdata");
}

// Each step picks an item of the check list for IMG1 and states what is stored and shown afterwards.
struct PickStep {
    std::string item;
    std::string products, caption;
};

TEST_F(PhotoListPanelTest, TickingAppendsInTickOrderAndUntickingRewritesInCheckListOrder) {
    openOrder({"IMG1.jpg", "IMG2.jpg"});
    const std::vector<PickStep> steps = {
        {"P", "P。", "IMG1｜P。"},
        {"入册", "P。入册。", "IMG1｜P。入册。"},
        {"Q", "P。入册。Q。", "IMG1｜P。入册。Q。"},
        {"Q", "入册。P。", "IMG1｜入册。P。"},
        {"入册", "P。", "IMG1｜P。"},
        {"P", "", "IMG1"},
    };
    for (const PickStep& step : steps) {
        SCOPED_TRACE(step.item + " -> " + step.products);
        list().pickItem(0);
        rightClick(0);
        pick(step.item);
        EXPECT_FALSE(checks().isVisible());
        EXPECT_EQ(row(0).products, step.products);
        EXPECT_EQ(captions()[0], step.caption);
    }
    EXPECT_EQ(row(1).products, "") << "only the chosen photo changes";
}

TEST_F(PhotoListPanelTest, RetouchNeedsAProductAndUntickingTheLastProductDropsTheRequest) {
    openOrder({"IMG1.jpg", "IMG2.jpg"});
    rightClick(0);
    expectInfo("请先选择产品后，在选择修片要求");
    pick("修片要求");
    EXPECT_TRUE(checks().isVisible()) << "a refused pick leaves the list up";
    EXPECT_TRUE(s.modals().empty());

    pick("P");
    s.whenModal<RetouchDialog>([](RetouchDialog& d) {
        d.编辑框1.setText("去掉路人\r\n提亮");
        d.按钮_保存.click();
    });
    rightClick(0);
    pick("修片要求");
    EXPECT_EQ(row(0).retouch, "去掉路人\r\n提亮");
    EXPECT_EQ(captions()[0], "IMG1｜P。★");

    rightClick(0);
    EXPECT_EQ(ticks(), (std::vector<bool>{false, true, false, true}));
    pick("P");
    EXPECT_EQ(row(0).products, "");
    EXPECT_EQ(row(0).retouch, "");
    EXPECT_EQ(captions()[0], "IMG1");
}

TEST_F(PhotoListPanelTest, ViewsAndTheProductFilterListTheRightPhotos) {
    const std::string f = openOrder({"A.jpg", "B.jpg", "C.jpg", "D.jpg"});
    app->store.closeAllTables();
    choose(f, 1, "入册。P。");
    choose(f, 2, "P。", "亮一点");
    choose(f, 4, "", "left over");  // a request without products counts nowhere
    reopen();

    panel().查看以选按钮.click();
    EXPECT_EQ(captions(), (Strings{"A｜入册。P。", "B｜P。★"}));
    struct Filter {
        std::string item;
        Strings listed;
    };
    for (const Filter& f : std::vector<Filter>{{"入册", {"A｜入册。P。"}},
                                               {"P", {"A｜入册。P。", "B｜P。★"}},
                                               {"Q", {}},
                                               {"查看有修片要求照片", {"B｜P。★"}}}) {
        SCOPED_TRACE(f.item);
        panel().组合框1.pickItem(panel().组合框1.indexOf(f.item));
        EXPECT_EQ(captions(), f.listed);
    }
    panel().查看未选按钮.click();
    EXPECT_FALSE(panel().组合框1.isVisible());
    EXPECT_EQ(captions(), (Strings{"C", "D"}));
    EXPECT_EQ(list().data(1), 4);
    EXPECT_EQ(list().image(1), panel().tileOf(4));
    panel().查看全部按钮.click();
    EXPECT_EQ(captions(), (Strings{"A｜入册。P。", "B｜P。★", "C", "D"}));
    EXPECT_EQ(app->store.tableName(), "xpdata");
}

// Double click (title "信息：") and right click (title "提示信息") find the mismatch alike.
class MismatchTest : public SelectionTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MismatchTest, AnEntryWhoseRowHoldsAnotherPhotoClosesThePanelAndShowsTheOrderList) {
    const bool doubleClick = GetParam();
    openOrder({"IMG1.jpg", "IMG2.jpg"});
    list().setItemCaption(1, "OTHER");  // the list no longer matches the table
    s.expectMessage(
         "数据库中记录的文件与导入的照片不同\r\n\r\n可能的原因：（原照片被重命名或删除）\r\n\r\n"
         "请到数据管理中删除此单信息后，重新导入选片数据！")
        .title(doubleClick ? "信息：" : "提示信息")
        .icon(MessageIcon::Warning);
    list().pickItem(1);
    if (doubleClick)
        list().doubleClick(1);
    else
        rightClick(1);
    EXPECT_EQ(list().itemCount(), 0);
    EXPECT_FALSE(w().外形框_超级列表框1.isVisible());
    EXPECT_TRUE(w().外形框_数据管理.isVisible());
    EXPECT_EQ(app->store.tableCount(), 0);
    EXPECT_TRUE(s.modals().empty()) << "no viewer opens";
}

INSTANTIATE_TEST_SUITE_P(DoubleAndRightClick, MismatchTest, ::testing::Bool());

TEST_F(PhotoListPanelTest, DeleteRemovesTheChosenPhotosFileRowAndEntry) {
    const std::string f = openOrder({"IMG1.jpg", "IMG2.jpg", "IMG3.jpg"});
    list().setSelected(-1);
    panel().删除按钮.click();  // nothing chosen: nothing happens

    list().pickItem(1);
    expectDeleteQuestion(ui::MessageResult::No);
    panel().删除按钮.click();
    EXPECT_EQ(list().itemCount(), 3);

    expectDeleteQuestion(ui::MessageResult::Yes);
    panel().删除按钮.click();
    EXPECT_FALSE(fileExists(f + "/IMG2.jpg"));
    EXPECT_EQ(captions(), (Strings{"IMG1", "IMG3"}));
    ASSERT_EQ(storedPhotos(f).size(), 2u);
    EXPECT_EQ(row(1).recordNo, 3);
    EXPECT_EQ(w().状态标签.caption(), "当前照片总数：2 张" + std::string(29, ' ') + "加载时间：0秒");
}

TEST_F(PhotoListPanelTest, DeleteAllAfterViewingTheUnselectedRemovesTheTurnedDownPhotosOnly) {
    const std::string f = openOrder({"A.jpg", "B.jpg", "C.jpg", "D.jpg"});
    app->store.closeAllTables();
    choose(f, 2, "入册。");
    reopen();
    // A row whose file lies outside the selection folder: the row goes, the file stays.
    const std::string outside = temp / "elsewhere.jpg";
    addPhoto(temp.path(), "elsewhere.jpg", testing::kRed);
    {
        RecordStore other;
        ASSERT_TRUE(other.openTable(photoTablePath(f), kTablePassword));
        other.goToRecord(4);
        ASSERT_TRUE(writeText(other, photo_fields::kFilePath, outside));
    }

    panel().查看未选按钮.click();
    ASSERT_EQ(captions(), (Strings{"A", "C", "D"}));
    expectDeleteQuestion(ui::MessageResult::Yes, "列表中的 3 张照片将全部删除。\r\n照片删除后不可恢复，确认要删除吗？");
    expectInfo("以下照片文件不在本单的选片目录中，文件没有删除，仅从选片数据中移除：\r\n" + outside);
    panel().全部删除按钮.click();

    EXPECT_EQ(list().itemCount(), 0);
    EXPECT_FALSE(fileExists(f + "/A.jpg"));
    EXPECT_FALSE(fileExists(f + "/C.jpg"));
    EXPECT_TRUE(fileExists(f + "/B.jpg"));
    EXPECT_TRUE(fileExists(f + "/D.jpg")) << "the row named a file outside: that one is not touched";
    EXPECT_TRUE(fileExists(outside));
    ASSERT_EQ(storedPhotos(f).size(), 1u);
    EXPECT_EQ(row(0).fileName, "B");

    panel().全部删除按钮.click();  // an empty list: nothing happens
}

TEST_F(PhotoListPanelTest, APathThatClimbsOutOrALinkLeadingOutIsNeverDeleted) {
    const std::string f = openOrder({"A.jpg"});
    addPhoto(temp.path(), "victim.jpg", testing::kRed);
    std::filesystem::create_symlink(temp / "victim.jpg", f + "/link.jpg");
    struct Case {
        std::string path;
        bool inside;
    };
    for (const Case& c : std::vector<Case>{{f + "/A.jpg", true},
                                           {f + "/../victim.jpg", false},
                                           {f + "/link.jpg", false},
                                           {temp / "victim.jpg", false},
                                           {f, false},
                                           {"", false}}) {
        EXPECT_EQ(liesInside(c.path, f), c.inside) << c.path;
    }
}

TEST_F(PhotoListPanelTest, CloseKeepsThePhotoTableAndSaveOpensTheOrderFormWhenThereIsOne) {
    openOrder({"IMG1.jpg"});
    app->openers.orderForm = nullptr;  // a program without the order form
    expectInfo("“保存选片数据”功能尚未开放，敬请期待。");
    panel().按钮_保存选片数据.click();

    int opened = 0;
    app->openers.orderForm = [&](MainWindow&) { ++opened; };
    panel().按钮_保存选片数据.click();
    EXPECT_EQ(opened, 1);

    w().按钮_数据管理.disable();
    panel().关闭按钮1.click();
    EXPECT_TRUE(w().按钮_数据管理.isEnabled());
    EXPECT_EQ(list().itemCount(), 0);
    EXPECT_FALSE(w().外形框_超级列表框1.isVisible());
    EXPECT_EQ(app->store.tableName(), "xpdata");
}

}  // namespace
}  // namespace xp::test
