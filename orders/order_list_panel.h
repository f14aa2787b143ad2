// The order-list panel of the main window (外形框_数据管理): the order list with its three filters, the
// lookups by order number and by customer, refresh, deleting an order, choosing a row and opening an
// order with a double click.
#pragma once

#include <string>
#include <string_view>

#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/ui.h"

namespace xp {

class OrderListPanel : public MainWindowPart {
public:
    explicit OrderListPanel(MainWindow& window);

    static OrderListPanel* of(MainWindow& window) { return window.findPart<OrderListPanel>(); }

    MainWindow& window;
    AppState& app;

    // Inside 分组框1.
    ui::EditBox 编辑框_单号查询;
    ui::Button 按钮_单号查询;
    ui::EditBox 编辑框_顾客查询;
    ui::Button 按钮_顾客查询;
    ui::RadioButton 单选框_以选;
    ui::RadioButton 单选框_未选;
    ui::RadioButton 单选框_全部;
    ui::Button 按钮_退出;
    ui::Button 按钮_顾客查询1;  // 刷新列表
    ui::Button 按钮_删除此单;

    // 数据管理: sets the list up afresh and lists every order (the main window has shown the panel).
    void fill();
    // Runs the handler of whichever filter is checked.
    void refresh();

private:
    ui::ListView& list() { return window.超级列表框2; }
    void addRow();
    void filter(ui::RadioButton& radio, std::string_view state);
    void lookUp(const ui::EditBox& box, std::string_view field, const char* emptyMessage, const char* failMessage);
    void rowSelected(int index);
    void open(int index);
    void exit();
    void deleteOrder();
};

// Plugs the order windows into every main window the application makes: the order-list panel (and the
// photo-list panel it opens orders into), the new order dialog and the order edit dialog.
void installOrderWindows(AppState& app);

}  // namespace xp
