// The order edit dialog as the selector uses it: the current order shown, its details changed and
// stored, a product taken out of the package and off the order's photos.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "appdata/text_helpers.h"
#include "orders/order_edit_dialog.h"
#include "platform/file_system.h"
#include "tests/orders/orders_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;

class OrderEditDialogTest : public OrdersTest {
protected:
    void withDialog(std::function<void(OrderEditDialog&)> script) {
        bool ran = false;
        s.whenModal<OrderEditDialog>([&](OrderEditDialog& d) {
            ran = true;
            script(d);
        });
        w().按钮_顾客资料.click();
        EXPECT_TRUE(ran) << "the dialog did not open";
    }
    // Chooses the order in row `row` of the order list.
    void choose(int row) {
        w().按钮_数据管理.click();
        list().pickItem(row);
    }
    std::map<std::string, std::string> full(const std::string& number, const std::string& folder = {}) {
        return {{"订单编号", number},      {"顾客姓名", "王芳"},       {"联系电话", "139"},
                {"选片日期", "2015-10-5"}, {"看样日期", "2015-10-20"}, {"取件日期", "2015-11-1"},
                {"选片人", "小李"},        {"选片状态", "未选"},       {"是否加急", "加急"},
                {"选片目录", folder},      {"应选张数", "12"},         {"套系产品", "A。B。"},
                {"加选张数", "3"},         {"加选金额", "50"},         {"制作要求", "封面用第2张"}};
    }
    std::string field(const std::string& name, int row) { return orderColumn(name).at(static_cast<size_t>(row)); }
};

TEST_F(OrderEditDialogTest, ShowsTheChosenOrderWhileTheOrderTableStaysOpen) {
    addOrder(full("X1"));
    addOrder(full("X2"));
    addOrder({{"订单编号", "X3"}, {"是否加急", "是"}, {"选片人", "离职的人"}, {"套系产品", "C。"}});

    choose(1);
    withDialog([&](OrderEditDialog& d) {
        EXPECT_EQ(d.caption(), "客户资料查看修改");
        EXPECT_EQ(d.width(), 617);
        EXPECT_EQ(d.height(), 422);
        EXPECT_EQ(d.编辑框1.text(), "X2");
        EXPECT_EQ(d.编辑框2.text(), "王芳");
        EXPECT_EQ(d.编辑框3.text(), "139");
        EXPECT_EQ(d.编辑框4.text(), "2015-10-20");
        EXPECT_EQ(d.编辑框5.text(), "2015-11-1");
        EXPECT_EQ(d.编辑框8.text(), "2015-10-5");
        EXPECT_EQ(d.编辑框_应选张数.text(), "12");
        EXPECT_EQ(d.组合框_是否加急.selectedText(), "加急");
        EXPECT_EQ(d.组合框1.selectedText(), "小李");
        EXPECT_EQ(d.组合框1.items(), (std::vector<std::string>{"小王", "Admin", "小李"}));
        EXPECT_EQ(d.列表框2.items(), (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(d.列表框1.items(), (std::vector<std::string>{"12寸相册", "10寸杂志册"}));
        EXPECT_EQ(app->store.tableName(), "xpsjk");
        EXPECT_FALSE(w().按钮_顾客资料.isEnabled());

        d.组合框2.pickItem(1);
        EXPECT_EQ(d.列表框1.items(), (std::vector<std::string>{"7寸摆台"}));
        EXPECT_EQ(app->store.tableName(), "xpsjk");
        for (ui::EditBox* date : {&d.编辑框4, &d.编辑框5}) {
            date->focus();
            EXPECT_EQ(date->text(), currentMonthPrefix());
            date->setText("2015-10-21");
            d.编辑框1.focus();
            date->focus();
            EXPECT_EQ(date->text(), currentMonthPrefix());
        }
    });
    EXPECT_FALSE(app->store.selectTable("xpsjk"));
    EXPECT_TRUE(w().按钮_顾客资料.isEnabled());

    // Stored texts that none of the boxes offers show no choice, and are kept when the order is stored.
    choose(2);
    withDialog([&](OrderEditDialog& d) {
        EXPECT_EQ(d.组合框_是否加急.selected(), -1);
        EXPECT_EQ(d.组合框1.selected(), -1);
        expectInfo("顾客资料修改成功！");
        d.确定按钮.click();
    });
    EXPECT_EQ(field("是否加急", 2), "是");
    EXPECT_EQ(field("选片人", 2), "离职的人");
}

TEST_F(OrderEditDialogTest, StoresEveryChangedDetailOnTheOrdersOwnRow) {
    addOrder(full("X1"));
    addOrder(full("X2"));
    choose(1);
    withDialog([&](OrderEditDialog& d) {
        d.编辑框1.setText("X2-new");
        d.编辑框2.setText("王芳芳");
        d.编辑框3.setText("137");
        d.编辑框4.setText("2015-10-22");
        d.编辑框5.setText("2015-11-2");
        d.组合框_是否加急.pickItem(0);
        d.编辑框7.setText("/photos/new");
        d.编辑框8.setText("2015-10-6");
        d.编辑框_应选张数.setText("15");
        d.组合框1.pickItem(0);
        d.列表框1.pickItem(0);
        d.按钮_加入.click();
        expectInfo("顾客资料修改成功！");
        d.确定按钮.click();
        EXPECT_FALSE(d.isOpen());
    });
    const std::map<std::string, std::string> expected = {
        {"订单编号", "X2-new"},      {"顾客姓名", "王芳芳"},     {"联系电话", "137"},
        {"选片日期", "2015-10-6"},   {"看样日期", "2015-10-22"}, {"取件日期", "2015-11-2"},
        {"选片人", "小王"},          {"选片状态", "未选"},       {"是否加急", "否"},
        {"选片目录", "/photos/new"}, {"应选张数", "15"},         {"套系产品", "A。B。12寸相册。"},
        {"加选张数", "3"},           {"加选金额", "50"},         {"制作要求", "封面用第2张"}};
    for (const auto& [name, text] : expected) EXPECT_EQ(field(name, 1), text) << name;
    EXPECT_EQ(field("订单编号", 0), "X1");
    EXPECT_EQ(field("顾客姓名", 0), "王芳");
}

TEST_F(OrderEditDialogTest, RefusesToStoreWhatWouldBreakAnotherOrder) {
    addOrder(full("X1"));
    addOrder(full("X2"));
    addOrder(full("X3"));
    choose(1);
    withDialog([&](OrderEditDialog& d) {
        d.编辑框1.setText("X1");
        expectInfo("顾客资料修改失败！订单编号“X1”已存在，请使用其他订单编号");
        d.确定按钮.click();
        EXPECT_TRUE(d.isOpen());

        // Another workstation deletes the first order meanwhile: X3 moves up into X2's old row.
        d.编辑框1.setText("X2");
        d.编辑框2.setText("changed");
        {
            RecordStore other;
            ASSERT_TRUE(openAppTable(other, app->paths.orderTable));
            other.firstRecord();
            ASSERT_TRUE(other.deleteRecord());
            ASSERT_TRUE(other.purgeDeleted());
        }
        expectInfo("顾客资料修改失败！该订单已被删除或移动，请重新打开数据管理后再修改");
        d.确定按钮.click();
        EXPECT_TRUE(d.isOpen());
        d.取消按钮.click();
    });
    EXPECT_EQ(orderColumn("顾客姓名"), (std::vector<std::string>{"王芳", "王芳"}));
    EXPECT_FALSE(app->store.selectTable("xpsjk"));
}

class PackageRemovalTest : public OrderEditDialogTest {
protected:
    void SetUp() override {
        folder = photoFolder("order", {"P1.jpg", "P2.jpg", "P3.jpg", "P4.jpg"});
        addOrder(full("X1", folder));
        w().按钮_数据管理.click();
        list().doubleClick(0);  // the import
        app->store.closeAllTables();
        OrderFixture::choose(folder, 1, "A。B。", "r1");
        OrderFixture::choose(folder, 2, "A。", "r2");
        OrderFixture::choose(folder, 3, "B。", "r3");
        before = storedPhotos(folder);
    }
    void removeA(OrderEditDialog& d) {
        d.列表框2.pickItem(0);
        ASSERT_EQ(d.列表框2.selectedText(), "A");
        d.按钮_移除.click();
        EXPECT_EQ(d.列表框2.items(), (std::vector<std::string>{"B"}));
        EXPECT_EQ(d.列表框2.selected(), 0);
        EXPECT_EQ(app->store.tableName(), "xpsjk");
    }
    void expectATakenOff() {
        const std::vector<StoredPhoto> rows = storedPhotos(folder);
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(rows[0].products, "B。");
        EXPECT_EQ(rows[0].retouch, "r1");
        EXPECT_EQ(rows[1].products, "") << "no product left: the photo is no longer selected";
        EXPECT_EQ(rows[1].retouch, "");
        EXPECT_EQ(rows[2], before[2]);
        EXPECT_EQ(rows[3], before[3]);
    }

    std::string folder;
    std::vector<StoredPhoto> before;
};

TEST_F(PackageRemovalTest, TakesTheProductOffTheOpenOrdersPhotosAtOnce) {
    w().按钮_数据管理.click();
    list().doubleClick(0);  // the photo list shows the order
    ASSERT_TRUE(w().外形框_超级列表框1.isVisible());
    withDialog([&](OrderEditDialog& d) {
        d.按钮_移除.click();  // nothing chosen: nothing removed
        EXPECT_EQ(d.列表框2.items(), (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(storedPhotos(folder), before);
        removeA(d);
        d.取消按钮.click();
    });
    expectATakenOff();
    EXPECT_EQ(field("套系产品", 0), "A。B。") << "the package itself changes only with 确定";
    EXPECT_EQ(app->store.tableName(), "xpdata") << "the photo table is current again";
}

TEST_F(PackageRemovalTest, OpensTheEditedOrdersPhotoTableWhenNoneIsOpen) {
    choose(0);
    withDialog([&](OrderEditDialog& d) {
        EXPECT_FALSE(app->store.selectTable("xpdata"));
        removeA(d);
        EXPECT_FALSE(app->store.selectTable("xpdata")) << "opened for the update and closed again";
        EXPECT_EQ(app->selectionFolder(), folder);
        app->store.selectTable("xpsjk");
        expectInfo("顾客资料修改成功！");
        d.确定按钮.click();
    });
    expectATakenOff();
    EXPECT_EQ(field("套系产品", 0), "B。");
}

TEST_F(PackageRemovalTest, AProductNoPhotoHasChangesNoPhoto) {
    addOrder(full("X2", folder));
    choose(0);
    withDialog([&](OrderEditDialog& d) {
        d.列表框1.pickItem(0);
        d.按钮_加入.click();
        d.列表框2.pickItem(2);
        d.按钮_移除.click();
        EXPECT_EQ(d.列表框2.items(), (std::vector<std::string>{"A", "B"}));
    });
    EXPECT_EQ(storedPhotos(folder), before);
}

TEST_F(PackageRemovalTest, FindsTheOpenPhotoTableWhateverTheLetterCaseOfItsNames) {
    // The stored folder and the table's files differ from each other in letter case, as the loader allows.
    for (const char* name : {"xpdata.edb", "xpdata.EDT"}) {
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::filesystem::rename(folder + "/data/" + name, folder + "/data/" + upper);
    }
    {
        RecordStore store;
        ASSERT_TRUE(openAppTable(store, app->paths.orderTable));
        store.firstRecord();
        ASSERT_TRUE(writeText(store, "选片目录", temp / "ORDER"));
    }
    w().按钮_数据管理.click();
    list().doubleClick(0);
    ASSERT_TRUE(w().外形框_超级列表框1.isVisible());
    withDialog([&](OrderEditDialog& d) {
        removeA(d);  // no failure message: the open table is the order's own
        d.取消按钮.click();
    });
    expectATakenOff();
    EXPECT_EQ(app->store.tableName(), "XPDATA") << "the open order's table is current again";
}

TEST_F(PackageRemovalTest, APackageProductThePhotosKeepStaysInThePackage) {
    choose(0);
    // Another workstation holds the photo table and lets nobody write it: the product stays in the
    // package, where the photos still carry it.
    RecordStore other;
    OpenOptions noWriters;
    noWriters.password = kTablePassword;
    noWriters.shareMode = 3;
    ASSERT_TRUE(other.openTable(photoTablePath(folder), noWriters));
    withDialog([&](OrderEditDialog& d) {
        d.列表框2.pickItem(0);
        expectInfo("“A”未能从该顾客的照片中移除！请检查选片目录是否可以写入后重试");
        d.按钮_移除.click();
        EXPECT_EQ(d.列表框2.items(), (std::vector<std::string>{"A", "B"}));
        d.取消按钮.click();
    });
    other.closeAllTables();
    EXPECT_EQ(storedPhotos(folder), before);
}

TEST_F(OrderEditDialogTest, EnterStoresEscCancelsAndTheBoxesHoldWhatTheirFieldsHold) {
    addOrder(full("X1"));
    choose(0);
    withDialog([&](OrderEditDialog& d) {
        d.编辑框1.focus();
        d.编辑框1.typeText(std::string(70, '9'));
        EXPECT_EQ(d.编辑框1.text(), "X1" + std::string(62, '9'));
        d.编辑框2.focus();
        d.编辑框2.setText(std::string(62, 'w'));
        d.编辑框2.typeText("芳");
        EXPECT_EQ(d.编辑框2.text(), std::string(62, 'w') + "芳");
        d.编辑框2.typeText("芳");
        EXPECT_EQ(d.编辑框2.text(), std::string(62, 'w') + "芳") << "64 bytes are full";
        expectInfo("顾客资料修改成功！");
        EXPECT_TRUE(d.keyDown(ui::key::Return));
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(field("订单编号", 0), "X1" + std::string(62, '9'));
    EXPECT_EQ(field("顾客姓名", 0), std::string(62, 'w') + "芳");

    withDialog([&](OrderEditDialog& d) {
        d.编辑框3.setText("changed");
        EXPECT_TRUE(d.keyDown(ui::key::Escape));
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(field("联系电话", 0), "139");
    EXPECT_FALSE(app->store.selectTable("xpsjk"));
}

}  // namespace
}  // namespace xp::test
