// The settings window (系统设置): five tabs for the studio's reference data, each change written to its
// table or file at once. Opened modally from the main window with every tab, or from the order form with
// only the production-requirement tab.
#pragma once

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

class SettingsWindow : public ui::Window {
public:
    enum class Mode {
        AllTabs,
        // Opened for the requirement presets alone: that tab is current, the others cannot be chosen.
        RequirementsOnly,
    };
    // The tabs, in their order.
    enum Tab { StoreTab = 0, SelectorsTab = 1, ProductsTab = 2, RequirementsTab = 3, OtherTab = 4 };

    explicit SettingsWindow(AppState& app, Mode mode = Mode::AllTabs);

    Mode mode() const { return mode_; }

    AppState& app;

    ui::TabControl 高级选择夹1{*this,
                               "高级选择夹1",
                               {0, 0, 400, 336},
                               {"本店信息设置", "选片人员设置", "产品内容设置", "制作要求设置", "其它设置"}};

    // 本店信息设置
    ui::TransparentLabel 标签_店名{高级选择夹1.page(StoreTab), "标签_店名", {32, 44, 330, 18}};
    ui::EditBox 编辑框_店名{高级选择夹1.page(StoreTab), "编辑框_店名", {32, 64, 270, 25}};
    ui::TransparentLabel 标签_电话{高级选择夹1.page(StoreTab), "标签_电话", {32, 100, 360, 18}};
    ui::EditBox 编辑框_电话{高级选择夹1.page(StoreTab), "编辑框_电话", {32, 120, 270, 25}};
    ui::TransparentLabel 标签_地址{高级选择夹1.page(StoreTab), "标签_地址", {32, 157, 360, 18}};
    ui::EditBox 编辑框_地址{高级选择夹1.page(StoreTab), "编辑框_地址", {32, 177, 270, 25}};
    ui::TransparentLabel 标签_网站{高级选择夹1.page(StoreTab), "标签_网站", {32, 215, 360, 18}};
    ui::EditBox 编辑框_网站{高级选择夹1.page(StoreTab), "编辑框_网站", {32, 235, 270, 25}};
    ui::TransparentLabel 标签_选片报表名{高级选择夹1.page(StoreTab), "标签_选片报表名", {29, 279, 368, 18}};
    ui::EditBox 编辑框_选片报表名{高级选择夹1.page(StoreTab), "编辑框_选片报表名", {29, 299, 187, 25}};
    ui::Button 按钮_保存{高级选择夹1.page(StoreTab), "按钮_保存", {223, 300, 80, 25}};

    // 选片人员设置
    ui::TransparentLabel 标签_用户名{高级选择夹1.page(SelectorsTab), "标签_用户名", {17, 53, 58, 18}};
    ui::EditBox 编辑框_用户名{高级选择夹1.page(SelectorsTab), "编辑框_用户名", {78, 51, 129, 20}};
    ui::TransparentLabel 标签_密码{高级选择夹1.page(SelectorsTab), "标签_密码", {17, 89, 58, 18}};
    ui::EditBox 编辑框_密码{高级选择夹1.page(SelectorsTab), "编辑框_密码", {78, 87, 129, 20}};
    ui::Button 按钮_新增选片人员{高级选择夹1.page(SelectorsTab), "按钮_新增选片人员", {231, 64, 80, 30}};
    ui::TransparentLabel 标签_选片人员列表{高级选择夹1.page(SelectorsTab), "标签_选片人员列表", {17, 136, 200, 18}};
    ui::ListBox 列表框_选片人员{高级选择夹1.page(SelectorsTab), "列表框_选片人员", {17, 156, 200, 168}};
    ui::Button 按钮_删除选片人员{高级选择夹1.page(SelectorsTab), "按钮_删除选片人员", {231, 158, 80, 30}};

    // 产品内容设置
    ui::TransparentLabel 标签_类别{高级选择夹1.page(ProductsTab), "标签_类别", {31, 36, 208, 18}};
    ui::ComboBox 组合框_类别{高级选择夹1.page(ProductsTab), "组合框_类别", {31, 56, 208, 20}};
    ui::Button 按钮_新增类别{高级选择夹1.page(ProductsTab), "按钮_新增类别", {246, 56, 56, 20}};
    ui::Button 按钮_删类别{高级选择夹1.page(ProductsTab), "按钮_删类别", {312, 56, 56, 20}};
    ui::TransparentLabel 标签_新增产品{高级选择夹1.page(ProductsTab), "标签_新增产品", {32, 78, 200, 18}};
    ui::EditBox 编辑框_新增产品{高级选择夹1.page(ProductsTab), "编辑框_新增产品", {32, 98, 200, 20}};
    ui::Button 按钮_新增产品{高级选择夹1.page(ProductsTab), "按钮_新增产品", {244, 98, 80, 20}};
    ui::TransparentLabel 标签_产品列表{高级选择夹1.page(ProductsTab), "标签_产品列表", {32, 134, 200, 18}};
    ui::ListBox 列表框_产品{高级选择夹1.page(ProductsTab), "列表框_产品", {32, 154, 200, 168}};
    ui::Button 按钮_删除产品{高级选择夹1.page(ProductsTab), "按钮_删除产品", {244, 154, 80, 20}};

    // 制作要求设置
    ui::TransparentLabel 标签_常用制作要求{高级选择夹1.page(RequirementsTab), "标签_常用制作要求", {17, 41, 359, 18}};
    ui::ListBox 列表框1{高级选择夹1.page(RequirementsTab), "列表框1", {17, 61, 359, 227}};
    ui::Button 按钮_新增{高级选择夹1.page(RequirementsTab), "按钮_新增", {76, 301, 80, 24}};
    ui::Button 按钮_删除项目{高级选择夹1.page(RequirementsTab), "按钮_删除项目", {172, 301, 80, 24}};

    // 其它设置
    ui::TransparentLabel 标签_温馨提示{高级选择夹1.page(OtherTab), "标签_温馨提示", {9, 36, 376, 18}};
    ui::EditBox 编辑框_温馨提示{高级选择夹1.page(OtherTab), "编辑框_温馨提示", {9, 56, 376, 64}};
    ui::TransparentLabel 标签_样照路径{高级选择夹1.page(OtherTab), "标签_样照路径", {8, 136, 376, 18}};
    ui::EditBox 编辑框_样照路径{高级选择夹1.page(OtherTab), "编辑框_样照路径", {8, 156, 352, 22}};
    ui::PictureBox 图片框1{高级选择夹1.page(OtherTab), "图片框1", {360, 156, 22, 22}};
    ui::Button 按钮_保存1{高级选择夹1.page(OtherTab), "按钮_保存1", {228, 299, 80, 25}};

    // Outside the tabs: closes the window.
    ui::Button 按钮_删除项目1{*this, "按钮_删除项目1", {313, 301, 80, 24}};

private:
    void created();
    void tabChanged(int index);

    void fillSelectors();
    void fillCategories();
    // Lists the products of the selected category (none while no category is selected).
    void fillProducts();
    void fillPresets();

    void saveStoreDetails();
    void addSelector();
    void deleteSelector();
    void addCategory();
    void deleteCategory();
    void addProduct();
    void deleteProduct();
    void addPreset();
    void deletePreset();
    // Writes the presets list as the file; on failure says so and shows the file as it is.
    void storePresets();
    void browseSampleFolder();
    void saveOther();
    void destroying();

    Mode mode_;
};

}  // namespace xp
