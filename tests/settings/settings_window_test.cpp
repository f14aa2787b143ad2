// The settings window walked as the studio's administrator would: store details, selectors, categories
// and products, requirement presets, warm tips and the sample folder, and the two ways it is opened.
#include <gtest/gtest.h>

#include "appdata/settings_files.h"
#include "orders/new_order_dialog.h"
#include "settings/settings_window.h"
#include "shell/login_check.h"
#include "tests/settings/settings_fixture.h"

namespace xp::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Names = std::vector<std::string>;

class SettingsWindowTest : public SettingsTest {
protected:
    // The window with every tab, the given one chosen by the user (a control works only on its own tab).
    SettingsWindow& open(int tab = SettingsWindow::StoreTab) {
        auto& win = s.show<SettingsWindow>(*app);
        if (tab != win.高级选择夹1.current()) {
            EXPECT_TRUE(win.高级选择夹1.pickTab(tab));
        }
        return win;
    }
};

TEST_F(SettingsWindowTest, OpensWithTheFiveTabsAndEveryListFilled) {
    writeStoreDetails(app->paths, {"蓝天影楼", "0571-1234", "文一路1号", "www.example.com", "蓝天选片单"});
    writeWarmTips(app->paths, "请妥善保管\r\n选片单");
    writeSampleFolderSetting(app->paths, "/srv/样照");
    auto& win = open();

    EXPECT_EQ(win.caption(), "系统设置");
    EXPECT_EQ(win.width(), 406);
    EXPECT_EQ(win.height(), 363);
    ASSERT_EQ(win.高级选择夹1.tabCount(), 5);
    const Names tabs = {"本店信息设置", "选片人员设置", "产品内容设置", "制作要求设置", "其它设置"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(win.高级选择夹1.page(i).caption(), tabs[static_cast<size_t>(i)]);
        EXPECT_TRUE(win.高级选择夹1.isTabEnabled(i));
    }
    EXPECT_EQ(win.高级选择夹1.current(), 0);

    // "admin" is never listed; "Admin" is another account.
    EXPECT_EQ(win.列表框_选片人员.items(), (Names{"小王", "Admin", "小李"}));
    EXPECT_EQ(win.组合框_类别.items(), (Names{"相册类", "摆台类"}));
    EXPECT_EQ(win.组合框_类别.selected(), 0);
    EXPECT_EQ(win.列表框_产品.items(), (Names{"12寸相册", "10寸杂志册"}));
    EXPECT_EQ(win.编辑框_店名.text(), "蓝天影楼");
    EXPECT_EQ(win.编辑框_电话.text(), "0571-1234");
    EXPECT_EQ(win.编辑框_地址.text(), "文一路1号");
    EXPECT_EQ(win.编辑框_网站.text(), "www.example.com");
    EXPECT_EQ(win.编辑框_选片报表名.text(), "蓝天选片单");
    EXPECT_EQ(win.编辑框_温馨提示.text(), "请妥善保管\r\n选片单");
    EXPECT_EQ(win.编辑框_样照路径.text(), "/srv/样照");
    EXPECT_EQ(app->store.tableCount(), 0) << "nothing stays open while the window waits";

    // The presets are read when their tab is chosen, and the list is emptied when another one is.
    writeRequirementPresets(app->paths, {"加急", "相册封面烫金"});
    EXPECT_TRUE(win.高级选择夹1.pickTab(3));
    EXPECT_EQ(win.列表框1.items(), (Names{"加急", "相册封面烫金"}));
    EXPECT_TRUE(win.高级选择夹1.pickTab(4));
    EXPECT_EQ(win.列表框1.itemCount(), 0);
}

TEST_F(SettingsWindowTest, StoreDetailsNeedNameAddressAndPhoneInThatOrder) {
    struct Case {
        const char *name, *phone, *address, *message;
    };
    const Case cases[] = {
        {"", "", "", "店名必须填写"},
        {"", "0571-1", "地址", "店名必须填写"},
        {"蓝天", "", "", "地址必须填写"},
        {"蓝天", "0571-1", "", "地址必须填写"},
        {"蓝天", "", "地址", "服务电话必须填写"},
    };
    auto& win = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        win.编辑框_店名.setText(c.name);
        win.编辑框_电话.setText(c.phone);
        win.编辑框_地址.setText(c.address);
        expectInfo(c.message);
        win.按钮_保存.click();
        EXPECT_FALSE(bytesOf(app->paths.storeSettings)) << "nothing is written";
    }

    // Web site and report title may stay empty.
    win.编辑框_店名.setText("蓝天影楼");
    win.编辑框_电话.setText("0571-1234");
    win.编辑框_地址.setText("文一路1号");
    expectInfo("保存成功");
    win.按钮_保存.click();
    EXPECT_EQ(readStoreDetails(app->paths), (StoreDetails{"蓝天影楼", "0571-1234", "文一路1号", "", ""}));
    EXPECT_NE(bytesOf(app->paths.storeSettings)->find(toGbk("DM=蓝天影楼")), std::string::npos) << "stored in GBK";
}

TEST_F(SettingsWindowTest, AddsSelectorsRefusingEmptyFieldsAndNamesThatExistIncludingAdmin) {
    auto& win = open(SettingsWindow::SelectorsTab);
    struct Case {
        const char *name, *password, *message;
    };
    const Case refused[] = {
        {"", "", "用户名和密码都不能为空！"},  {"小张", "", "用户名和密码都不能为空！"},
        {"", "9", "用户名和密码都不能为空！"}, {"admin", "x", "已有此用户"},
        {"小王", "x", "已有此用户"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        win.编辑框_用户名.setText(c.name);
        win.编辑框_密码.setText(c.password);
        expectInfo(c.message);
        win.按钮_新增选片人员.click();
        EXPECT_EQ(users().size(), 4u);
        EXPECT_EQ(app->store.tableCount(), 0);
    }

    win.编辑框_用户名.setText("小张");
    win.编辑框_密码.setText("zz");
    win.按钮_新增选片人员.click();
    EXPECT_EQ(win.列表框_选片人员.items(), (Names{"小王", "Admin", "小李", "小张"}));
    EXPECT_EQ(users().back(), (Names{"小张", "zz"}));
    EXPECT_EQ(win.编辑框_用户名.text(), "");
    EXPECT_EQ(win.编辑框_密码.text(), "");
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, DeletesTheChosenSelectorWithoutAQuestionAndNothingWithoutAChoice) {
    auto& win = open(SettingsWindow::SelectorsTab);
    win.按钮_删除选片人员.click();
    EXPECT_EQ(users().size(), 4u);

    win.列表框_选片人员.pickItem(1);  // Admin
    win.按钮_删除选片人员.click();
    EXPECT_EQ(win.列表框_选片人员.items(), (Names{"小王", "小李"}));
    EXPECT_EQ(users(), (Rows{{"admin", "tovex"}, {"小王", "1"}, {"小李", "3"}}));
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, AMissingUserTableIsReportedForAddingAndDeleting) {
    auto& win = open(SettingsWindow::SelectorsTab);
    win.列表框_选片人员.pickItem(0);
    std::filesystem::remove(app->paths.userTable + ".EDB");
    win.编辑框_用户名.setText("小张");
    win.编辑框_密码.setText("zz");
    expectInfo("用户数据库连接失败！");
    win.按钮_新增选片人员.click();
    expectInfo("用户数据库连接失败！");
    win.按钮_删除选片人员.click();
    EXPECT_EQ(win.列表框_选片人员.itemCount(), 3);
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, ACancelledOrEmptyCategoryAddsNothingAndSaysNothing) {
    auto& win = open(SettingsWindow::ProductsTab);
    s.expectInput("请输入产品类别名称，例如：水晶相册").cancel();
    win.按钮_新增类别.click();
    s.expectInput("请输入产品类别名称，例如：水晶相册").answer("   ");
    win.按钮_新增类别.click();
    EXPECT_EQ(s.lastDialog().title, "请输入：") << "the box has no caption of its own";
    EXPECT_EQ(win.组合框_类别.items(), (Names{"相册类", "摆台类"}));
    EXPECT_EQ(categories(), (Rows{{"相册类"}, {"摆台类"}}));
    EXPECT_EQ(s.messages(), Names{});
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, ADeletedCategorysProductsComeBackUnderANewCategoryOfThatName) {
    auto& win = open(SettingsWindow::ProductsTab);
    win.按钮_删类别.click();  // 相册类 is selected
    EXPECT_EQ(win.组合框_类别.items(), (Names{"摆台类"}));
    EXPECT_EQ(categories(), (Rows{{"摆台类"}}));
    EXPECT_EQ(products().size(), 3u) << "the products stay";
    EXPECT_EQ(win.列表框_产品.items(), (Names{"12寸相册", "10寸杂志册"})) << "and stay listed";
    win.按钮_删类别.click();  // nothing is selected now
    EXPECT_EQ(categories(), (Rows{{"摆台类"}}));

    s.expectInput("请输入产品类别名称，例如：水晶相册").answer("相册类");
    expectInfo("新类别：相册类添加成功！");
    win.按钮_新增类别.click();
    EXPECT_EQ(categories(), (Rows{{"摆台类"}, {"相册类"}}));
    EXPECT_EQ(win.组合框_类别.items(), (Names{"摆台类", "相册类"}));
    win.组合框_类别.pickItem(0);
    EXPECT_EQ(win.列表框_产品.items(), (Names{"7寸摆台"}));
    win.组合框_类别.pickItem(1);
    EXPECT_EQ(win.列表框_产品.items(), (Names{"12寸相册", "10寸杂志册"}));

    // Categories may repeat.
    s.expectInput().answer("相册类");
    expectInfo("新类别：相册类添加成功！");
    win.按钮_新增类别.click();
    EXPECT_EQ(categories().size(), 3u);
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, ANewCategoryIsTakenWhenNoneWasChosen) {
    setRows(app->paths.categoryTable, {});
    auto& win = open(SettingsWindow::ProductsTab);
    EXPECT_EQ(win.列表框_产品.itemCount(), 0);
    s.expectInput().answer("相册类");
    expectInfo("新类别：相册类添加成功！");
    win.按钮_新增类别.click();
    EXPECT_EQ(win.组合框_类别.selectedText(), "相册类");
    EXPECT_EQ(win.列表框_产品.items(), (Names{"12寸相册", "10寸杂志册"}));
}

TEST_F(SettingsWindowTest, ACategoryNameWithTheListSeparatorIsRefused) {
    auto& win = open(SettingsWindow::ProductsTab);
    s.expectInput().answer("相册。摆台");
    s.expectMessage().title("提示信息");
    win.按钮_新增类别.click();
    EXPECT_NE(lastMessage().find("“。”"), std::string::npos) << lastMessage();
    EXPECT_EQ(categories().size(), 2u);
    EXPECT_EQ(win.组合框_类别.itemCount(), 2);
}

TEST_F(SettingsWindowTest, AProductNameExistsOnceAcrossAllCategories) {
    auto& win = open(SettingsWindow::ProductsTab);
    win.组合框_类别.pickItem(1);  // 摆台类
    win.编辑框_新增产品.setText("12寸相册");
    expectInfo("此产品以存在于列表中");
    win.按钮_新增产品.click();
    EXPECT_EQ(win.列表框_产品.items(), (Names{"7寸摆台"}));
    EXPECT_EQ(win.编辑框_新增产品.text(), "12寸相册") << "kept for correcting";

    win.编辑框_新增产品.setText(" 5寸摆台 ");
    win.按钮_新增产品.click();
    EXPECT_EQ(win.列表框_产品.items(), (Names{"7寸摆台", "5寸摆台"}));
    EXPECT_EQ(products().back(), (Names{"5寸摆台", "摆台类"})) << "stored without the blanks around it";
    EXPECT_EQ(win.编辑框_新增产品.text(), "");
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, ProductNamesThatCannotNameAFolderOrBreakAListAreRefused) {
    struct Case {
        const char* name;
        const char* says;  // a part of the message
    };
    const Case cases[] = {
        {"", "不能接受空数据"},   {"   ", "不能接受空数据"}, {"\u3000", "不能接受空数据"}, {".", "“.”或“..”"},
        {"..", "“.”或“..”"},      {"相册/大", "“/”或“\\”"},  {"相册\\大", "“/”或“\\”"},    {"相册。大", "“。”"},
        {"相册\t大", "控制字符"}, {"相册\x7f", "控制字符"},  {"相册\u0085", "控制字符"},
    };
    auto& win = open(SettingsWindow::ProductsTab);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        win.编辑框_新增产品.setText(c.name);
        s.expectMessage().title("提示信息").icon(ui::MessageIcon::Information);
        win.按钮_新增产品.click();
        EXPECT_NE(lastMessage().find(c.says), std::string::npos) << lastMessage();
        EXPECT_EQ(products().size(), 3u);
        EXPECT_EQ(win.列表框_产品.itemCount(), 2);
    }
    // Dots inside a name are fine.
    win.编辑框_新增产品.setText("...相册");
    win.按钮_新增产品.click();
    EXPECT_EQ(products().back(), (Names{"...相册", "相册类"}));
}

TEST_F(SettingsWindowTest, AProductNeedsAChosenCategory) {
    setRows(app->paths.categoryTable, {});
    auto& win = open(SettingsWindow::ProductsTab);
    win.编辑框_新增产品.setText("12寸水晶");
    expectInfo("不能接受空数据");
    win.按钮_新增产品.click();
    EXPECT_EQ(products().size(), 3u);
}

TEST_F(SettingsWindowTest, DeletesTheChosenProductAndNothingWithoutAChoice) {
    auto& win = open(SettingsWindow::ProductsTab);
    win.按钮_删除产品.click();
    EXPECT_EQ(products().size(), 3u);
    win.列表框_产品.pickItem(1);
    win.按钮_删除产品.click();
    EXPECT_EQ(win.列表框_产品.items(), (Names{"12寸相册"}));
    EXPECT_EQ(products(), (Rows{{"12寸相册", "相册类"}, {"7寸摆台", "摆台类"}}));
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, MissingCategoryOrProductTablesDoNothingWithoutAMessage) {
    auto& win = open(SettingsWindow::ProductsTab);
    std::filesystem::remove(app->paths.categoryTable + ".EDB");
    std::filesystem::remove(app->paths.productTable + ".EDB");
    win.按钮_新增类别.click();
    win.按钮_删类别.click();
    win.编辑框_新增产品.setText("5寸摆台");
    win.按钮_新增产品.click();
    win.列表框_产品.pickItem(0);
    win.按钮_删除产品.click();
    win.组合框_类别.pickItem(1);
    EXPECT_EQ(s.dialogs().size(), 0u);
    EXPECT_EQ(win.组合框_类别.itemCount(), 2);
    EXPECT_EQ(app->store.tableCount(), 0);
}

TEST_F(SettingsWindowTest, APresetIsAddedAfterThoseAnotherWindowAddedAndTheFileEndsWithCrLf) {
    writeRequirementPresets(app->paths, {"加急"});
    auto& win = open(SettingsWindow::RequirementsTab);
    EXPECT_EQ(win.列表框1.items(), (Names{"加急"}));

    // Another window adds one meanwhile.
    writeRequirementPresets(app->paths, {"加急", "封面烫金"});
    s.expectInput("请输入新的修片要求").title("修片要求").answer("皮肤美白");
    win.按钮_新增.click();
    EXPECT_EQ(win.列表框1.items(), (Names{"加急", "封面烫金", "皮肤美白"}));
    EXPECT_EQ(bytesOf(app->paths.requirementPresets), toGbk("加急\r\n封面烫金\r\n皮肤美白\r\n"));
    EXPECT_EQ(s.messages(), Names{});

    // Presets may repeat.
    s.expectInput().answer("加急");
    win.按钮_新增.click();
    EXPECT_EQ(win.列表框1.itemCount(), 4);

    win.列表框1.pickItem(0);
    win.按钮_删除项目.click();
    EXPECT_EQ(bytesOf(app->paths.requirementPresets), toGbk("封面烫金\r\n皮肤美白\r\n加急\r\n"));
    win.按钮_删除项目.click();  // nothing selected any more
    EXPECT_EQ(win.列表框1.itemCount(), 3);

    while (win.列表框1.itemCount() > 0) {
        win.列表框1.pickItem(0);
        win.按钮_删除项目.click();
    }
    EXPECT_EQ(bytesOf(app->paths.requirementPresets), "");
}

TEST_F(SettingsWindowTest, ACancelledOrEmptyPresetLeavesListAndFileAsTheyWere) {
    writeRequirementPresets(app->paths, {"加急"});
    auto& win = open(SettingsWindow::RequirementsTab);
    const std::optional<std::string> before = bytesOf(app->paths.requirementPresets);
    s.expectInput("请输入新的修片要求").cancel();
    win.按钮_新增.click();
    s.expectInput("请输入新的修片要求").answer(" ");
    win.按钮_新增.click();
    EXPECT_EQ(win.列表框1.items(), (Names{"加急"}));
    EXPECT_EQ(bytesOf(app->paths.requirementPresets), before);
    EXPECT_EQ(s.messages(), Names{});
}

TEST_F(SettingsWindowTest, AMissingPresetsFileIsCreatedEmptyWhenItsTabIsChosen) {
    auto& win = open();
    EXPECT_FALSE(bytesOf(app->paths.requirementPresets));
    win.高级选择夹1.pickTab(3);
    EXPECT_EQ(win.列表框1.itemCount(), 0);
    EXPECT_EQ(bytesOf(app->paths.requirementPresets), "");
}

TEST_F(SettingsWindowTest, WarmTipsAndTheSampleFolderAreStoredOnlyBySave) {
    writeSampleFolderSetting(app->paths, "/srv/旧样照");
    auto& win = open(SettingsWindow::OtherTab);

    // The browser's answer fills the box; a cancel keeps what it held.
    s.expectFolder("选择样照所在文件夹").answer("/srv/新样照");
    win.图片框1.mouseUp(ui::MouseButton::Left, 5, 5);
    EXPECT_EQ(win.编辑框_样照路径.text(), "/srv/新样照");
    s.expectFolder("选择样照所在文件夹").cancel();
    win.图片框1.mouseUp(ui::MouseButton::Left, 5, 5);
    EXPECT_EQ(win.编辑框_样照路径.text(), "/srv/新样照");
    win.图片框1.mouseUp(ui::MouseButton::Right, 5, 5);  // only the left button opens it
    win.close();
    EXPECT_EQ(readSampleFolderSetting(app->paths), "/srv/旧样照") << "no 保存, nothing stored";
    EXPECT_FALSE(bytesOf(app->paths.warmTips));

    auto& again = open();
    again.高级选择夹1.pickTab(4);
    s.expectFolder().answer("/srv/新样照");
    again.图片框1.mouseUp(ui::MouseButton::Left, 5, 5);
    again.编辑框_温馨提示.setText("请于七日内取件\r\n谢谢惠顾");
    expectInfo("保存成功！");
    again.按钮_保存1.click();
    EXPECT_EQ(bytesOf(app->paths.warmTips), toGbk("请于七日内取件\r\n谢谢惠顾")) << "no terminator";
    EXPECT_EQ(readSampleFolderSetting(app->paths), "/srv/新样照");
}

TEST_F(SettingsWindowTest, AFailedSaveIsReportedAsAFailure) {
    auto& win = open();
    std::filesystem::remove_all(app->paths.dataFolder);
    win.编辑框_店名.setText("蓝天");
    win.编辑框_电话.setText("1");
    win.编辑框_地址.setText("路");
    s.expectMessage().title("提示信息");
    win.按钮_保存.click();
    EXPECT_NE(lastMessage().find("失败"), std::string::npos) << lastMessage();
    win.高级选择夹1.pickTab(SettingsWindow::OtherTab);
    s.expectMessage().title("提示信息");
    win.按钮_保存1.click();
    EXPECT_NE(lastMessage().find("失败"), std::string::npos) << lastMessage();
}

TEST_F(SettingsWindowTest, TheMainWindowClosesEveryTableAndHidesThePanelsFirst) {
    // An open order's photo table.
    const std::string folder = photoFolder("order", {"a.jpg"});
    std::filesystem::create_directories(folder + "/data");
    ASSERT_TRUE(app->store.createTable(photoTablePath(folder) + ".edb", photoTableCreationRequest()));
    ASSERT_TRUE(app->store.openTable(photoTablePath(folder)));
    w().外形框_超级列表框1.show();
    w().按钮_数据管理.disable();

    bool ran = false;
    int presetRefreshes = 0;
    app->openers.requirementPresetsChanged = [&](MainWindow&) { ++presetRefreshes; };
    s.whenModal<SettingsWindow>([&](SettingsWindow& win) {
        ran = true;
        EXPECT_EQ(win.mode(), SettingsWindow::Mode::AllTabs);
        EXPECT_EQ(app->store.tableCount(), 0);
        EXPECT_FALSE(w().外形框_超级列表框1.isVisible());
        EXPECT_FALSE(w().外形框_数据管理.isVisible());
        EXPECT_FALSE(w().按钮_系统设置.isEnabled());
        EXPECT_TRUE(w().按钮_数据管理.isEnabled());
        EXPECT_TRUE(win.高级选择夹1.pickTab(1));
        win.按钮_删除项目1.click();
        EXPECT_FALSE(win.isOpen());
        EXPECT_TRUE(w().按钮_系统设置.isEnabled()) << "enabled again as it closes";
    });
    w().按钮_系统设置.click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(presetRefreshes, 1);
    EXPECT_TRUE(w().按钮_系统设置.isEnabled());
}

TEST_F(SettingsWindowTest, FromTheOrderFormOnlyThePresetsTabCanBeChosenAndThePhotoTableStaysCurrent) {
    writeRequirementPresets(app->paths, {"加急", "封面烫金"});
    const std::string folder = photoFolder("order", {"a.jpg"});
    std::filesystem::create_directories(folder + "/data");
    ASSERT_TRUE(app->store.createTable(photoTablePath(folder) + ".edb", photoTableCreationRequest()));
    ASSERT_TRUE(app->store.openTable(photoTablePath(folder)));

    bool ran = false;
    int presetRefreshes = 0;
    app->openers.requirementPresetsChanged = [&](MainWindow&) { ++presetRefreshes; };
    s.whenModal<SettingsWindow>([&](SettingsWindow& win) {
        ran = true;
        EXPECT_EQ(win.mode(), SettingsWindow::Mode::RequirementsOnly);
        EXPECT_EQ(win.高级选择夹1.current(), 3);
        EXPECT_EQ(win.列表框1.items(), (Names{"加急", "封面烫金"}));
        for (int tab : {0, 1, 2, 4}) {
            EXPECT_FALSE(win.高级选择夹1.isTabEnabled(tab)) << tab;
            EXPECT_FALSE(win.高级选择夹1.pickTab(tab)) << tab;
        }
        EXPECT_FALSE(win.按钮_保存.click()) << "the controls of an unavailable tab cannot be used";
        EXPECT_EQ(win.高级选择夹1.current(), 3);
        EXPECT_EQ(app->store.tableName(), "xpdata") << "the lists were filled around the open order";
        s.expectInput().answer("皮肤美白");
        EXPECT_TRUE(win.按钮_新增.click());
        EXPECT_TRUE(win.按钮_删除项目1.click());
    });
    app->openers.requirementPresets(w());
    EXPECT_TRUE(ran);
    EXPECT_EQ(presetRefreshes, 1);
    EXPECT_EQ(app->store.tableName(), "xpdata");
    EXPECT_EQ(app->store.tableCount(), 1);
    EXPECT_EQ(readRequirementPresets(app->paths), (Names{"加急", "封面烫金", "皮肤美白"}));
}

// What a newcomer does first: a selector who can log in, a category and products that the new order
// dialog offers.
TEST_F(SettingsWindowTest, WhatTheSettingsAddTheRestOfTheProgramOffers) {
    s.whenModal<SettingsWindow>([&](SettingsWindow& win) {
        win.高级选择夹1.pickTab(1);
        win.编辑框_用户名.setText("小张");
        win.编辑框_密码.setText("zz9");
        win.按钮_新增选片人员.click();
        win.高级选择夹1.pickTab(2);
        s.expectInput().answer("水晶相册");
        expectInfo("新类别：水晶相册添加成功！");
        win.按钮_新增类别.click();
        win.组合框_类别.pickItem(win.组合框_类别.indexOf("水晶相册"));
        win.编辑框_新增产品.setText("8寸水晶");
        win.按钮_新增产品.click();
        win.按钮_删除项目1.click();
    });
    w().按钮_系统设置.click();

    EXPECT_TRUE(checkLogin(*app, "小张", "zz9"));
    s.whenModal<NewOrderDialog>([&](NewOrderDialog& d) {
        EXPECT_NE(d.组合框1.indexOf("小张"), -1);
        d.组合框2.pickItem(d.组合框2.indexOf("水晶相册"));
        EXPECT_EQ(d.列表框1.items(), (Names{"8寸水晶"}));
        d.取消按钮.click();
    });
    w().按钮_导入选片数据.click();
}

}  // namespace
}  // namespace xp::test
