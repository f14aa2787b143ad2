// Printing the order form: the refusal of an unsaved selection, the 16 × 6 layout with its merges, sizes,
// fonts and page settings, the saved values rather than unsaved edits, and the order-dependent cells left
// alone when the order row holds another order.
#include <gtest/gtest.h>

#include "appdata/text_helpers.h"
#include "completion/order_form_print.h"
#include "platform/file_system.h"
#include "tests/completion/completion_fixture.h"

namespace xp::test {
namespace {

namespace of = order_fields;
using ui::GridRange;
using ui::HAlign;
using ui::PageSetting;
using ui::PrintGrid;

class OrderFormPrintTest : public CompletionTest {
protected:
    // An order with two products, saved through the form.
    OrderFormWindow& savedForm() {
        openOrder({"A.jpg", "B.jpg", "C.jpg"}, "相册。放大。", "1", {{of::kUrgent, "加急"}});
        pick(1, "入册。相册。", "瘦脸");
        pick(2, "入册。");
        OrderFormWindow& f = form();
        f.取件日期编辑框.setText("2015-10-20");
        f.看样日期编辑框.setText("2015-10-12");
        f.加选金额编辑框.setText("50");
        f.制作要求编辑框.setText(f.制作要求编辑框.text() + "整体提亮");
        expectInfo("保存成功！");
        f.按钮_保存.click();
        return f;
    }
    // The grid as the preview showed it.
    PrintGrid print(OrderFormWindow& f) {
        PrintGrid shown;
        s.expectPrintPreview([&](PrintGrid& g) { shown = g; });
        f.按钮_打印表单.click();
        return shown;
    }
};

TEST_F(OrderFormPrintTest, AnUnsavedSelectionIsNotPrinted) {
    openOrder({"A.jpg"}, "", "0");
    OrderFormWindow& f = form();
    expectInfo("您还没有保存选片数据！请先保存然后在选择打印报表！");
    f.按钮_打印表单.click();
    ASSERT_TRUE(writeFile(saveMarkerFile(folder_), "1000"));
    expectInfo("您还没有保存选片数据！请先保存然后在选择打印报表！");
    f.按钮_打印表单.click();
}

TEST_F(OrderFormPrintTest, TheFormIsLaidOutAsSixteenRowsOfSixColumnsWithTheSavedValues) {
    ASSERT_TRUE(writeStoreDetails(app->paths, {"星光影楼", "0571-8888", "文一路1号", "www.xg.example", "选片单"}));
    ASSERT_TRUE(writeWarmTips(app->paths, "取件请带单据。\r\n谢谢惠顾"));
    OrderFormWindow& f = savedForm();
    const std::string saved = f.制作要求编辑框.text();
    f.制作要求编辑框.setText("没有保存的修改");
    f.顾客姓名编辑框.setText("王芳（改）");
    const PrintGrid g = print(f);

    ASSERT_EQ(g.rowCount(), 17);
    ASSERT_EQ(g.columnCount(), 7);
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(g.columnWidth(c), 125) << c;
    EXPECT_EQ(g.rowHeight(1), 50);
    EXPECT_EQ(g.rowHeight(7), 380);
    EXPECT_EQ(g.rowHeight(8), 200);
    for (int r : {2, 3, 4, 5, 6, 9, 16}) EXPECT_EQ(g.rowHeight(r), PrintGrid::kDefaultRowHeight) << r;

    const std::vector<GridRange> merges = {{1, 1, 1, 6},   {2, 2, 2, 3},   {2, 5, 2, 6},  {3, 2, 3, 3}, {3, 5, 3, 6},
                                           {6, 1, 6, 6},   {7, 1, 7, 6},   {8, 2, 8, 6},  {9, 2, 9, 4}, {9, 5, 9, 6},
                                           {10, 2, 10, 4}, {11, 2, 11, 4}, {10, 5, 16, 6}};
    for (const GridRange& m : merges)
        EXPECT_EQ(g.mergeAt(m.firstRow, m.firstColumn), m) << m.firstRow << "," << m.firstColumn;
    EXPECT_EQ(g.merges().size(), merges.size());

    const std::string today = todayText();
    const std::vector<std::tuple<int, int, std::string>> texts = {
        {1, 1, "星光影楼选片单"},
        {2, 1, "打单日期："},
        {2, 2, today},
        {2, 4, "订单编号："},
        {2, 5, kOrder},
        {3, 1, "顾客姓名："},
        {3, 2, "王芳（改）"},
        {3, 4, "联系电话："},
        {3, 5, "13800001111"},
        {4, 1, "是否加急："},
        {4, 2, "加急"},
        {4, 3, "看样日期："},
        {4, 4, "2015-10-12"},
        {4, 5, "取件日期："},
        {4, 6, "2015-10-20"},
        {5, 1, "应选张数："},
        {5, 2, "1"},
        {5, 3, "加选张数："},
        {5, 4, "1"},
        {5, 5, "加选金额："},
        {5, 6, "50"},
        {6, 1, "产品内容："},
        {7, 1, "入册： 2张 __文件名：A，B，\r\n\r\n相册： 1张 __文件名：A，\r\n\r\n放大： 0张 __文件名：\r\n\r\n"},
        {8, 1, "制作要求："},
        {8, 2, saved},
        {9, 1, "服务电话："},
        {9, 2, "0571-8888"},
        {9, 5, "温馨提示"},
        {10, 1, "公司地址："},
        {10, 2, "文一路1号"},
        {10, 5, "取件请带单据。\r\n谢谢惠顾"},
        {11, 1, "公司网址："},
        {11, 2, "www.xg.example"},
        {12, 1, "选片人："},
        {12, 2, "小王"},
        {12, 3, "√"},
        {12, 4, today},
        {13, 1, "设计师："},
        {14, 1, "输出成品："},
        {15, 1, "顾客选片确认"},
        {16, 1, "顾客取件确认"},
    };
    for (const auto& [r, c, text] : texts) EXPECT_EQ(g.text(r, c), text) << r << "," << c;
    for (int r = 13; r <= 16; ++r)
        for (int c = 2; c <= 4; ++c) EXPECT_EQ(g.text(r, c), "") << r << "," << c;

    EXPECT_EQ(g.cell(1, 1).fontHeight, 40);
    for (int r = 2; r <= 16; ++r)
        for (int c = 1; c <= 6; ++c) EXPECT_EQ(g.cell(r, c).fontHeight, 22) << r << "," << c;
    for (auto [r, c] : std::vector<std::pair<int, int>>{{1, 1}, {6, 1}, {9, 5}, {12, 3}, {12, 4}})
        EXPECT_EQ(g.cell(r, c).align, HAlign::Centre) << r << "," << c;
    EXPECT_EQ(g.cell(2, 2).align, HAlign::Left);
    EXPECT_TRUE(g.cell(7, 1).wordWrap);
    EXPECT_TRUE(g.cell(8, 2).wordWrap);
    EXPECT_TRUE(g.cell(10, 5).wordWrap);

    EXPECT_EQ(g.pageSetting(PageSetting::RightMargin), 0);
    EXPECT_EQ(g.pageSetting(PageSetting::FooterHeight), 0);
    EXPECT_EQ(g.pageSetting(PageSetting::HeaderHeight), 80);
    EXPECT_EQ(g.pageSetting(PageSetting::LeftMargin), 40);
    EXPECT_EQ(g.pageSetting(PageSetting::TopMargin), 20);
    EXPECT_EQ(g.pageSetting(PageSetting::BottomMargin), 20);
    EXPECT_EQ(g.pageSetting(PageSetting::HeaderGap), 20);
    EXPECT_EQ(app->store.tableName(), kPhotoTableName);
}

TEST_F(OrderFormPrintTest, AnEmptyTitlePiecePrintsTheOtherAlone) {
    OrderFormWindow& f = savedForm();
    const std::pair<StoreDetails, std::string> cases[] = {
        {{"星光影楼", "", "", "", ""}, "星光影楼"}, {{"", "", "", "", "选片确认单"}, "选片确认单"}, {{}, ""}};
    for (const auto& [details, title] : cases) {
        ASSERT_TRUE(writeStoreDetails(app->paths, details));
        EXPECT_EQ(print(f).text(1, 1), title);
    }
}

TEST_F(OrderFormPrintTest, ARowHoldingAnotherOrderLeavesTheOrderCellsAsTheyWere) {
    OrderFormWindow& f = savedForm();
    {
        RecordStore other;
        ASSERT_TRUE(openAppTable(other, app->paths.orderTable));
        ASSERT_TRUE(writeText(other, of::kOrderNumber, "20151005999"));
        ASSERT_TRUE(writeText(other, of::kPhone, "另一个顾客"));
    }
    const PrintGrid g = print(f);
    for (auto [r, c] : std::vector<std::pair<int, int>>{
             {3, 5}, {4, 2}, {4, 4}, {4, 6}, {5, 2}, {5, 4}, {5, 6}, {8, 2}, {12, 2}, {12, 3}, {12, 4}})
        EXPECT_EQ(g.text(r, c), "") << r << "," << c;
    EXPECT_EQ(g.text(2, 5), kOrder) << "the open order's number is printed all the same";
    EXPECT_EQ(g.text(3, 2), "王芳");
    EXPECT_EQ(g.text(9, 5), "温馨提示");
}

TEST_F(OrderFormPrintTest, AnOrderTableThatDoesNotOpenShowsNoPreview) {
    OrderFormWindow& f = savedForm();
    ASSERT_TRUE(std::filesystem::remove(resolvePath(app->paths.orderTable + ".EDB")));
    expectInfo("打单时选片数据库打开失败");
    f.按钮_打印表单.click();
}

}  // namespace
}  // namespace xp::test
