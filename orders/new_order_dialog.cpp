// The new order dialog: lists filled at creation, the package, the date fields, the folder browser, the
// required fields, storing the order and loading its photos when the dialog goes.
#include "orders/new_order_dialog.h"

#include <map>

#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_helpers.h"
#include "orders/order_table.h"
#include "shell/main_window.h"
#include "shell/messages.h"
#include "store/record_store.h"

namespace xp {

namespace {

namespace of = order_fields;

}  // namespace

NewOrderDialog::NewOrderDialog(AppState& state)
    : OrderDialog(state, Layout{"NewOrderDialog",
                                "选片顾客基本信息录入",
                                604,
                                413,
                                ui::BorderStyle::FixedNarrow,
                                ui::Color{43, 43, 43},
                                {0, -5, 258, 352},
                                {256, -5, 343, 352},
                                {80, 212, 160, 20},
                                {213, 354, 80, 25},
                                {300, 354, 80, 25}}) {
    组合框_是否加急.setSelected(0);
    // A confirmation belongs to the dialog that made it: one closed some other way never loads.
    app.newOrderConfirmed = false;

    onCreated = [this] { created(); };
    onDestroying = [this] { destroying(); };
    // Today's date, selected: Enter or Tab takes it, typing replaces it.
    for (ui::EditBox* date : {&编辑框4, &编辑框5})
        date->onFocusIn = [date] {
            date->setText(todayText());
            date->selectAll();
        };
    按钮_移除.onClick = [this] { removeProduct(); };
    确定按钮.onClick = [this] { confirm(); };
    取消按钮.onClick = [this] {
        app.newOrderConfirmed = false;
        close();
    };
}

void NewOrderDialog::created() {
    app.computePaths();
    limitToFields(orderFieldWidths(app.store, app.paths.orderTable));
    编辑框8.setText(todayText());
    fillSelectors();
    app.store.closeAllTables();
    fillCategories();
    app.store.closeAllTables();
    组合框2.setSelected(0);
    fillProducts();
    app.store.closeAllTables();
}

void NewOrderDialog::removeProduct() {
    if (列表框2.selected() >= 0) 列表框2.removeItem(列表框2.selected());
    列表框2.setSelected(0);
}

void NewOrderDialog::confirm() {
    const bool complete = !编辑框1.text().empty() && !编辑框2.text().empty() && !编辑框3.text().empty() &&
                          !编辑框7.text().empty() && !编辑框_应选张数.text().empty() &&
                          !组合框1.selectedText().empty() && 列表框2.itemCount() > 0;
    app.store.closeAllTables();
    if (!complete) {
        inform("带（*）号的为必填项 请完整填写信息");
        return;
    }
    if (!storeOrder()) return;
    app.newOrderConfirmed = true;
    close();
}

bool NewOrderDialog::storeOrder() {
    RecordStore& store = app.store;
    if (!openAppTable(store, app.paths.orderTable)) {
        inform("订单保存失败！数据库连接失败，请重试");
        return false;
    }
    const std::string number = 编辑框1.text();
    // Orders are found again by their number, first match first: a second order under the same number
    // could never be opened from the order list.
    if (findFirstEqual(store, of::kOrderNumber, number)) {
        store.closeAllTables();
        inform("订单编号“" + number + "”已存在，请使用其他订单编号");
        return false;
    }
    // Two orders on one folder share one photo table, and each one's selection overwrites the other's.
    const std::string folder = 编辑框7.text();
    store.firstRecord();
    for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1)) {
        if (!samePath(readText(store, of::kSelectionFolder), folder)) continue;
        const std::string other = readText(store, of::kOrderNumber);
        const std::string customer = readText(store, of::kCustomerName);
        store.closeAllTables();
        if (!askDefaultNo("订单“" + other + "”（顾客：" + customer + "）已使用这个选片目录：\r\n" + folder +
                          "\r\n\r\n两个订单使用同一个选片目录时，它们的选片数据会互相覆盖。\r\n确定仍要保存此订单吗？"))
            return false;
        if (!openAppTable(store, app.paths.orderTable)) {
            inform("订单保存失败！数据库连接失败，请重试");
            return false;
        }
        break;
    }
    const std::map<std::string, std::string> row = {
        {of::kOrderNumber, number},
        {of::kCustomerName, 编辑框2.text()},
        {of::kPhone, 编辑框3.text()},
        {of::kViewingDate, 编辑框4.text()},
        {of::kPickupDate, 编辑框5.text()},
        {of::kUrgent, 组合框_是否加急.selectedText()},
        {of::kSelectionFolder, 编辑框7.text()},
        {of::kSelectionDate, 编辑框8.text()},
        {of::kIncludedCount, 编辑框_应选张数.text()},
        {of::kSelector, 组合框1.selectedText()},
        {of::kPackageProducts, packageText()},
        {of::kState, kStateNotSelected},
    };
    if (!appendNamedRow(store, row)) {
        const std::string reason = errorMessage(lastError());
        store.closeAllTables();
        inform("订单保存失败！" + reason);
        return false;
    }
    app.orderRecordNumber = store.recordNumber();
    app.orderNumber = number;
    store.closeAllTables();
    return true;
}

void NewOrderDialog::destroying() {
    MainWindow* w = app.mainWindow();
    if (app.newOrderConfirmed && w) {
        app.newOrderConfirmed = false;
        // The photos appear in the main window; the dialog is gone from view while they load, and the
        // main window takes no clicks from here on until they are in.
        MainWindow::LoadInProgress busy(*w);
        hide();
        w->showLoadingPanel();
        app.host.waitWithEvents(50);
        w->openOrderPhotos(编辑框7.text());
    }
    if (w) w->按钮_导入选片数据.enable();
}

}  // namespace xp
