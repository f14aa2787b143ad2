// The order form (OrderFormWindow): where the selector closes a customer's selection. It shows the
// counts, the dates, the extra amount, the product summary and the production requirements of the open
// order, saves them to the order's row and leaves the save marker; printing and auto-split need it.
#pragma once

#include <string>
#include <vector>

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

class OrderFormWindow : public ui::Window {
public:
    explicit OrderFormWindow(AppState& app);

    AppState& app;

    ui::TransparentLabel 标签_顾客姓名{*this, "标签_顾客姓名", {8, 20, 66, 16}};
    ui::EditBox 顾客姓名编辑框{*this, "顾客姓名编辑框", {76, 17, 117, 20}};
    ui::TransparentLabel 标签_是否加急{*this, "标签_是否加急", {214, 20, 66, 16}};
    ui::ComboBox 是否加急组合框{*this, "是否加急组合框", {282, 17, 118, 20}};
    ui::TransparentLabel 标签_拍摄张数{*this, "标签_拍摄张数", {410, 20, 66, 16}};
    ui::EditBox 拍摄张数编辑框{*this, "拍摄张数编辑框", {478, 17, 67, 20}};
    ui::TransparentLabel 标签_加选张数{*this, "标签_加选张数", {562, 20, 66, 16}};
    ui::EditBox 加选张数编辑框{*this, "加选张数编辑框", {630, 17, 67, 20}};
    ui::TransparentLabel 标签_看样日期{*this, "标签_看样日期", {8, 59, 66, 16}};
    ui::EditBox 看样日期编辑框{*this, "看样日期编辑框", {76, 56, 117, 20}};
    ui::TransparentLabel 标签_取件日期{*this, "标签_取件日期", {214, 59, 66, 16}};
    ui::EditBox 取件日期编辑框{*this, "取件日期编辑框", {282, 56, 117, 20}};
    ui::TransparentLabel 标签_应选张数{*this, "标签_应选张数", {410, 59, 66, 16}};
    ui::EditBox 应选张数编辑框{*this, "应选张数编辑框", {478, 56, 67, 20}};
    ui::TransparentLabel 标签_加选金额{*this, "标签_加选金额", {562, 59, 66, 16}};
    ui::EditBox 加选金额编辑框{*this, "加选金额编辑框", {630, 56, 67, 20}};
    ui::TransparentLabel 标签_常用制作要求{*this, "标签_常用制作要求", {13, 82, 184, 16}};
    ui::ListBox 列表框1{*this, "列表框1", {14, 101, 184, 105}};
    ui::TransparentLabel 标签_制作要求{*this, "标签_制作要求", {215, 82, 200, 16}};
    ui::EditBox 制作要求编辑框{*this, "制作要求编辑框", {214, 101, 486, 105}};
    ui::Button 按钮_增删制作要求{*this, "按钮_增删制作要求", {16, 213, 184, 25}};
    ui::Button 按钮_保存{*this, "按钮_保存", {441, 213, 80, 25}};
    ui::Button 按钮_打印表单{*this, "按钮_打印表单", {531, 213, 80, 25}};
    ui::Button 按钮_退出{*this, "按钮_退出", {619, 213, 80, 25}};
    ui::ListView 超级列表框2{*this, "超级列表框2", {14, 245, 687, 296}};
    ui::ComboBox 组合框1{*this, "组合框1", {24, 552, 100, 20}};
    ui::Grid 高级表格1{*this, "高级表格1", {16, 576, 752, 48}};

    // The values the window keeps while open.
    int selectedCount() const { return selected_; }
    int shouldSelectCount() const { return shouldSelect_; }
    int extraCount() const { return extra_; }

    // Clears the presets list and fills it from the presets file again.
    void reloadPresets();

    // Saves the form; true when the order row and the save marker were written.
    bool save();

    // True while the order the form was opened for is still the open order; otherwise the user is told
    // to open the form again (its counts and summary belong to the other order).
    bool stillTheOpenOrder() const;

private:
    void created();
    void placeInContentArea();
    void editPresets();
    void addPreset(int index);

    // The order the form was opened for.
    int orderRecord_ = 0;
    std::string orderNumber_;
    std::string selectionFolder_;

    int selected_ = 0;
    int shouldSelect_ = 0;
    int extra_ = 0;
};

// The order form of the open order, a child window of the main window; an order form already open is
// closed first, so that the new one shows the selection as it is now.
OrderFormWindow& openOrderForm(MainWindow& main);

}  // namespace xp
