// The order form as the selector walks it: what it shows on opening (counts, summary, requirements,
// presets), the date boxes, the save checks in their order and what a save writes.
#include <gtest/gtest.h>

#include "appdata/table_scope.h"
#include "appdata/text_helpers.h"
#include "completion/order_summary.h"
#include "platform/file_system.h"
#include "tests/completion/completion_fixture.h"

namespace xp::test {
namespace {

namespace of = order_fields;
using ui::MessageButtons;
using ui::MessageIcon;
using ui::MessageResult;

const std::string kSep = kRequirementsSeparator;

class OrderFormTest : public CompletionTest {};

TEST_F(OrderFormTest, OpensWithTheCountsTheSummaryOfEveryProductAndTheRetouchList) {
    openOrder({"A.jpg", "B.jpg", "C.jpg", "D.jpg"}, "相册。放大。", "2", {{of::kUrgent, "加急"}});
    writeShotCount(folder_, 4);
    pick(1, "入册。相册。", "瘦脸");
    pick(2, "入册。");
    pick(4, "相册。", "去痘");

    OrderFormWindow& f = form();
    EXPECT_EQ(f.parentWindow(), &w());
    const ui::Control& area = w().图片框2;
    EXPECT_EQ(f.left(), area.left() + (area.width() - f.width()) / 2);
    EXPECT_EQ(f.top(), area.top() + (area.height() - f.height()) / 2);
    EXPECT_FALSE(f.高级表格1.isVisible());

    EXPECT_EQ(f.顾客姓名编辑框.text(), "王芳");
    EXPECT_EQ(f.是否加急组合框.selectedText(), "加急");
    EXPECT_EQ(f.拍摄张数编辑框.text(), "4");
    EXPECT_EQ(f.selectedCount(), 3);
    EXPECT_EQ(f.应选张数编辑框.text(), "2");
    EXPECT_EQ(f.加选张数编辑框.text(), "1");

    // "入册" first, a photo in two products in both rows, a product without photos with count 0.
    ASSERT_EQ(f.超级列表框2.itemCount(), 3);
    const std::vector<std::vector<std::string>> summary = {
        {"入册", "2", "A，B，"}, {"相册", "2", "A，D，"}, {"放大", "0", ""}};
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(f.超级列表框2.cell(i, c), summary[i][c]) << i << "," << c;
    EXPECT_EQ(f.组合框1.items(), (std::vector<std::string>{"入册", "相册", "放大"}));

    EXPECT_EQ(f.制作要求编辑框.text(), "A（瘦脸）\r\nD（去痘）\r\n" + kSep);
    EXPECT_EQ(app->store.tableName(), kPhotoTableName) << "the photo table is current again";
}

TEST_F(OrderFormTest, FewerPhotosThanThePackageSaveMinusThreeAndNoAmountWithoutAsking) {
    openOrder({"A.jpg", "B.jpg"}, "相册。", "5");
    pick(1, "入册。");
    pick(2, "入册。");
    OrderFormWindow& f = form();
    EXPECT_EQ(f.extraCount(), -3);
    EXPECT_EQ(f.加选张数编辑框.text(), "-3");
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    f.加选金额编辑框.setText("300");
    expectInfo("保存成功！");
    EXPECT_TRUE(f.save());

    EXPECT_EQ(orderField(of::kExtraCount), "-3");
    EXPECT_EQ(orderField(of::kExtraAmount), "0");
    EXPECT_EQ(orderField(of::kPickupDate), "2015-10-20");
    EXPECT_EQ(orderField(of::kViewingDate), "2015-10-12");
    EXPECT_EQ(orderField(of::kUrgent), "否");
    EXPECT_EQ(orderField(of::kRequirements), kSep);
    EXPECT_EQ(readFile(saveMarkerFile(folder_)), "100");
    EXPECT_EQ(app->store.tableName(), kPhotoTableName);
}

TEST_F(OrderFormTest, ExtraPhotosWithoutAnAmountAreRefusedAndNothingIsWritten) {
    openOrder({"A.jpg", "B.jpg", "C.jpg"}, "相册。", "1");
    pick(1, "入册。");
    pick(2, "相册。");
    pick(3, "入册。");
    OrderFormWindow& f = form();
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    for (const char* amount : {"", "0", "元"}) {
        SCOPED_TRACE(amount);
        f.加选金额编辑框.setText(amount);
        s.expectMessage("当前加选张数为：2 张 请输入加选金额后在保存").title("提示信息").icon(MessageIcon::Warning);
        EXPECT_FALSE(f.save());
    }
    EXPECT_EQ(orderField(of::kPickupDate), "");
    EXPECT_FALSE(fileExists(saveMarkerFile(folder_)));

    f.加选金额编辑框.setText("100");
    expectInfo("保存成功！");
    EXPECT_TRUE(f.save());
    EXPECT_EQ(orderField(of::kExtraCount), "2");
    EXPECT_EQ(orderField(of::kExtraAmount), "100");
}

TEST_F(OrderFormTest, ExtraCountZeroStoresNoAmount) {
    openOrder({"A.jpg"}, "", "1");
    pick(1, "入册。");
    OrderFormWindow& f = form();
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    f.加选金额编辑框.setText("80");
    expectInfo("保存成功！");
    f.按钮_保存.click();
    EXPECT_EQ(orderField(of::kExtraCount), "0");
    EXPECT_EQ(orderField(of::kExtraAmount), "0");
}

TEST_F(OrderFormTest, TheDateChecksComeFirstAndAnUnansweredViewingDateSavesNothing) {
    openOrder({"A.jpg"}, "", "1");
    OrderFormWindow& f = form();
    f.看样日期编辑框.setText("");
    expectInfo("取件日期必须填写");
    f.按钮_保存.click();

    f.取件日期编辑框.setText("2015-10-20");
    const std::string question = "看样日期没有填写，打印选片单的时候将设置为不看样直接输出，确定不填看样日期吗？";
    s.expectMessage(question)
        .title("提示信息")
        .icon(MessageIcon::Question)
        .buttons(MessageButtons::YesNo)
        .answer(MessageResult::No);
    f.按钮_保存.click();
    EXPECT_EQ(orderField(of::kPickupDate), "");
    EXPECT_FALSE(fileExists(saveMarkerFile(folder_)));

    s.expectMessage(question).answer(MessageResult::Yes);
    expectInfo("保存成功！");
    f.按钮_保存.click();
    EXPECT_EQ(orderField(of::kPickupDate), "2015-10-20");
    EXPECT_EQ(orderField(of::kViewingDate), "");
}

TEST_F(OrderFormTest, TheManualSectionIsCarriedOverAndTextTypedInTheRetouchListIsNot) {
    openOrder({"A.jpg", "B.jpg"}, "", "2");
    pick(1, "入册。", "调色");
    {
        OrderFormWindow& f = form();
        f.取件日期编辑框.setText("2015-10-20");
        f.看样日期编辑框.setText("2015-10-12");
        // Typed inside the retouch list, and after the separator.
        f.制作要求编辑框.setText("A（调色）\r\n补一句\r\n" + kSep + "全部精修，\r\n加急处理");
        expectInfo("保存成功！");
        f.按钮_保存.click();
        f.按钮_退出.click();
        EXPECT_FALSE(f.isOpen());
    }
    const std::string expected = "A（调色）\r\n" + kSep + "全部精修，\r\n加急处理";
    EXPECT_EQ(form().制作要求编辑框.text(), expected);
    EXPECT_EQ(form().制作要求编辑框.text(), expected) << "a second opening without changes shows the same";

    // A changed retouch request shows at once; the manual section stays.
    pick(2, "入册。", "去红眼");
    EXPECT_EQ(form().制作要求编辑框.text(), "A（调色）\r\nB（去红眼）\r\n" + kSep + "全部精修，\r\n加急处理");
    EXPECT_EQ(s.host().find<OrderFormWindow>(), &s.window<OrderFormWindow>());
}

TEST_F(OrderFormTest, DateBoxesTakeTodayOnEveryFocus) {
    openOrder({"A.jpg"}, "", "0", {{of::kViewingDate, "2015-1-1"}, {of::kPickupDate, "2015-1-9"}});
    OrderFormWindow& f = form();
    EXPECT_EQ(f.看样日期编辑框.text(), "2015-1-1");
    f.看样日期编辑框.focus();
    EXPECT_EQ(f.看样日期编辑框.text(), todayText());
    f.取件日期编辑框.focus();
    EXPECT_EQ(f.取件日期编辑框.text(), todayText());
}

TEST_F(OrderFormTest, AnUrgentFlagOfNeitherItemShowsNoChoiceAndSavesNo) {
    openOrder({"A.jpg"}, "", "1", {{of::kUrgent, "是"}});
    OrderFormWindow& f = form();
    EXPECT_EQ(f.是否加急组合框.selected(), -1);
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    expectInfo("保存成功！");
    f.按钮_保存.click();
    EXPECT_EQ(orderField(of::kUrgent), "否");
}

TEST_F(OrderFormTest, PresetsFillTheListADoubleClickAppendsOneAndTheSettingsRefreshReadsThemAgain) {
    ASSERT_TRUE(writeRequirementPresets(app->paths, {"全部精修", "背景换成白色"}));
    openOrder({"A.jpg"}, "", "0");
    OrderFormWindow& f = form();
    EXPECT_EQ(f.列表框1.items(), (std::vector<std::string>{"全部精修", "背景换成白色"}));
    f.制作要求编辑框.setText(kSep + "手写");
    f.列表框1.doubleClick(1);
    EXPECT_EQ(f.制作要求编辑框.text(), kSep + "手写背景换成白色，");

    // Without the settings window the button says so; with it, the list follows what it stored.
    app->openers.requirementPresets = nullptr;
    expectInfo("“增删制作要求”功能尚未开放，敬请期待。");
    f.按钮_增删制作要求.click();
    int opened = 0;
    app->openers.requirementPresets = [&](MainWindow&) {
        ++opened;
        writeRequirementPresets(app->paths, {"只修脸"});
    };
    f.按钮_增删制作要求.click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(f.列表框1.items(), std::vector<std::string>{"只修脸"});
    writeRequirementPresets(app->paths, {"a", "b"});
    app->openers.requirementPresetsChanged(w());
    EXPECT_EQ(f.列表框1.items(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(OrderFormTest, ARowThatNowHoldsAnotherOrderIsNotWritten) {
    openOrder({"A.jpg"}, "", "0");
    OrderFormWindow& f = form();
    {
        RecordStore other;
        ASSERT_TRUE(openAppTable(other, app->paths.orderTable));
        ASSERT_TRUE(writeText(other, of::kOrderNumber, "20151005999"));
    }
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    expectInfo("保存失败！请重试!");
    f.按钮_保存.click();
    EXPECT_EQ(orderField(of::kPickupDate), "");
    EXPECT_FALSE(fileExists(saveMarkerFile(folder_)));
}

TEST_F(OrderFormTest, AFormLeftOpenWhileAnotherOrderIsOpenedNeitherSavesNorPrints) {
    openOrder({"A.jpg"}, "", "0");
    OrderFormWindow& f = form();
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    ASSERT_TRUE(writeSaveMarker(folder_));
    app->orderRecordNumber = 2;
    app->orderNumber = "20151005002";
    const std::string refusal = "已经打开了另一个订单，此选片单不能再保存或打印！请关闭后重新打开“保存选片数据”";
    expectInfo(refusal);
    f.按钮_保存.click();
    expectInfo(refusal);
    f.按钮_打印表单.click();
    EXPECT_EQ(orderField(of::kPickupDate), "");
}

TEST_F(OrderFormTest, AnOrderTableThatDoesNotOpenLeavesTheOrderFieldsEmptyButTheSummaryFilled) {
    openOrder({"A.jpg", "B.jpg"}, "相册。", "1");
    pick(1, "入册。", "亮一点");
    ASSERT_TRUE(std::filesystem::remove(resolvePath(app->paths.orderTable + ".EDB")));
    OrderFormWindow& f = form();
    EXPECT_EQ(f.顾客姓名编辑框.text(), "");
    EXPECT_EQ(f.加选张数编辑框.text(), "");
    EXPECT_EQ(f.超级列表框2.itemCount(), 0) << "without the order row there is no product list";
    EXPECT_EQ(f.制作要求编辑框.text(), "A（亮一点）\r\n" + kSep);
    f.取件日期编辑框.setText("2015-10-20");
    f.看样日期编辑框.setText("2015-10-12");
    expectInfo("保存选片数据库连接失败！");
    f.按钮_保存.click();
}

}  // namespace
}  // namespace xp::test
