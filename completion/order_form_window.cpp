// The order form: filled from the order's row and photo table when it opens, saved to the order's row
// with the save marker, printed through the print grid.
#include "completion/order_form_window.h"

#include <algorithm>

#include "appdata/selection_files.h"
#include "appdata/settings_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "appdata/text_helpers.h"
#include "completion/order_form_print.h"
#include "completion/order_summary.h"
#include "resources/palette.h"
#include "shell/main_window.h"
#include "shell/messages.h"

namespace xp {

namespace {

namespace of = order_fields;

constexpr ui::Color kFormColour{96, 96, 96};
constexpr ui::Color kExtraText{255, 0, 0};
constexpr ui::Color kExtraBack{192, 192, 192};

}  // namespace

OrderFormWindow::OrderFormWindow(AppState& state) : ui::Window("OrderFormWindow", {0, 0, 720, 584}), app(state) {
    setBorder(ui::BorderStyle::None);
    setBackColor(kFormColour);

    const std::pair<ui::TransparentLabel*, const char*> labels[] = {
        {&标签_顾客姓名, "顾客姓名："}, {&标签_是否加急, "是否加急："}, {&标签_拍摄张数, "拍摄张数："},
        {&标签_加选张数, "加选张数："}, {&标签_看样日期, "看样日期："}, {&标签_取件日期, "取件日期："},
        {&标签_应选张数, "应选张数："}, {&标签_加选金额, "加选金额："},
    };
    for (const auto& [label, caption] : labels) {
        label->setCaption(caption);
        label->setAlign(ui::HAlign::Right);
        label->setTextColor(colour(pictures::palette::text));
    }
    标签_常用制作要求.setCaption("待选择的常用制作要求：");
    标签_常用制作要求.setTextColor(colour(pictures::palette::text));
    标签_制作要求.setCaption("制作要求：");
    标签_制作要求.setTextColor(colour(pictures::palette::text));

    是否加急组合框.setStyle(ui::ComboStyle::DropDownList);
    是否加急组合框.addItem(kUrgentNo);
    是否加急组合框.addItem(kUrgentYes);
    加选张数编辑框.setFont(ui::Font{{}, 0, true});
    加选张数编辑框.setTextColor(kExtraText);
    加选张数编辑框.setBackColor(kExtraBack);
    制作要求编辑框.setMultiLine(true);
    制作要求编辑框.setScrollBar(true);

    按钮_增删制作要求.setCaption("增删制作要求");
    按钮_保存.setCaption("保存");
    按钮_打印表单.setCaption("打印表单");
    按钮_退出.setCaption("退出");

    超级列表框2.setMode(ui::ListViewMode::Report);
    超级列表框2.setFullRowSelect(true);
    超级列表框2.addColumn("商品名称", 120);
    超级列表框2.addColumn("数量", 40);
    超级列表框2.addColumn("照片编号", 525);
    组合框1.hide();
    // The form lays out in the grid for printing; the window shows no copy of it.
    高级表格1.hide();

    onCreated = [this] { created(); };
    看样日期编辑框.onFocusIn = [this] { 看样日期编辑框.setText(todayText()); };
    取件日期编辑框.onFocusIn = [this] { 取件日期编辑框.setText(todayText()); };
    列表框1.onDoubleClick = [this](int index) { addPreset(index); };
    按钮_增删制作要求.onClick = [this] { editPresets(); };
    按钮_保存.onClick = [this] { save(); };
    按钮_打印表单.onClick = [this] { printOrderForm(*this); };
    按钮_退出.onClick = [this] { close(); };
}

void OrderFormWindow::placeInContentArea() {
    MainWindow* main = app.mainWindow();
    if (!main) {
        centre();
        return;
    }
    const ui::Control& area = main->图片框2;
    move(area.left() + std::max((area.width() - width()) / 2, 0),
         area.top() + std::max((area.height() - height()) / 2, 0));
}

void OrderFormWindow::created() {
    if (MainWindow* main = app.mainWindow()) setParentWindow(main);
    placeInContentArea();
    orderRecord_ = app.orderRecordNumber;
    orderNumber_ = app.orderNumber;
    selectionFolder_ = app.selectionFolder();

    RecordStore& store = app.store;
    // The photo table is read once; the counts, the summary and the retouch list all come from it.
    std::vector<PhotoRow> rows;
    if (store.selectTable(kPhotoTableName)) rows = readPhotoRows(store);
    selected_ = xp::selectedCount(rows);

    拍摄张数编辑框.setText(readShotCount(app.selectionFolder()));

    std::string package;
    std::string stored;
    {
        TableScope orders(store, app.paths.orderTable);
        if (orders && store.goToRecord(app.orderRecordNumber)) {
            顾客姓名编辑框.setText(readText(store, of::kCustomerName));
            const std::string urgent = readText(store, of::kUrgent);
            for (int i = 0; i < 2; ++i)
                if (urgent == 是否加急组合框.item(i)) 是否加急组合框.setSelected(i);
            看样日期编辑框.setText(readText(store, of::kViewingDate));
            取件日期编辑框.setText(readText(store, of::kPickupDate));
            shouldSelect_ = readInt(store, of::kIncludedCount);
            extra_ = selected_ - shouldSelect_;
            加选张数编辑框.setText(std::to_string(extra_));
            应选张数编辑框.setText(std::to_string(shouldSelect_));
            package = readText(store, of::kPackageProducts);
            for (const std::string& product : orderProductList(package)) 组合框1.addItem(product);
            加选金额编辑框.setText(readText(store, of::kExtraAmount));
            stored = readText(store, of::kRequirements);
        }
    }

    for (const ProductLine& line : productSummary(组合框1.items(), rows)) {
        const int item = 超级列表框2.addItem(line.product);
        超级列表框2.setCell(item, 1, std::to_string(line.count));
        超级列表框2.setCell(item, 2, line.photos);
    }

    制作要求编辑框.setText(retouchList(rows) + kRequirementsSeparator + manualRequirements(stored));
    reloadPresets();
}

void OrderFormWindow::reloadPresets() {
    列表框1.clear();
    for (std::string& preset : readRequirementPresets(app.paths)) 列表框1.addItem(std::move(preset));
}

void OrderFormWindow::addPreset(int index) {
    if (index < 0 || index >= 列表框1.itemCount()) return;
    制作要求编辑框.setText(制作要求编辑框.text() + 列表框1.item(index) + "，");
}

void OrderFormWindow::editPresets() {
    MainWindow* main = app.mainWindow();
    if (!app.openers.requirementPresets || !main) {
        inform("“增删制作要求”功能尚未开放，敬请期待。");
        return;
    }
    app.openers.requirementPresets(*main);
    // The settings window asks for this too when it closes; reading the file again is harmless.
    if (isOpen()) reloadPresets();
}

bool OrderFormWindow::stillTheOpenOrder() const {
    if (app.orderRecordNumber == orderRecord_ && app.orderNumber == orderNumber_ &&
        app.selectionFolder() == selectionFolder_)
        return true;
    inform("已经打开了另一个订单，此选片单不能再保存或打印！请关闭后重新打开“保存选片数据”");
    return false;
}

bool OrderFormWindow::save() {
    if (!stillTheOpenOrder()) return false;
    if (取件日期编辑框.text().empty()) {
        inform("取件日期必须填写");
        return false;
    }
    if (看样日期编辑框.text().empty() &&
        !ask("看样日期没有填写，打印选片单的时候将设置为不看样直接输出，确定不填看样日期吗？"))
        return false;
    const int extra = textToInt(加选张数编辑框.text());
    if ((加选金额编辑框.text().empty() || textToInt(加选金额编辑框.text()) == 0) && extra > 0) {
        ui::messageBox("当前加选张数为：" + 加选张数编辑框.text() + " 张 请输入加选金额后在保存", kMessageTitle,
                       ui::MessageIcon::Warning);
        return false;
    }

    RecordStore& store = app.store;
    TableScope orders(store, app.paths.orderTable);
    if (!orders) {
        inform("保存选片数据库连接失败！");
        return false;
    }
    // The row under the remembered record number must still be this order's: another workstation may
    // have removed orders since it was opened, and the form must not land on someone else's order.
    bool ok = store.goToRecord(app.orderRecordNumber) &&
              (app.orderNumber.empty() || readText(store, of::kOrderNumber) == app.orderNumber);
    if (ok) {
        const std::string urgent = 是否加急组合框.selected() >= 0 ? 是否加急组合框.selectedText() : kUrgentNo;
        const std::pair<const char*, std::string> writes[] = {
            {of::kUrgent, urgent},
            {of::kViewingDate, 看样日期编辑框.text()},
            {of::kPickupDate, 取件日期编辑框.text()},
            {of::kExtraCount, 加选张数编辑框.text()},
            {of::kExtraAmount, extra > 0 ? 加选金额编辑框.text() : std::string("0")},
            {of::kRequirements, 制作要求编辑框.text()},
        };
        // Every field must reach the row; a save that lost one is no success.
        for (const auto& [field, text] : writes) ok = writeText(store, field, text) && ok;
    }
    ok = ok && writeSaveMarker(app.selectionFolder());
    inform(ok ? "保存成功！" : "保存失败！请重试!");
    return ok;
}

OrderFormWindow& openOrderForm(MainWindow& main) {
    if (auto* open = main.app.host.find<OrderFormWindow>()) open->close();
    return main.app.host.open<OrderFormWindow>(main.app);
}

}  // namespace xp
