// The controls, looks and shared handlers of the two order dialogs.
#include "orders/order_dialog.h"

#include <cstdint>
#include <string_view>

#include "appdata/table_schema.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "orders/order_table.h"
#include "resources/builtin_pictures.h"
#include "resources/palette.h"
#include "shell/messages.h"

namespace xp {

namespace {

constexpr char kFolderTitle[] = "请选择照片存放的文件夹";

std::size_t gbkSize(std::string_view text) { return toGbk(text).size(); }

// A field label placed left of its control, right-aligned against it.
ui::Rect labelLeftOf(ui::Rect field) { return {4, field.top + 3, field.left - 6, 18}; }

}  // namespace

OrderDialog::OrderDialog(AppState& state, const Layout& l)
    : ui::Window(l.name, {0, 0, l.width, l.height}),
      app(state),
      分组框1(*this, "分组框1", l.group1),
      透明标签1(分组框1, "透明标签1", labelLeftOf({81, 20, 159, 22})),
      编辑框1(分组框1, "编辑框1", {81, 20, 159, 22}),
      透明标签2(分组框1, "透明标签2", labelLeftOf({81, 57, 159, 22})),
      编辑框2(分组框1, "编辑框2", {81, 57, 159, 22}),
      透明标签3(分组框1, "透明标签3", labelLeftOf({81, 95, 159, 22})),
      编辑框3(分组框1, "编辑框3", {81, 95, 159, 22}),
      透明标签4(分组框1, "透明标签4", labelLeftOf({81, 133, 159, 22})),
      编辑框4(分组框1, "编辑框4", {81, 133, 159, 22}),
      透明标签5(分组框1, "透明标签5", labelLeftOf({81, 172, 159, 22})),
      编辑框5(分组框1, "编辑框5", {81, 172, 159, 22}),
      透明标签6(分组框1, "透明标签6", labelLeftOf({80, 210, 160, 20})),
      组合框_是否加急(分组框1, "组合框_是否加急", l.urgent),
      透明标签7(分组框1, "透明标签7", labelLeftOf({81, 250, 137, 22})),
      编辑框7(分组框1, "编辑框7", {81, 250, 137, 22}),
      图片框1(分组框1, "图片框1", {218, 250, 22, 22}),
      透明标签8(分组框1, "透明标签8", labelLeftOf({81, 286, 159, 20})),
      组合框1(分组框1, "组合框1", {81, 288, 159, 20}),
      透明标签9(分组框1, "透明标签9", labelLeftOf({81, 320, 159, 22})),
      编辑框8(分组框1, "编辑框8", {81, 320, 159, 22}),
      分组框2(*this, "分组框2", l.group2),
      透明标签10(分组框2, "透明标签10", {13, 17, 122, 22}),
      组合框2(分组框2, "组合框2", {15, 45, 153, 20}),
      透明标签11(分组框2, "透明标签11", {172, 47, 69, 18}),
      编辑框_应选张数(分组框2, "编辑框_应选张数", {243, 45, 80, 20}),
      透明标签12(分组框2, "透明标签12", {15, 78, 120, 18}),
      列表框1(分组框2, "列表框1", {15, 98, 120, 240}),
      按钮_加入(分组框2, "按钮_加入", {141, 177, 56, 24}),
      按钮_移除(分组框2, "按钮_移除", {142, 210, 56, 24}),
      透明标签13(分组框2, "透明标签13", {204, 78, 120, 18}),
      列表框2(分组框2, "列表框2", {204, 98, 120, 240}),
      确定按钮(*this, "确定按钮", l.ok),
      取消按钮(*this, "取消按钮", l.cancel) {
    setCaption(l.caption);
    setBorder(l.border);
    setBackColor(l.background);
    const ui::Size screen = app.host.screenSize();
    move((screen.width - l.width) / 2, (screen.height - l.height) / 2);

    const ui::Color text = colour(pictures::palette::text);
    for (ui::GroupBox* g : {&分组框1, &分组框2}) g->setTextColor(text);
    struct Caption {
        ui::TransparentLabel& label;
        const char* text;
    };
    for (const Caption& c :
         {Caption{透明标签1, "*订单编号："}, Caption{透明标签2, "*顾客姓名："}, Caption{透明标签3, "*联系电话："},
          Caption{透明标签4, "看样日期："}, Caption{透明标签5, "取件日期："}, Caption{透明标签6, "是否加急："},
          Caption{透明标签7, "*选片目录："}, Caption{透明标签8, "*选 片 人："}, Caption{透明标签9, "选片日期："},
          Caption{透明标签10, "选择客户套系内商品"}, Caption{透明标签11, "*应选张数："},
          Caption{透明标签12, "待选项："}, Caption{透明标签13, "*以选项："}}) {
        c.label.setCaption(c.text);
        c.label.setTextColor(text);
        c.label.setWordWrap(false);
    }
    for (ui::TransparentLabel* l : {&透明标签1, &透明标签2, &透明标签3, &透明标签4, &透明标签5, &透明标签6, &透明标签7,
                                    &透明标签8, &透明标签9, &透明标签11})
        l->setAlign(ui::HAlign::Right);

    组合框_是否加急.addItem("否");
    组合框_是否加急.addItem("加急");
    std::string_view icon = builtinPicture(pictures::folderIcon);
    图片框1.setPicture(std::vector<std::uint8_t>(icon.begin(), icon.end()));
    图片框1.setFit(ui::PictureFit::Centre);
    图片框1.setCursor(ui::Cursor::Hand);
    按钮_加入.setCaption("加入>");
    按钮_移除.setCaption("< 移除");
    确定按钮.setCaption("确定");
    取消按钮.setCaption("取消");

    // Enter confirms, Esc is 取消, as in every dialog.
    setDefaultButton(&确定按钮);
    setCancelButton(&取消按钮);

    按钮_加入.onClick = [this] { addProduct(); };
    组合框2.onSelect = [this](int) { fillProducts(); };
    图片框1.onMouseUp = [this](const ui::MouseEvent& e) {
        if (e.button == ui::MouseButton::Left) browseFolder();
    };
}

std::string OrderDialog::packageText() const { return joinProductList(列表框2.items()); }

void OrderDialog::fillSelectors() {
    for (std::string& name : selectorNames(app.store, app.paths.userTable)) 组合框1.addItem(std::move(name));
}

void OrderDialog::fillCategories() {
    for (std::string& name : categoryNames(app.store, app.paths.categoryTable)) 组合框2.addItem(std::move(name));
}

bool OrderDialog::fillProducts() {
    列表框1.clear();
    std::vector<std::string> names;
    if (!productsOfCategory(app.store, app.paths.productTable, 组合框2.selectedText(), names)) return false;
    for (std::string& name : names) 列表框1.addItem(std::move(name));
    return true;
}

void OrderDialog::limitToFields(const std::map<std::string, std::size_t>& widths) {
    namespace of = order_fields;
    struct Entry {
        ui::EditBox& box;
        const char* field;
    };
    for (const Entry& e :
         {Entry{编辑框1, of::kOrderNumber}, Entry{编辑框2, of::kCustomerName}, Entry{编辑框3, of::kPhone},
          Entry{编辑框4, of::kViewingDate}, Entry{编辑框5, of::kPickupDate}, Entry{编辑框7, of::kSelectionFolder},
          Entry{编辑框8, of::kSelectionDate}, Entry{编辑框_应选张数, of::kIncludedCount}}) {
        auto it = widths.find(e.field);
        if (it != widths.end()) e.box.setTextLimit(it->second, gbkSize);
    }
    auto package = widths.find(of::kPackageProducts);
    packageWidth_ = package == widths.end() ? 0 : package->second;
}

void OrderDialog::addProduct() {
    if (列表框1.selected() < 0) return;
    const std::string product = 列表框1.selectedText();
    if (packageWidth_ > 0 && gbkSize(packageText() + product + kProductListSeparator) > packageWidth_) {
        inform("套系产品太多，无法再加入“" + product + "”");
        return;
    }
    列表框2.addItem(product);
}

void OrderDialog::browseFolder() {
    const std::string folder = app.host.browseFolder(kFolderTitle);
    // A path cut to the field would name another folder: it is refused whole.
    if (!编辑框7.fits(folder)) {
        inform("所选文件夹的路径太长，请选择路径较短的文件夹");
        return;
    }
    编辑框7.setText(folder);
}

void OrderDialog::selectText(ui::ComboBox& box, const std::string& text) { box.setSelected(box.indexOf(text)); }

}  // namespace xp
