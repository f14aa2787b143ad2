// The order edit dialog: the current order shown from the order table (which stays open and current
// while the dialog is open), the package products taken off the photos, the changes stored.
#include "orders/order_edit_dialog.h"

#include <algorithm>
#include <vector>

#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_helpers.h"
#include "orders/order_table.h"
#include "platform/file_system.h"
#include "shell/main_window.h"
#include "shell/messages.h"
#include "store/record_store.h"

namespace xp {

namespace {

namespace of = order_fields;
namespace pf = photo_fields;

// The alias under which the edited order's photo table is opened when it is not the open order's.
constexpr char kEditedPhotoTable[] = "xpdata_edit";

}  // namespace

OrderEditDialog::OrderEditDialog(AppState& state)
    : OrderDialog(state, Layout{"OrderEditDialog",
                                "客户资料查看修改",
                                617,
                                422,
                                ui::BorderStyle::Fixed,
                                ui::Color{32, 32, 32},
                                {8, 8, 258, 352},
                                {264, 8, 343, 352},
                                {81, 212, 159, 20},
                                {221, 367, 80, 25},
                                {308, 367, 80, 25}}) {
    onCreated = [this] { created(); };
    onDestroying = [this] { destroying(); };
    组合框2.onSelect = [this](int) { categoryChanged(); };
    // The year and month, the cursor after them, ready for the day to be typed.
    编辑框4.onFocusIn = [this] { 编辑框4.setText(currentMonthPrefix()); };
    编辑框5.onFocusIn = [this] { 编辑框5.setText(currentMonthPrefix()); };
    按钮_移除.onClick = [this] { removeProduct(); };
    确定按钮.onClick = [this] { confirm(); };
    取消按钮.onClick = [this] { cancel(); };
}

void OrderEditDialog::created() {
    fillSelectors();
    fillCategories();
    组合框2.setSelected(0);
    fillProducts();

    RecordStore& store = app.store;
    if (!openAppTable(store, app.paths.orderTable)) {
        limitToFields(textFieldWidths(tableFields(AppTable::Orders)));
        return;
    }
    limitToFields(textFieldWidths(store.tableFields()));
    store.goToRecord(app.orderRecordNumber);
    编辑框1.setText(readText(store, of::kOrderNumber));
    编辑框2.setText(readText(store, of::kCustomerName));
    编辑框3.setText(readText(store, of::kPhone));
    编辑框4.setText(readText(store, of::kViewingDate));
    编辑框5.setText(readText(store, of::kPickupDate));
    selectText(组合框_是否加急, readText(store, of::kUrgent));
    编辑框7.setText(readText(store, of::kSelectionFolder));
    编辑框8.setText(readText(store, of::kSelectionDate));
    编辑框_应选张数.setText(readText(store, of::kIncludedCount));
    for (std::string& product : splitProductList(readText(store, of::kPackageProducts)))
        列表框2.addItem(std::move(product));
    selectText(组合框1, readText(store, of::kSelector));
    orderShown_ = store.recordCount() > 0;
    shownNumber_ = 编辑框1.text();
}

void OrderEditDialog::categoryChanged() {
    if (fillProducts()) app.store.selectTable(kOrderTableName);
}

void OrderEditDialog::removeProduct() {
    const int selected = 列表框2.selected();
    const std::string product = selected >= 0 ? 列表框2.item(selected) : std::string();
    if (selected >= 0) 列表框2.removeItem(selected);
    列表框2.setSelected(0);
    if (product.empty()) return;

    RecordStore& store = app.store;
    const std::string folder = 编辑框7.text();
    if (folder.empty()) return;
    // The open order's photo table is used when it is this order's; otherwise (the dialog was opened
    // from the order list, or the folder field now names another folder) the edited order's own table
    // is opened for the update and closed again, so that the change is never skipped.
    const bool photoTableOpen = store.selectTable(kPhotoTableName);
    // The stored folder and the table file may differ from the disk in letter case, as the loader allows.
    const bool own = photoTableOpen && samePath(store.tablePath(), photoTableFile(folder));
    // The current selection folder follows the folder field, unless another order's photos are open.
    if (own || !photoTableOpen) app.setSelectionFolder(folder);
    int written = 0;
    if (own) {
        written = removeFromPhotos(product);
    } else if (fileExists(photoTableFile(folder))) {
        OpenOptions options;
        options.alias = kEditedPhotoTable;
        options.password = kTablePassword;
        if (store.openTable(photoTablePath(folder), options)) {
            written = removeFromPhotos(product);
            store.closeTable(kEditedPhotoTable);
        } else {
            written = -1;
        }
    }
    store.selectTable(kOrderTableName);
    if (written < 0) {
        // The package keeps what its photos still carry.
        列表框2.insertItem(selected, product);
        列表框2.setSelected(selected);
        inform("“" + product + "”未能从该顾客的照片中移除！请检查选片目录是否可以写入后重试");
    }
}

int OrderEditDialog::removeFromPhotos(const std::string& product) {
    RecordStore& store = app.store;
    int written = 0;
    store.firstRecord();
    const int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        const std::string products = readText(store, pf::kProducts);
        if (!products.empty()) {
            std::vector<std::string> names = splitProductList(products);
            auto it = std::find(names.begin(), names.end(), product);
            if (it != names.end()) {
                names.erase(it);
                bool ok = writeText(store, pf::kProducts, joinProductList(names));
                if (names.empty()) ok = writeText(store, pf::kRetouch, "") && ok;
                if (!ok) return -1;
                ++written;
            }
        }
        store.skipRecords(1);
    }
    return written;
}

void OrderEditDialog::confirm() {
    const std::string problem = storeChanges();
    if (!problem.empty()) {
        inform("顾客资料修改失败！" + problem);
        return;
    }
    inform("顾客资料修改成功！");
    close();
}

std::string OrderEditDialog::storeChanges() {
    RecordStore& store = app.store;
    if (!orderShown_ || !store.selectTable(kOrderTableName)) return "数据库连接失败，请重试";
    store.goToRecord(app.orderRecordNumber);
    const int row = store.recordNumber();
    const std::string oldNumber = readText(store, of::kOrderNumber);
    // Another workstation may have deleted orders meanwhile: the row under this record number must
    // still be the order the dialog showed, or the changes would land on someone else's order.
    if (oldNumber != shownNumber_) return "该订单已被删除或移动，请重新打开数据管理后再修改";
    const std::string number = 编辑框1.text();
    if (number != oldNumber) {
        // Orders are found by their number, first match first: a second order under one number could
        // never be opened again.
        const bool taken = findFirstEqual(store, of::kOrderNumber, number);
        store.goToRecord(row);
        if (taken) return "订单编号“" + number + "”已存在，请使用其他订单编号";
    }
    struct Write {
        const char* field;
        std::string text;
    };
    std::vector<Write> writes = {
        {of::kOrderNumber, number},
        {of::kCustomerName, 编辑框2.text()},
        {of::kPhone, 编辑框3.text()},
        {of::kViewingDate, 编辑框4.text()},
        {of::kPickupDate, 编辑框5.text()},
        {of::kSelectionFolder, 编辑框7.text()},
        {of::kSelectionDate, 编辑框8.text()},
        {of::kIncludedCount, 编辑框_应选张数.text()},
        {of::kPackageProducts, packageText()},
    };
    // A box that shows no choice (the stored text is none of its items) keeps the stored text.
    if (组合框_是否加急.selected() >= 0) writes.push_back({of::kUrgent, 组合框_是否加急.selectedText()});
    if (组合框1.selected() >= 0) writes.push_back({of::kSelector, 组合框1.selectedText()});
    for (const Write& w : writes)
        if (!writeText(store, w.field, w.text)) return errorMessage(lastError());
    if (app.orderNumber == oldNumber || app.orderNumber.empty()) app.orderNumber = number;
    return {};
}

void OrderEditDialog::cancel() {
    app.store.closeTable(kOrderTableName);
    app.store.selectTable(kPhotoTableName);
    close();
}

void OrderEditDialog::destroying() {
    app.store.closeTable(kOrderTableName);
    app.store.selectTable(kPhotoTableName);
    if (MainWindow* w = app.mainWindow()) w->按钮_顾客资料.enable();
}

}  // namespace xp
