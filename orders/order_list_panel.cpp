// The order list: filling, filters, lookups, refresh, row choice, opening and deleting an order.
#include "orders/order_list_panel.h"

#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "orders/new_order_dialog.h"
#include "orders/order_edit_dialog.h"
#include "orders/order_removal.h"
#include "orders/order_table.h"
#include "shell/messages.h"
#include "store/record_store.h"

namespace xp {

namespace {

namespace of = order_fields;

constexpr char kNoConnection[] = "数据库连接失败";
constexpr char kNotFound[] = "没有找到该订单记录！可能已被删除，请刷新列表后重试";

}  // namespace

OrderListPanel::OrderListPanel(MainWindow& w)
    : window(w),
      app(w.app),
      编辑框_单号查询(w.分组框1, "编辑框_单号查询", {24, 15, 97, 25}),
      按钮_单号查询(w.分组框1, "按钮_单号查询", {127, 15, 80, 25}),
      编辑框_顾客查询(w.分组框1, "编辑框_顾客查询", {224, 15, 97, 25}),
      按钮_顾客查询(w.分组框1, "按钮_顾客查询", {326, 15, 80, 25}),
      单选框_以选(w.分组框1, "单选框_以选", {432, 15, 56, 25}),
      单选框_未选(w.分组框1, "单选框_未选", {499, 15, 56, 25}),
      单选框_全部(w.分组框1, "单选框_全部", {566, 15, 56, 25}),
      按钮_退出(w.分组框1, "按钮_退出", {656, 15, 64, 25}),
      按钮_顾客查询1(w.分组框1, "按钮_顾客查询1", {736, 15, 80, 25}),
      按钮_删除此单(w.分组框1, "按钮_删除此单", {826, 15, 80, 25}) {
    按钮_单号查询.setCaption("单号查询");
    按钮_顾客查询.setCaption("顾客查询");
    单选框_以选.setCaption("以选");
    单选框_未选.setCaption("未选");
    单选框_全部.setCaption("全部");
    单选框_全部.setChecked(true);
    按钮_退出.setCaption("退出");
    按钮_顾客查询1.setCaption("刷新列表");
    按钮_删除此单.setCaption("删除此单");
    if (w.分组框1.textColor())
        for (ui::RadioButton* r : {&单选框_以选, &单选框_未选, &单选框_全部}) r->setTextColor(w.分组框1.textColor());

    // Enter while typing in a lookup box runs that lookup.
    编辑框_单号查询.setEnterButton(&按钮_单号查询);
    编辑框_顾客查询.setEnterButton(&按钮_顾客查询);

    按钮_单号查询.onClick = [this] {
        lookUp(编辑框_单号查询, of::kOrderNumber, "请正确输入订单编号",
               "订单编号查询失败！可能是数据库没有连接！请重试");
    };
    按钮_顾客查询.onClick = [this] {
        lookUp(编辑框_顾客查询, of::kCustomerName, "请正确输入顾客姓名",
               "顾客姓名查询失败！可能是数据库没有连接！请重试");
    };
    单选框_全部.onClick = [this] {
        list().clear();
        if (单选框_全部.isChecked()) window.showOrderList();
    };
    单选框_以选.onClick = [this] { filter(单选框_以选, kStateSplit); };
    单选框_未选.onClick = [this] { filter(单选框_未选, kStateNotSelected); };
    按钮_顾客查询1.onClick = [this] { refresh(); };
    按钮_退出.onClick = [this] { exit(); };
    按钮_删除此单.onClick = [this] { deleteOrder(); };
    list().onSelect = [this](int index) { rowSelected(index); };
    list().onDoubleClick = [this](int index) { open(index); };
}

void OrderListPanel::addRow() {
    RecordStore& store = app.store;
    const std::vector<std::string>& fields = orderListFields();
    const int row = list().addItem(readText(store, fields[0]));
    for (size_t c = 1; c < fields.size(); ++c) list().setCell(row, static_cast<int>(c), readText(store, fields[c]));
}

void OrderListPanel::fill() {
    ui::ListView& l = list();
    l.clear();
    l.clearColumns();
    l.setMode(ui::ListViewMode::Report);
    l.setFullRowSelect(true);
    for (const std::string& field : orderListFields()) l.addColumn(field, 120);

    RecordStore& store = app.store;
    TableScope orders(store, app.paths.orderTable, TableScope::OnExit::CloseAll);
    if (!orders) {
        inform(kNoConnection);
        return;
    }
    store.firstRecord();
    const int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        addRow();
        store.skipRecords(1);
    }
}

void OrderListPanel::filter(ui::RadioButton& radio, std::string_view state) {
    list().clear();
    if (!radio.isChecked()) return;
    RecordStore& store = app.store;
    TableScope orders(store, app.paths.orderTable, TableScope::OnExit::CloseAll);
    if (!orders) {
        inform(kNoConnection);
        return;
    }
    // Every order whose state is exactly this one, once each, in table order.
    store.firstRecord();
    const int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        if (readText(store, of::kState) == state) addRow();
        store.skipRecords(1);
    }
}

void OrderListPanel::refresh() {
    if (单选框_全部.isChecked())
        单选框_全部.onClick();
    else if (单选框_以选.isChecked())
        单选框_以选.onClick();
    else if (单选框_未选.isChecked())
        单选框_未选.onClick();
}

void OrderListPanel::lookUp(const ui::EditBox& box, std::string_view field, const char* emptyMessage,
                            const char* failMessage) {
    const std::string wanted = box.text();
    if (wanted.empty()) {
        inform(emptyMessage);
        return;
    }
    list().clear();
    RecordStore& store = app.store;
    TableScope orders(store, app.paths.orderTable, TableScope::OnExit::CloseAll);
    if (!orders) {
        inform(failMessage);
        store.closeAllTables();
        return;
    }
    if (findFirstEqual(store, field, wanted)) addRow();
}

void OrderListPanel::rowSelected(int index) {
    if (index < 0) return;
    RecordStore& store = app.store;
    TableScope orders(store, app.paths.orderTable, TableScope::OnExit::CloseAll);
    if (orders && findFirstEqual(store, of::kOrderNumber, list().cell(index, 0)))
        app.orderRecordNumber = store.recordNumber();
}

void OrderListPanel::open(int index) {
    if (index < 0 || list().selected() < 0) return;
    RecordStore& store = app.store;
    if (!openAppTable(store, app.paths.orderTable)) {
        inform("订单记录获取失败！请查检网络是否畅通后重试！");
        return;
    }
    // Without its row the order has no folder to open: loading whatever folder was current before
    // would show another order's photos under this one.
    if (!findFirstEqual(store, of::kOrderNumber, list().cell(list().selected(), 0))) {
        store.closeAllTables();
        inform(kNotFound);
        return;
    }
    app.orderRecordNumber = store.recordNumber();
    app.orderNumber = readText(store, of::kOrderNumber);
    const std::string folder = readText(store, of::kSelectionFolder);

    window.外形框_数据管理.hide();
    store.goToRecord(app.orderRecordNumber);
    store.closeAllTables();

    if (!window.openOrderPhotos(folder)) {
        // Nothing was opened: the list stays the function in use.
        window.外形框_数据管理.show();
        return;
    }
    window.按钮_数据管理.enable();
}

void OrderListPanel::exit() {
    window.外形框_数据管理.hide();
    window.按钮_数据管理.enable();
}

void OrderListPanel::deleteOrder() {
    const int index = list().selected();
    if (index < 0) {
        inform("请先选择要删除的订单！");
        return;
    }
    const std::string number = list().cell(index, 0);
    const std::string customer = list().cell(index, 1);
    if (!askDefaultNo("确定要删除订单“" + number + "”（顾客：" + customer + "）吗？\r\n\r\n" +
                      "照片不会被删除，该订单的选片数据将移到选片目录的备份文件夹中。"))
        return;

    RecordStore& store = app.store;
    if (!openAppTable(store, app.paths.orderTable)) {
        inform(kNoConnection);
        return;
    }
    if (!findFirstEqual(store, of::kOrderNumber, number)) {
        store.closeAllTables();
        inform(kNotFound);
        refresh();
        return;
    }
    const int row = store.recordNumber();
    const std::string folder = readText(store, of::kSelectionFolder);
    if (!store.deleteRecord() || !store.purgeDeleted()) {
        const std::string reason = errorMessage(lastError());
        store.closeAllTables();
        inform("订单删除失败！" + reason);
        return;
    }
    // A folder that another order still names keeps its photo table: it is that order's too.
    const bool shared = !folder.empty() && findFirstEqual(store, of::kSelectionFolder, folder);
    store.closeAllTables();

    // Record numbers after the deleted row moved up by one.
    if (app.orderRecordNumber == row) {
        app.orderRecordNumber = 0;
        if (app.orderNumber == number) app.orderNumber.clear();
    } else if (app.orderRecordNumber > row) {
        --app.orderRecordNumber;
    }

    if (!shared) {
        SetAsideResult aside = setAsideOrderData(folder);
        if (!aside.ok) inform("订单已删除，但选片目录中的选片数据未能移走：" + aside.problem);
    }
    refresh();
}

void installOrderWindows(AppState& app) {
    app.mainWindowBuilders.push_back([](MainWindow& w) {
        if (!OrderListPanel::of(w)) w.addPart<OrderListPanel>(w);
    });
    app.openers.fillOrderList = [](MainWindow& w) {
        if (OrderListPanel* panel = OrderListPanel::of(w)) panel->fill();
    };
    app.openers.newOrder = [](MainWindow& w) {
        NewOrderDialog dialog(w.app);
        w.app.host.showModal(dialog);
    };
    app.openers.editOrder = [](MainWindow& w) {
        OrderEditDialog dialog(w.app);
        w.app.host.showModal(dialog);
    };
}

}  // namespace xp
