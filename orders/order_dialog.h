// What the new order dialog and the order edit dialog share: the same controls under the same names
// (only a few positions differ), the selector, category and product lists, adding a product to the
// package and the folder browser.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

class OrderDialog : public ui::Window {
public:
    AppState& app;

    ui::GroupBox 分组框1;
    ui::TransparentLabel 透明标签1;
    ui::EditBox 编辑框1;  // 订单编号
    ui::TransparentLabel 透明标签2;
    ui::EditBox 编辑框2;  // 顾客姓名
    ui::TransparentLabel 透明标签3;
    ui::EditBox 编辑框3;  // 联系电话
    ui::TransparentLabel 透明标签4;
    ui::EditBox 编辑框4;  // 看样日期
    ui::TransparentLabel 透明标签5;
    ui::EditBox 编辑框5;  // 取件日期
    ui::TransparentLabel 透明标签6;
    ui::ComboBox 组合框_是否加急;
    ui::TransparentLabel 透明标签7;
    ui::EditBox 编辑框7;  // 选片目录
    ui::PictureBox 图片框1;
    ui::TransparentLabel 透明标签8;
    ui::ComboBox 组合框1;  // 选片人
    ui::TransparentLabel 透明标签9;
    ui::EditBox 编辑框8;  // 选片日期

    ui::GroupBox 分组框2;
    ui::TransparentLabel 透明标签10;
    ui::ComboBox 组合框2;  // product categories
    ui::TransparentLabel 透明标签11;
    ui::EditBox 编辑框_应选张数;
    ui::TransparentLabel 透明标签12;
    ui::ListBox 列表框1;  // products of the chosen category
    ui::Button 按钮_加入;
    ui::Button 按钮_移除;
    ui::TransparentLabel 透明标签13;
    ui::ListBox 列表框2;  // the package's products

    ui::Button 确定按钮;
    ui::Button 取消按钮;

    // The package as a product list text: every item of 列表框2 followed by "。".
    std::string packageText() const;

protected:
    struct Layout {
        const char* name;
        std::string caption;
        int width, height;
        ui::BorderStyle border;
        ui::Color background;
        ui::Rect group1, group2, urgent, ok, cancel;
    };
    OrderDialog(AppState& app, const Layout& layout);

    // The lists, read from their tables (a table that cannot be opened leaves its list empty).
    void fillSelectors();
    void fillCategories();
    // 列表框1 = the products of 组合框2's chosen category; false when the product table did not open.
    bool fillProducts();

    // Every edit box that writes a Text field of the order table takes no more than the field holds,
    // counted in the bytes the store keeps (GBK); so does the package. `widths` as orderFieldWidths gives.
    void limitToFields(const std::map<std::string, std::size_t>& widths);

    // Shared handlers.
    void addProduct();
    void browseFolder();
    void selectText(ui::ComboBox& box, const std::string& text);

private:
    std::size_t packageWidth_ = 0;  // 0: no limit
};

}  // namespace xp
