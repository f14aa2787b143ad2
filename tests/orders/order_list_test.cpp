// The order list as the selector uses it: "数据管理" fills it, the filters and lookups narrow it, a row
// chooses the order, a double click opens it, "删除此单" deletes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>

#include "platform/file_system.h"
#include "selection/photo_list_panel.h"
#include "tests/orders/orders_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;

class OrderListTest : public OrdersTest {};

TEST_F(OrderListTest, DataManagementListsEveryOrderWithItsNineColumnsAndNeverDuplicatesThem) {
    w().按钮_数据管理.click();
    EXPECT_EQ(list().itemCount(), 0) << "no orders yet: an empty list and no message";
    w().按钮_数据管理.enable();

    addOrder({{"订单编号", "A1"},
              {"顾客姓名", "张伟"},
              {"联系电话", "138"},
              {"选片日期", "2015-10-5"},
              {"看样日期", "2015-10-"},
              {"取件日期", "2015-11-1"},
              {"选片人", "小王"},
              {"选片状态", "未选"},
              {"是否加急", "加急"},
              {"选片目录", "/x"}});
    order("B2", "王芳", "OK");

    w().按钮_数据管理.click();
    w().按钮_数据管理.enable();
    w().按钮_数据管理.click();
    ASSERT_EQ(list().columns().size(), 9u);
    const std::vector<std::string> columns = {"订单编号", "顾客姓名", "联系电话", "选片日期", "看样日期",
                                              "取件日期", "选片人",   "选片状态", "是否加急"};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(list().columns()[i].caption, columns[i]);
        EXPECT_EQ(list().columns()[i].width, 120);
    }
    EXPECT_EQ(list().mode(), ui::ListViewMode::Report);
    EXPECT_TRUE(list().fullRowSelect());
    EXPECT_EQ(listed(), (std::vector<std::string>{"A1", "B2"}));
    const std::vector<std::string> row = {"A1",        "张伟", "138",  "2015-10-5", "2015-10-",
                                          "2015-11-1", "小王", "未选", "加急"};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(list().cell(0, c), row[static_cast<size_t>(c)]) << c;
    EXPECT_TRUE(w().外形框_数据管理.isVisible());
    EXPECT_FALSE(w().按钮_数据管理.isEnabled());
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(OrderListTest, FiltersCompareTheStateExactlyAndRefreshRepeatsTheCheckedOne) {
    order("1", "a", "OK");
    order("2", "b", "未选");
    order("3", "c", "");
    order("4", "d", "OK ");
    order("5", "e", "OK");
    w().按钮_数据管理.click();

    orders().单选框_以选.click();
    EXPECT_EQ(listed(), (std::vector<std::string>{"1", "5"}));
    orders().单选框_未选.click();
    EXPECT_EQ(listed(), (std::vector<std::string>{"2"}));
    orders().单选框_全部.click();
    EXPECT_EQ(listed(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));

    orders().单选框_以选.click();
    order("6", "f", "OK");
    orders().按钮_顾客查询1.click();
    EXPECT_EQ(listed(), (std::vector<std::string>{"1", "5", "6"}));
    EXPECT_TRUE(orders().单选框_以选.isChecked());
}

TEST_F(OrderListTest, LookupsShowOnlyTheFirstExactMatch) {
    order("1001", "张伟", "未选");
    order("1002", "王芳", "未选");
    order("1003", "张伟", "OK");
    w().按钮_数据管理.click();
    orders().单选框_未选.click();

    struct Case {
        ui::EditBox& box;
        ui::Button& button;
        std::string typed;
        std::vector<std::string> found;
    };
    for (const Case& c : {Case{orders().编辑框_顾客查询, orders().按钮_顾客查询, "张伟", {"1001"}},
                          Case{orders().编辑框_单号查询, orders().按钮_单号查询, "1003", {"1003"}},
                          Case{orders().编辑框_单号查询, orders().按钮_单号查询, "1003 ", {}},
                          Case{orders().编辑框_顾客查询, orders().按钮_顾客查询, "张", {}}}) {
        SCOPED_TRACE(c.typed);
        c.box.setText(c.typed);
        c.button.click();
        EXPECT_EQ(listed(), c.found);
    }
    EXPECT_TRUE(orders().单选框_未选.isChecked()) << "lookups leave the filters alone";

    orders().编辑框_单号查询.setText("1001");
    orders().按钮_单号查询.click();
    orders().编辑框_单号查询.clear();
    expectInfo("请正确输入订单编号");
    orders().按钮_单号查询.click();
    orders().编辑框_顾客查询.clear();
    expectInfo("请正确输入顾客姓名");
    orders().按钮_顾客查询.click();
    EXPECT_EQ(listed(), (std::vector<std::string>{"1001"})) << "an empty lookup leaves the list as it was";
}

TEST_F(OrderListTest, WithoutTheOrderTableEveryFillSaysSo) {
    order("1", "a", "OK");
    w();
    ASSERT_TRUE(removeFile(resolvePath(app->paths.orderTable + ".EDB")));
    expectInfo("数据库连接失败");
    w().按钮_数据管理.click();
    EXPECT_EQ(list().itemCount(), 0);
    expectInfo("数据库连接失败");
    orders().单选框_以选.click();
    orders().编辑框_单号查询.setText("1");
    expectInfo("订单编号查询失败！可能是数据库没有连接！请重试");
    orders().按钮_单号查询.click();
    orders().编辑框_顾客查询.setText("a");
    expectInfo("顾客姓名查询失败！可能是数据库没有连接！请重试");
    orders().按钮_顾客查询.click();
    // A double click reaches no table either; a row is there only because the list was filled before.
    list().addItem("1");
    expectInfo("订单记录获取失败！请查检网络是否畅通后重试！");
    list().doubleClick(0);
    EXPECT_TRUE(w().外形框_数据管理.isVisible());
}

TEST_F(OrderListTest, ChoosingARowMakesItTheCurrentOrderAndADoubleClickOpensItsPhotos) {
    const std::string folderA = photoFolder("A", {"a1.jpg", "a2.jpg"});
    const std::string folderB = photoFolder("B", {"b1.jpg"});
    order("A", "张伟", "未选", folderA);
    order("B", "王芳", "未选", folderB);
    w().按钮_数据管理.click();
    PhotoListPanel& photos = *PhotoListPanel::of(w());
    photos.组合框1.addItem("入册");
    photos.组合框1.show();

    list().pickItem(1);
    EXPECT_EQ(app->orderRecordNumber, 2);
    EXPECT_EQ(app->store.tableCount(), 0);
    list().pickItem(0);
    EXPECT_EQ(app->orderRecordNumber, 1);

    list().doubleClick(1);
    EXPECT_EQ(app->orderRecordNumber, 2);
    EXPECT_EQ(app->orderNumber, "B");
    EXPECT_EQ(app->selectionFolder(), folderB);
    EXPECT_EQ(app->paths.photoTable, folderB + "/data/xpdata");
    EXPECT_EQ(w().超级列表框1.itemCount(), 1);
    EXPECT_EQ(w().超级列表框1.caption(0), "b1");
    EXPECT_TRUE(w().外形框_超级列表框1.isVisible());
    EXPECT_FALSE(w().外形框_数据管理.isVisible());
    EXPECT_FALSE(w().外形框_加载.isVisible());
    EXPECT_TRUE(w().按钮_数据管理.isEnabled());
    EXPECT_EQ(photos.组合框1.itemCount(), 0);
    EXPECT_FALSE(photos.组合框1.isVisible());
    EXPECT_EQ(app->store.tableName(), "xpdata");

    // Back in the list, the other order opens into the photo list in its place.
    w().按钮_数据管理.click();
    list().doubleClick(0);
    EXPECT_EQ(app->selectionFolder(), folderA);
    EXPECT_EQ(w().超级列表框1.itemCount(), 2);

    w().按钮_数据管理.click();
    orders().按钮_退出.click();
    EXPECT_FALSE(w().外形框_数据管理.isVisible());
    EXPECT_TRUE(w().按钮_数据管理.isEnabled());
}

TEST_F(OrderListTest, EnterLooksUpFromItsBoxAndOpensTheChosenRow) {
    const std::string folder = photoFolder("B", {"b1.jpg", "b2.jpg"});
    order("A", "张伟", "未选");
    order("B", "王芳", "未选", folder);
    w().按钮_数据管理.click();

    orders().编辑框_单号查询.focus();
    orders().编辑框_单号查询.typeText("B");
    EXPECT_TRUE(w().keyDown(ui::key::Return));
    EXPECT_EQ(listed(), (std::vector<std::string>{"B"}));
    orders().编辑框_顾客查询.focus();
    orders().编辑框_顾客查询.typeText("张伟");
    EXPECT_TRUE(w().keyDown(ui::key::Return));
    EXPECT_EQ(listed(), (std::vector<std::string>{"A"}));

    orders().单选框_全部.click();
    list().focus();
    list().pickItem(1);
    EXPECT_TRUE(w().keyDown(ui::key::Return));
    EXPECT_EQ(app->orderNumber, "B");
    EXPECT_EQ(w().超级列表框1.itemCount(), 2);
    EXPECT_TRUE(w().外形框_超级列表框1.isVisible());
}

TEST_F(OrderListTest, EveryLoadStartsCleanAndTakesNoClicksWhileItRuns) {
    const std::string three = photoFolder("three", {"a.jpg", "b.jpg", "c.jpg"});
    const std::string two = photoFolder("two", {"d.jpg", "e.jpg"});
    order("A", "张伟", "未选", three);
    order("B", "王芳", "未选", two);
    order("C", "刘洋", "未选", temp / "moved-away");
    w().按钮_数据管理.click();
    list().doubleClick(0);
    ASSERT_EQ(w().标签4.caption(), "正在加载图片请稍候(3)");
    w().超级列表框1.pickItem(2);

    // The next order: in the middle of its load the user clicks around.
    std::string labelAtFirstPhoto;
    std::vector<std::string> reached;
    s.after(0, [&] {
        labelAtFirstPhoto = w().标签4.caption();
        for (ui::Clickable* b : std::initializer_list<ui::Clickable*>{
                 &w().按钮_数据管理, &w().按钮_顾客资料, &w().按钮_系统设置, &w().关闭按钮, &orders().按钮_删除此单})
            if (b->click()) reached.push_back(b->name());
    });
    w().按钮_数据管理.click();
    list().doubleClick(1);
    EXPECT_EQ(labelAtFirstPhoto, "正在加载图片请稍候(0)") << "not the last order's count";
    EXPECT_TRUE(reached.empty()) << reached.front();
    EXPECT_TRUE(w().isOpen());
    EXPECT_EQ(app->store.tableName(), "xpdata");
    EXPECT_EQ(w().超级列表框1.itemCount(), 2);
    EXPECT_EQ(w().超级列表框1.selected(), 0) << "the grid starts at its first photo";
    EXPECT_TRUE(w().超级列表框1.hasFocus());
    EXPECT_TRUE(w().按钮_系统设置.isEnabled());
    EXPECT_TRUE(w().按钮_数据管理.isEnabled());

    // Behind the missing-folder message no count of another order shows.
    w().按钮_数据管理.click();
    s.expectMessage().title("提示信息选片目录不存在").whileShown([&] {
        EXPECT_TRUE(w().外形框_加载.isVisible());
        EXPECT_EQ(w().标签4.caption(), "正在加载图片请稍候(0)");
    });
    list().doubleClick(2);
    EXPECT_TRUE(orders().按钮_删除此单.isAvailable());
}

TEST_F(OrderListTest, AnOrderThatCannotBeOpenedLeavesTheListInUse) {
    order("A", "张伟", "未选", temp / "moved-away");
    order("B", "王芳", "未选");
    w().按钮_数据管理.click();
    s.expectMessage().title("提示信息选片目录不存在");
    list().doubleClick(0);
    EXPECT_EQ(app->orderNumber, "A");
    EXPECT_TRUE(w().外形框_数据管理.isVisible());
    EXPECT_FALSE(w().外形框_超级列表框1.isVisible());
    EXPECT_FALSE(w().外形框_加载.isVisible());
    EXPECT_FALSE(w().按钮_数据管理.isEnabled());

    // A row whose order was deleted elsewhere since the list was filled opens nothing.
    setRows(app->paths.orderTable, {});
    expectInfo("没有找到该订单记录！可能已被删除，请刷新列表后重试");
    list().doubleClick(1);
    EXPECT_EQ(app->orderNumber, "A");
    EXPECT_TRUE(w().外形框_数据管理.isVisible());
}

TEST_F(OrderListTest, DeletingAsksThenRemovesTheRowAndSetsTheOrderDataAside) {
    const std::string folder = photoFolder("A", {"a1.jpg", "a2.jpg"});
    order("A", "张伟", "未选", folder);
    order("B", "王芳", "未选");
    order("C", "刘洋", "OK");
    w().按钮_数据管理.click();
    list().doubleClick(0);
    choose(folder, 1, "入册。");
    ASSERT_TRUE(writeSaveMarker(folder));
    w().按钮_数据管理.click();
    orders().单选框_未选.click();
    ASSERT_EQ(app->orderNumber, "A");

    expectInfo("请先选择要删除的订单！");
    list().pickItem(-1);
    orders().按钮_删除此单.click();

    list().pickItem(0);
    s.expectMessage(
         "确定要删除订单“A”（顾客：张伟）吗？\r\n\r\n照片不会被删除，该订单的选片数据将移到选片目录的备份文件夹中。")
        .title("提示信息")
        .icon(MessageIcon::Question)
        .buttons(ui::MessageButtons::YesNo)
        .defaultButton(ui::MessageResult::No)  // a hasty Enter keeps the order
        .answer(ui::MessageResult::No);
    orders().按钮_删除此单.click();
    EXPECT_EQ(orderColumn("订单编号"), (std::vector<std::string>{"A", "B", "C"}));

    s.expectMessage().answer(ui::MessageResult::Yes);
    orders().按钮_删除此单.click();
    EXPECT_EQ(orderColumn("订单编号"), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"B"})) << "refilled under the checked filter";
    EXPECT_EQ(app->orderRecordNumber, 0) << "the deleted order is no longer the current one";
    EXPECT_EQ(app->orderNumber, "");

    // The photos stay; the photo table, shot count and save marker wait in a dated backup folder.
    EXPECT_TRUE(fileExists(folder + "/a1.jpg"));
    EXPECT_TRUE(fileExists(folder + "/a2.jpg"));
    EXPECT_FALSE(fileExists(photoTableFile(folder)));
    EXPECT_FALSE(fileExists(saveMarkerFile(folder)));
    std::vector<std::string> backups = listFolders(folder + "/data");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].rfind("删除备份_", 0), 0u) << backups[0];
    const std::string backup = folder + "/data/" + backups[0];
    for (const char* moved : {"xpdata.edb", "xpdata.EDT", "pszs", "save"})
        EXPECT_TRUE(fileExists(backup + "/" + moved)) << moved;

    // A new import of the folder starts afresh.
    order("A", "张伟", "未选", folder);
    orders().单选框_全部.click();
    list().doubleClick(2);
    const std::vector<StoredPhoto> rows = storedPhotos(folder);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].products, "");
}

TEST_F(OrderListTest, AFolderThatAnotherOrderStillNamesKeepsItsPhotoTable) {
    const std::string folder = photoFolder("shared", {"p.jpg"});
    order("A", "张伟", "未选", folder);
    order("A-copy", "张伟", "未选", folder);
    w().按钮_数据管理.click();
    list().doubleClick(0);
    w().按钮_数据管理.click();
    list().pickItem(0);
    s.expectMessage().answer(ui::MessageResult::Yes);
    orders().按钮_删除此单.click();
    EXPECT_EQ(listed(), (std::vector<std::string>{"A-copy"}));
    EXPECT_TRUE(fileExists(photoTableFile(folder)));
    EXPECT_EQ(app->orderRecordNumber, 0) << "the deleted order is no longer the current one";
}

}  // namespace
}  // namespace xp::test
