// The settings window: store details, selectors, categories and products, requirement presets, warm
// tips and the sample folder. Each handler opens the table it needs and gives it back before it returns.
#include "settings/settings_window.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "appdata/settings_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "resources/builtin_pictures.h"
#include "settings/reference_names.h"
#include "shell/main_window.h"
#include "shell/messages.h"

namespace xp {

namespace {

constexpr char kUserTableFailed[] = "用户数据库连接失败！";

// Every value of one text field of the scope's table, in table order.
std::vector<std::string> column(RecordStore& store, std::string_view field) {
    std::vector<std::string> out;
    store.firstRecord();
    for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1)) out.push_back(readText(store, field));
    return out;
}

// Deletes the current row and purges it from the file; false when the row could not be deleted.
bool deleteCurrentRow(RecordStore& store) {
    if (!store.deleteRecord()) return false;
    // A row marked deleted is gone for every reader even when the purge fails; the next purge takes it.
    store.purgeDeleted();
    return true;
}

}  // namespace

SettingsWindow::SettingsWindow(AppState& state, Mode mode)
    : ui::Window("SettingsWindow", {0, 0, 406, 363}), app(state), mode_(mode) {
    setCaption("系统设置");
    setBorder(ui::BorderStyle::Fixed);
    高级选择夹1.setFont(ui::Font{{}, 10, false});

    struct Caption {
        ui::Control& control;
        const char* text;
    };
    for (const Caption& c : {Caption{标签_店名, "店名：(打印选片报表时在表头显示的内容)"},
                             Caption{标签_电话, "服务电话：（打印选片报表时在表内显示的内容）"},
                             Caption{标签_地址, "地址：（打印选片报表时在表内显示的内容）"},
                             Caption{标签_网站, "网站：（打印选片报表时在表内显示的内容）"},
                             Caption{标签_选片报表名, "选片报表名：（打印选片报表时在表头显示的内容）"},
                             Caption{按钮_保存, "保存"},
                             Caption{标签_用户名, "用户名："},
                             Caption{标签_密码, "密 码："},
                             Caption{按钮_新增选片人员, "新增选片人员"},
                             Caption{标签_选片人员列表, "选片人员列表："},
                             Caption{按钮_删除选片人员, "删除选片人员"},
                             Caption{标签_类别, "产品类别："},
                             Caption{按钮_新增类别, "新增类别"},
                             Caption{按钮_删类别, "删类别"},
                             Caption{标签_新增产品, "新产品名称："},
                             Caption{按钮_新增产品, "新增产品"},
                             Caption{标签_产品列表, "产品列表："},
                             Caption{按钮_删除产品, "删除产品"},
                             Caption{标签_常用制作要求, "常用制作要求"},
                             Caption{按钮_新增, "新增项目"},
                             Caption{按钮_删除项目, "删除项目"},
                             Caption{标签_温馨提示, "温馨提示设置（打印选片报表时显示在报表内）"},
                             Caption{标签_样照路径, "样照目录设置（选择存放样照的文件夹）"},
                             Caption{按钮_保存1, "保存"},
                             Caption{按钮_删除项目1, "退出"}})
        c.control.setCaption(c.text);
    for (ui::TransparentLabel* l : {&标签_店名, &标签_电话, &标签_地址, &标签_网站, &标签_选片报表名, &标签_用户名,
                                    &标签_密码, &标签_选片人员列表, &标签_类别, &标签_新增产品, &标签_产品列表,
                                    &标签_常用制作要求, &标签_温馨提示, &标签_样照路径})
        l->setWordWrap(false);
    标签_用户名.setAlign(ui::HAlign::Right);
    标签_密码.setAlign(ui::HAlign::Right);
    编辑框_温馨提示.setMultiLine(true);
    编辑框_温馨提示.setScrollBar(true);
    std::string_view icon = builtinPicture(pictures::folderIcon);
    图片框1.setPicture(std::vector<std::uint8_t>(icon.begin(), icon.end()));
    图片框1.setFit(ui::PictureFit::Centre);
    图片框1.setCursor(ui::Cursor::Hand);
    centre();

    onCreated = [this] { created(); };
    onDestroying = [this] { destroying(); };
    高级选择夹1.onTabChanged = [this](int index) { tabChanged(index); };
    按钮_保存.onClick = [this] { saveStoreDetails(); };
    按钮_新增选片人员.onClick = [this] { addSelector(); };
    按钮_删除选片人员.onClick = [this] { deleteSelector(); };
    组合框_类别.onSelect = [this](int) { fillProducts(); };
    按钮_新增类别.onClick = [this] { addCategory(); };
    按钮_删类别.onClick = [this] { deleteCategory(); };
    按钮_新增产品.onClick = [this] { addProduct(); };
    按钮_删除产品.onClick = [this] { deleteProduct(); };
    按钮_新增.onClick = [this] { addPreset(); };
    按钮_删除项目.onClick = [this] { deletePreset(); };
    图片框1.onMouseUp = [this](const ui::MouseEvent& e) {
        if (e.button == ui::MouseButton::Left) browseSampleFolder();
    };
    按钮_保存1.onClick = [this] { saveOther(); };
    按钮_删除项目1.onClick = [this] { close(); };
}

void SettingsWindow::created() {
    fillSelectors();
    fillCategories();
    if (组合框_类别.itemCount() > 0) 组合框_类别.setSelected(0);
    fillProducts();

    if (mode_ == Mode::RequirementsOnly) {
        高级选择夹1.setCurrent(RequirementsTab);
        for (int tab : {StoreTab, SelectorsTab, ProductsTab, OtherTab}) 高级选择夹1.setTabEnabled(tab, false);
    }

    const StoreDetails details = readStoreDetails(app.paths);
    编辑框_店名.setText(details.name);
    编辑框_电话.setText(details.phone);
    编辑框_地址.setText(details.address);
    编辑框_网站.setText(details.webSite);
    编辑框_选片报表名.setText(details.reportTitle);
    编辑框_温馨提示.setText(readWarmTips(app.paths));
    编辑框_样照路径.setText(readSampleFolderSetting(app.paths));
}

void SettingsWindow::fillSelectors() {
    TableScope users(app.store, app.paths.userTable);
    if (!users) return;
    // The administrator's account is never listed, so that it can be neither deleted nor changed here.
    for (std::string& name : column(app.store, user_fields::kUserName))
        if (name != kAdminUser) 列表框_选片人员.addItem(std::move(name));
}

void SettingsWindow::fillCategories() {
    TableScope categories(app.store, app.paths.categoryTable);
    if (!categories) return;
    for (std::string& name : column(app.store, category_fields::kName)) 组合框_类别.addItem(std::move(name));
}

void SettingsWindow::fillProducts() {
    列表框_产品.clear();
    if (组合框_类别.selected() < 0) return;
    const std::string category = 组合框_类别.selectedText();
    TableScope products(app.store, app.paths.productTable);
    if (!products) return;
    RecordStore& store = app.store;
    store.firstRecord();
    for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1))
        if (readText(store, product_fields::kCategory) == category)
            列表框_产品.addItem(readText(store, product_fields::kName));
}

void SettingsWindow::fillPresets() {
    for (std::string& preset : readRequirementPresets(app.paths)) 列表框1.addItem(std::move(preset));
}

void SettingsWindow::tabChanged(int index) {
    列表框1.clear();
    if (index == RequirementsTab) fillPresets();
}

void SettingsWindow::saveStoreDetails() {
    struct Required {
        const ui::EditBox& box;
        const char* message;
    };
    for (const Required& r : {Required{编辑框_店名, "店名必须填写"}, Required{编辑框_地址, "地址必须填写"},
                              Required{编辑框_电话, "服务电话必须填写"}}) {
        if (r.box.text().empty()) {
            inform(r.message);
            return;
        }
    }
    const StoreDetails details{编辑框_店名.text(), 编辑框_电话.text(), 编辑框_地址.text(), 编辑框_网站.text(),
                               编辑框_选片报表名.text()};
    if (writeStoreDetails(app.paths, details))
        inform("保存成功");
    else
        inform("本店信息保存失败！请检查程序目录下的data文件夹是否可以写入后重试");
}

void SettingsWindow::addSelector() {
    const std::string name = 编辑框_用户名.text();
    const std::string password = 编辑框_密码.text();
    if (name.empty() || password.empty()) {
        inform("用户名和密码都不能为空！");
        return;
    }
    {
        TableScope users(app.store, app.paths.userTable);
        if (!users) {
            inform(kUserTableFailed);
            return;
        }
        if (findFirstEqual(app.store, user_fields::kUserName, name)) {
            inform("已有此用户");
            return;
        }
        if (!appendNamedRow(app.store, {{user_fields::kUserName, name}, {user_fields::kPassword, password}})) {
            inform("选片人员添加失败！请重试");
            return;
        }
    }
    if (name != kAdminUser) 列表框_选片人员.addItem(name);
    编辑框_用户名.clear();
    编辑框_密码.clear();
}

void SettingsWindow::deleteSelector() {
    const int selected = 列表框_选片人员.selected();
    if (selected < 0) return;
    TableScope users(app.store, app.paths.userTable);
    if (!users) {
        inform(kUserTableFailed);
        return;
    }
    if (!findFirstEqual(app.store, user_fields::kUserName, 列表框_选片人员.item(selected))) return;
    if (deleteCurrentRow(app.store))
        列表框_选片人员.removeItem(selected);
    else
        inform("选片人员删除失败！请重试");
}

void SettingsWindow::addCategory() {
    std::string name;
    {
        TableScope categories(app.store, app.paths.categoryTable);
        if (!categories) return;
        name = ui::inputBox("请输入产品类别名称，例如：水晶相册");
        // Cancel and an empty answer look alike: both add nothing.
        if (trimBlanks(name).empty()) return;
        if (std::string problem = categoryNameProblem(name); !problem.empty()) {
            inform(problem);
            return;
        }
        if (!appendNamedRow(app.store, {{category_fields::kName, name}})) {
            inform("新类别：" + name + "添加失败！请重试");
            return;
        }
    }
    组合框_类别.addItem(name);
    // With no category chosen yet the new one is taken, so that products can be added to it at once.
    if (组合框_类别.selected() < 0) {
        组合框_类别.setSelected(组合框_类别.itemCount() - 1);
        fillProducts();
    }
    inform("新类别：" + name + "添加成功！");
}

void SettingsWindow::deleteCategory() {
    const int selected = 组合框_类别.selected();
    if (selected < 0) return;
    TableScope categories(app.store, app.paths.categoryTable);
    if (!categories) return;
    if (findFirstEqual(app.store, category_fields::kName, 组合框_类别.item(selected)) && deleteCurrentRow(app.store))
        组合框_类别.removeItem(selected);
}

void SettingsWindow::addProduct() {
    const std::string name = trimBlanks(编辑框_新增产品.text());
    if (组合框_类别.selected() < 0 || name.empty()) {
        inform("不能接受空数据");
        return;
    }
    if (std::string problem = productNameProblem(name); !problem.empty()) {
        inform(problem);
        return;
    }
    {
        TableScope products(app.store, app.paths.productTable);
        if (!products) return;
        // Unique across all categories: a product is found by its name alone everywhere else.
        if (findFirstEqual(app.store, product_fields::kName, name)) {
            inform("此产品以存在于列表中");
            return;
        }
        if (!appendNamedRow(app.store,
                            {{product_fields::kName, name}, {product_fields::kCategory, 组合框_类别.selectedText()}})) {
            inform("新产品添加失败！请重试");
            return;
        }
    }
    列表框_产品.addItem(name);
    编辑框_新增产品.clear();
}

void SettingsWindow::deleteProduct() {
    const int selected = 列表框_产品.selected();
    if (selected < 0) return;
    TableScope products(app.store, app.paths.productTable);
    if (!products) return;
    if (findFirstEqual(app.store, product_fields::kName, 列表框_产品.item(selected)) && deleteCurrentRow(app.store))
        列表框_产品.removeItem(selected);
}

void SettingsWindow::addPreset() {
    // Read again first: the presets another window added since this list was filled must survive.
    列表框1.clear();
    fillPresets();
    const std::string preset = ui::inputBox("请输入新的修片要求", "修片要求");
    if (trimBlanks(preset).empty()) return;
    列表框1.addItem(preset);
    storePresets();
}

void SettingsWindow::deletePreset() {
    const int selected = 列表框1.selected();
    if (selected < 0) return;
    列表框1.removeItem(selected);
    storePresets();
}

void SettingsWindow::storePresets() {
    if (writeRequirementPresets(app.paths, 列表框1.items())) return;
    inform("常用制作要求保存失败！请检查程序目录下的data文件夹是否可以写入后重试");
    列表框1.clear();
    fillPresets();
}

void SettingsWindow::browseSampleFolder() {
    const std::string folder = ui::host().browseFolder("选择样照所在文件夹");
    // Cancelling keeps what the box held, so that a look into the browser cannot lose the stored folder.
    if (!folder.empty()) 编辑框_样照路径.setText(folder);
}

void SettingsWindow::saveOther() {
    const bool tips = writeWarmTips(app.paths, 编辑框_温馨提示.text());
    const bool folder = writeSampleFolderSetting(app.paths, 编辑框_样照路径.text());
    if (tips && folder)
        inform("保存成功！");
    else if (!tips)
        inform("温馨提示保存失败！请检查程序目录下的data文件夹是否可以写入后重试");
    else
        inform("样照目录设置保存失败！请检查程序目录是否可以写入后重试");
}

void SettingsWindow::destroying() {
    MainWindow* main = app.mainWindow();
    if (!main) return;
    if (app.openers.requirementPresetsChanged) app.openers.requirementPresetsChanged(*main);
    main->按钮_系统设置.enable();
}

}  // namespace xp
