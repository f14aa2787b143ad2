// The photo-list panel: views and filter, entries and tiles, check list, viewer, deleting, closing.
#include "selection/photo_list_panel.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "resources/palette.h"
#include "selection/order_loader.h"
#include "selection/photo_caption.h"
#include "selection/photo_selection.h"
#include "selection/selection_viewer.h"
#include "shell/messages.h"

namespace xp {

namespace {

namespace pf = photo_fields;

const char kMismatch[] =
    "数据库中记录的文件与导入的照片不同\r\n\r\n可能的原因：（原照片被重命名或删除）\r\n\r\n"
    "请到数据管理中删除此单信息后，重新导入选片数据！";
const char kDeleteQuestion[] = "照片删除后不可恢复，确认要删除吗？";

// A photo row as the views read it: the stored texts, decoded.
struct ListedRow {
    std::int32_t recordNo = 0;
    std::string fileName, products;
    bool retouch = false;
};

// GBK to UTF-8 for the many short texts of a view: ASCII needs no conversion, and the few distinct
// product lists of an order are converted once each.
class Decoder {
public:
    const std::string& operator()(const std::string& gbk) {
        if (std::all_of(gbk.begin(), gbk.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return gbk;
        auto it = known_.find(gbk);
        if (it == known_.end()) it = known_.emplace(gbk, fromGbk(gbk)).first;
        return it->second;
    }

private:
    std::unordered_map<std::string, std::string> known_;
};

// Every row of the photo table in one pass: a search whose condition never holds visits each record
// once and reads it whole, which is far cheaper than moving the cursor and reading field by field.
std::vector<ListedRow> readListedRows(RecordStore& store) {
    static const FieldRef nameField(toGbk(pf::kFileName)), productsField(toGbk(pf::kProducts)),
        retouchField(toGbk(pf::kRetouch)), recordNoField(toGbk(pf::kRecordNumber));
    std::vector<ListedRow> rows;
    rows.reserve(static_cast<size_t>(std::max(store.recordCount(), 0)));
    Decoder decode;
    store.firstRecord();
    store.findRecord([&] {
        const FieldValue recordNo = store.readField(recordNoField);
        ListedRow row;
        row.recordNo = recordNo.isNumeric() ? recordNo.asInt() : textToInt(fromGbk(recordNo.asText()));
        row.fileName = decode(store.readField(nameField).asText());
        row.products = decode(store.readField(productsField).asText());
        row.retouch = !store.readField(retouchField).asText().empty();
        rows.push_back(std::move(row));
        return false;
    });
    return rows;
}

}  // namespace

PhotoListPanel::PhotoListPanel(MainWindow& w)
    : window(w),
      app(w.app),
      组合框1(w.分组框2, "组合框1", {32, 21, 135, 20}),
      查看以选按钮(w.分组框2, "查看以选按钮", {168, 20, 80, 22}),
      查看未选按钮(w.分组框2, "查看未选按钮", {252, 20, 80, 22}),
      查看全部按钮(w.分组框2, "查看全部按钮", {334, 20, 80, 22}),
      删除按钮(w.分组框2, "删除按钮", {424, 20, 80, 22}),
      全部删除按钮(w.分组框2, "全部删除按钮", {513, 20, 80, 22}),
      关闭按钮1(w.分组框2, "关闭按钮1", {601, 20, 80, 22}),
      按钮_保存选片数据(w.分组框2, "按钮_保存选片数据", {689, 20, 110, 22}) {
    组合框1.hide();
    查看以选按钮.setCaption("查看以选");
    查看未选按钮.setCaption("查看未选");
    查看全部按钮.setCaption("查看全部");
    删除按钮.setCaption("删除");
    全部删除按钮.setCaption("全部删除");
    关闭按钮1.setCaption("关闭");
    按钮_保存选片数据.setCaption("保存选片数据");

    查看以选按钮.onClick = [this] { viewSelected(); };
    查看未选按钮.onClick = [this] { viewUnselected(); };
    查看全部按钮.onClick = [this] { viewAll(); };
    组合框1.onSelect = [this](int) { filterByProduct(); };
    删除按钮.onClick = [this] { deleteChosen(); };
    全部删除按钮.onClick = [this] { deleteAll(); };
    关闭按钮1.onClick = [this] { closePanel(); };
    按钮_保存选片数据.onClick = [this] { saveSelection(); };

    ui::ListView& l = w.超级列表框1;
    l.onSelect = [this](int index) { entryChosen(index); };
    l.onDoubleClick = [this](int index) { openViewer(index); };
    l.onRightClick = [this](int index) { popUpCheckList(index); };
    l.onMouseDown = [this](const ui::MouseEvent& e) {
        if (e.button == ui::MouseButton::Left) window.选择列表框1.hide();
    };
    // The pop-up stands out from the dark list it floats over.
    w.选择列表框1.setBackColor(colour(pictures::palette::panel));
    w.选择列表框1.setTextColor(colour(pictures::palette::text));
    w.选择列表框1.onSelect = [this](int item) { pickFromCheckList(item); };
}

int PhotoListPanel::tileOf(std::int32_t recordNo) const {
    auto it = tiles_.find(recordNo);
    return it == tiles_.end() ? -1 : it->second;
}

void PhotoListPanel::remakeTile(std::int32_t recordNo, const std::string& file) {
    const int tile = app.thumbnails.add(file);
    if (tile < 0) return;
    tiles_[recordNo] = tile;
    for (int i = 0; i < list().itemCount(); ++i)
        if (list().data(i) == recordNo) list().setItemImage(i, tile);
}

int PhotoListPanel::addEntry(std::string caption, int tile, std::int32_t recordNo) {
    return window.超级列表框1.addItem(std::move(caption), tile, recordNo);
}

void PhotoListPanel::clearEntries() { window.超级列表框1.clear(); }

void PhotoListPanel::updateStatus() {
    window.状态标签.setCaption(photoStatusText(window.超级列表框1.itemCount(), app.loadTime));
}

void PhotoListPanel::showPanel() {
    window.外形框_数据管理.hide();
    window.外形框_超级列表框1.show();
}

// ---- views ----------------------------------------------------------------------------------------

template <class Keep>
void PhotoListPanel::fill(Keep keep) {
    if (!usePhotoTable(app)) {
        clearEntries();
        return;
    }
    const std::vector<ListedRow> rows = readListedRows(app.store);
    clearEntries();
    for (const ListedRow& row : rows) {
        const int tile = tileOf(row.recordNo);
        keep(row, [&] {
            addEntry(photoCaption(row.fileName, row.products, row.retouch ? kRetouchMarker : ""), tile, row.recordNo);
        });
    }
}

void PhotoListPanel::viewSelected() {
    组合框1.clear();
    {
        TableScope orders(app.store, app.paths.orderTable);
        if (orders) {
            组合框1.addItem(kIntoAlbumProduct);
            if (app.store.goToRecord(app.orderRecordNumber))
                for (std::string& name :
                     splitText(readText(app.store, order_fields::kPackageProducts), kProductListSeparator))
                    组合框1.addItem(std::move(name));
            组合框1.addItem(kRetouchFilter);
            组合框1.show();
        }
    }
    fill([](const ListedRow& row, auto add) {
        if (!row.products.empty()) add();
    });
}

void PhotoListPanel::viewUnselected() {
    组合框1.hide();
    if (!usePhotoTable(app)) {
        clearEntries();
        return;
    }
    const std::vector<ListedRow> rows = readListedRows(app.store);
    clearEntries();
    for (const ListedRow& row : rows)
        if (row.products.empty()) addEntry(row.fileName, tileOf(row.recordNo), row.recordNo);
}

void PhotoListPanel::viewAll() {
    组合框1.hide();
    fill([](const ListedRow& row, auto add) {
        if (!row.fileName.empty()) add();
    });
}

void PhotoListPanel::filterByProduct() {
    const std::string wanted = 组合框1.selectedText();
    fill([&wanted](const ListedRow& row, auto add) {
        if (row.products.empty()) return;
        for (const std::string& name : splitProductList(row.products))
            if (name == wanted) add();
        if (wanted == kRetouchFilter && row.retouch) add();
    });
}

// ---- choosing, the viewer and the check list ------------------------------------------------------

void PhotoListPanel::entryChosen(int index) {
    if (index < 0) return;
    app.photoIndex = index;
    if (usePhotoTable(app) && findPhotoRow(app, list().data(index))) app.photoRecordNumber = app.store.recordNumber();
}

void PhotoListPanel::mismatch(const std::string& title) {
    ui::messageBox(kMismatch, title, ui::MessageIcon::Warning);
    clearEntries();
    window.选择列表框1.hide();
    window.外形框_超级列表框1.hide();
    window.showOrderList();
    app.store.closeAllTables();
}

void PhotoListPanel::openViewer(int) {
    const int index = list().selected();
    if (index < 0) return;
    const std::string caption = list().caption(index);
    app.photoIndex = index;
    if (usePhotoTable(app) && findPhotoRow(app, list().data(index))) {
        if (readText(app.store, pf::kFileName) != captionFileName(caption)) {
            mismatch(ui::kDefaultMessageTitle);
            return;
        }
        app.photoRecordNumber = app.store.recordNumber();
    }
    window.选择列表框1.hide();
    SelectionViewer viewer(*this);
    app.host.showModal(viewer);
    usePhotoTable(app);
    // Back in the list, the photo the viewer ended on is the chosen one.
    if (app.photoIndex >= 0 && app.photoIndex < list().itemCount()) list().setSelected(app.photoIndex);
}

void PhotoListPanel::popUpCheckList(int) {
    const int index = list().selected();
    if (index < 0) return;
    ui::CheckListBox& check = window.选择列表框1;
    if (!buildProductCheckList(app, check)) ui::messageBox("打开选片数据库出错");
    app.photoIndex = index;
    const std::string caption = list().caption(index);
    if (!usePhotoTable(app)) {
        inform("数据库出错请重试");
    } else if (findPhotoRow(app, list().data(index))) {
        if (readText(app.store, pf::kFileName) != captionFileName(caption)) {
            mismatch(kMessageTitle);
            return;
        }
        app.photoRecordNumber = app.store.recordNumber();
        app.store.goToRecord(app.photoRecordNumber);
        tickCurrentProducts(app, check);
    }
    const ui::Point mouse = app.host.mousePosition();
    // Placed as designed beside the pointer, but never off the panel.
    const ui::Control& panel = window.外形框_超级列表框1;
    const int left = std::clamp(mouse.x - 184, 0, std::max(panel.width() - check.width(), 0));
    const int top = std::clamp(mouse.y - 100, 0, std::max(panel.height() - check.height(), 0));
    check.move(left, top);
    check.show();
}

void PhotoListPanel::pickFromCheckList(int item) { pickProduct(app, window.选择列表框1, item, list().selected()); }

// ---- deleting -------------------------------------------------------------------------------------

void PhotoListPanel::deleteEntries(const std::vector<int>& entries) {
    std::vector<std::string> kept;
    std::vector<int> order = entries;
    std::sort(order.rbegin(), order.rend());
    bool removed = false;
    for (int entry : order) {
        PhotoRemoval r = removePhoto(app, list().data(entry), false);
        removed = removed || r.rowFound;
        if (!r.keptOutside.empty()) kept.push_back(std::move(r.keptOutside));
    }
    if (removed) app.store.purgeDeleted();
    for (int entry : order) list().removeItem(entry);
    std::reverse(kept.begin(), kept.end());
    app.photoIndex = list().selected();
    updateStatus();
    if (!kept.empty()) inform(keptOutsideMessage(kept));
}

void PhotoListPanel::deleteChosen() {
    const int index = list().selected();
    if (index < 0) return;
    if (ui::messageBox(kDeleteQuestion, {}, ui::MessageIcon::Warning, ui::MessageButtons::YesNo) !=
        ui::MessageResult::Yes)
        return;
    deleteEntries({index});
}

void PhotoListPanel::deleteAll() {
    const int count = list().itemCount();
    if (count == 0) return;
    const std::string question =
        "列表中的 " + std::to_string(count) + " 张照片将全部删除。\r\n" + std::string(kDeleteQuestion);
    if (ui::messageBox(question, {}, ui::MessageIcon::Warning, ui::MessageButtons::YesNo) != ui::MessageResult::Yes)
        return;
    std::vector<int> all(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) all[static_cast<size_t>(i)] = i;
    deleteEntries(all);
}

// ---- leaving --------------------------------------------------------------------------------------

void PhotoListPanel::closePanel() {
    window.按钮_数据管理.enable();
    clearEntries();
    window.选择列表框1.hide();
    window.外形框_超级列表框1.hide();
}

void PhotoListPanel::saveSelection() {
    if (app.openers.orderForm)
        app.openers.orderForm(window);
    else
        inform("“保存选片数据”功能尚未开放，敬请期待。");
}

// The filter of the previous order goes; the loading panel shows while the photos load.
bool openOrderPhotos(MainWindow& w) {
    PhotoListPanel* photos = PhotoListPanel::of(w);
    if (photos) {
        photos->组合框1.clear();
        photos->组合框1.hide();
    }
    w.选择列表框1.hide();
    w.外形框_加载.show();
    const bool loaded = loadOrder(w.app);
    w.外形框_加载.hide();
    if (!loaded) return false;
    if (photos)
        photos->showPanel();
    else
        w.外形框_超级列表框1.show();
    return true;
}

void installPhotoListPanel(AppState& app) {
    app.mainWindowBuilders.push_back([](MainWindow& w) {
        if (!PhotoListPanel::of(w)) w.addPart<PhotoListPanel>(w);
    });
    app.openers.openOrderPhotos = openOrderPhotos;
}

}  // namespace xp
