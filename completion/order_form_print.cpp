// The printed order form: its cells, merges, fonts and sizes, filled from the saved order row, the order
// form's product summary and the studio's settings.
#include "completion/order_form_print.h"

#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "appdata/text_helpers.h"
#include "completion/order_form_window.h"
#include "shell/messages.h"

namespace xp {

namespace {

namespace of = order_fields;
using ui::GridRange;
using ui::HAlign;

constexpr int kRows = 16;
constexpr int kColumns = 6;

}  // namespace

std::string productContent(const std::vector<OrderFormPrint::Product>& products) {
    std::string out;
    for (const auto& p : products) out += p.name + "： " + p.count + "张 __文件名：" + p.photos + "\r\n\r\n";
    return out;
}

void layOutOrderForm(ui::PrintGrid& g, int gridWidth, const OrderFormPrint& form) {
    g.setSize(kRows + 1, kColumns + 1);
    const int columnWidth = static_cast<int>(gridWidth / 6.001);
    for (int c = 1; c <= kColumns; ++c) g.setColumnWidth(c, columnWidth);

    const GridRange merges[] = {
        {1, 1, 1, 6}, {2, 2, 2, 3}, {2, 5, 2, 6}, {3, 2, 3, 3},   {3, 5, 3, 6},   {6, 1, 6, 6},   {7, 1, 7, 6},
        {8, 2, 8, 6}, {9, 2, 9, 4}, {9, 5, 9, 6}, {10, 2, 10, 4}, {11, 2, 11, 4}, {10, 5, 16, 6},
    };
    for (const GridRange& m : merges) g.merge(m);
    g.setAlign({1, 1, 1, 6}, HAlign::Centre);
    g.setAlign({6, 1, 6, 6}, HAlign::Centre);
    g.setAlign({9, 5, 9, 5}, HAlign::Centre);
    g.setRowHeight(1, 50);
    g.setRowHeight(7, 380);
    g.setRowHeight(8, 200);
    g.setWordWrap({7, 1, 7, 6}, true);
    g.setWordWrap({8, 2, 8, 6}, true);
    g.setWordWrap({10, 5, 16, 6}, true);

    const char* column1[kRows] = {nullptr,    "打单日期：", "顾客姓名：",   "是否加急：",  "应选张数：", "产品内容：",
                                  nullptr,    "制作要求：", "服务电话：",   "公司地址：",  "公司网址：", "选片人：",
                                  "设计师：", "输出成品：", "顾客选片确认", "顾客取件确认"};
    for (int r = 1; r <= kRows; ++r)
        if (column1[r - 1]) g.setText(r, 1, column1[r - 1]);
    g.setText(2, 4, "订单编号：");
    g.setText(3, 4, "联系电话：");
    g.setText(4, 3, "看样日期：");
    g.setText(4, 5, "取件日期：");
    g.setText(5, 3, "加选张数：");
    g.setText(5, 5, "加选金额：");
    g.setText(9, 5, "温馨提示");

    g.setText(2, 2, form.today);
    g.setText(2, 5, form.orderNumber);
    g.setText(3, 2, form.customerName);

    if (form.orderFields) {
        g.setText(3, 5, form.phone);
        g.setText(4, 2, form.urgent);
        g.setText(4, 4, form.viewingDate);
        g.setText(4, 6, form.pickupDate);
        g.setText(5, 2, form.shouldSelect);
        g.setText(5, 4, form.extraCount);
        g.setText(5, 6, form.extraAmount);
        g.setText(8, 2, form.requirements);
        g.setText(12, 2, form.selector);
        g.setText(12, 3, "√");
        g.setText(12, 4, form.today);
        g.setAlign({12, 3, 12, 4}, HAlign::Centre);
    }

    g.setText(7, 1, productContent(form.products));
    g.setText(9, 2, form.store.phone);
    g.setText(10, 2, form.store.address);
    g.setText(11, 2, form.store.webSite);
    g.setText(1, 1, form.store.name + form.store.reportTitle);
    g.setText(10, 5, form.warmTips);

    g.setFontHeight({1, 1, 1, 6}, 40);
    g.setFontHeight({2, 1, kRows, kColumns}, 22);
    g.setPageSetting(ui::PageSetting::RightMargin, 0);
    g.setPageSetting(ui::PageSetting::FooterHeight, 0);
    g.setPageSetting(ui::PageSetting::HeaderHeight, 80);
}

bool printOrderForm(OrderFormWindow& w) {
    AppState& app = w.app;
    if (!w.stillTheOpenOrder()) return false;
    if (!isSelectionSaved(app.selectionFolder())) {
        inform("您还没有保存选片数据！请先保存然后在选择打印报表！");
        return false;
    }

    OrderFormPrint form;
    form.today = todayText();
    form.orderNumber = app.orderNumber;
    form.customerName = w.顾客姓名编辑框.text();
    {
        RecordStore& store = app.store;
        TableScope orders(store, app.paths.orderTable);
        if (!orders) {
            inform("打单时选片数据库打开失败");
            return false;
        }
        if (store.goToRecord(app.orderRecordNumber) && readText(store, of::kOrderNumber) == app.orderNumber) {
            form.orderFields = true;
            form.phone = readText(store, of::kPhone);
            form.urgent = readText(store, of::kUrgent);
            form.viewingDate = readText(store, of::kViewingDate);
            form.pickupDate = readText(store, of::kPickupDate);
            form.shouldSelect = readText(store, of::kIncludedCount);
            form.extraCount = readText(store, of::kExtraCount);
            form.extraAmount = readText(store, of::kExtraAmount);
            form.requirements = readText(store, of::kRequirements);
            form.selector = readText(store, of::kSelector);
        }
    }
    for (int i = 0; i < w.超级列表框2.itemCount(); ++i)
        form.products.push_back({w.超级列表框2.cell(i, 0), w.超级列表框2.cell(i, 1), w.超级列表框2.cell(i, 2)});
    form.store = readStoreDetails(app.paths);
    form.warmTips = readWarmTips(app.paths);

    ui::PrintGrid& grid = w.高级表格1.grid();
    layOutOrderForm(grid, w.高级表格1.width(), form);
    grid.setDocumentName("选片单" + (app.orderNumber.empty() ? std::string() : "_" + app.orderNumber));
    grid.setSaveFolder(app.selectionFolder());
    w.高级表格1.refresh();
    w.高级表格1.printPreview();
    return true;
}

}  // namespace xp
