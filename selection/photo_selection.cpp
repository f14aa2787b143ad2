// The shared selection rules: rows by "记录号", the product check list, photo files and deletion.
#include "selection/photo_selection.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "platform/file_system.h"
#include "selection/photo_caption.h"
#include "selection/retouch_dialog.h"
#include "shell/main_window.h"
#include "shell/messages.h"

namespace xp {

namespace pf = photo_fields;
namespace fs = std::filesystem;

bool usePhotoTable(AppState& app) {
    if (app.store.selectTable(kPhotoTableName)) return true;
    return !app.paths.photoTable.empty() && app.store.openTable(app.paths.photoTable, kTablePassword);
}

bool findPhotoRow(AppState& app, std::int64_t recordNo) {
    static const FieldRef field(toGbk(pf::kRecordNumber));
    RecordStore& store = app.store;
    store.firstRecord();
    const double wanted = static_cast<double>(recordNo);
    return store.findRecord([&] {
        const FieldValue v = store.readField(field);
        const double n = v.isNumeric() ? v.asDouble() : static_cast<double>(textToInt(fromGbk(v.asText())));
        return std::fabs(n - wanted) < 0.0000001;
    });
}

bool buildProductCheckList(AppState& app, ui::CheckListBox& list) {
    list.clear();
    bool opened = false;
    int packageCount = 0;
    {
        TableScope orders(app.store, app.paths.orderTable);
        if (orders) {
            opened = true;
            list.addItem(kIntoAlbumProduct);
            if (app.store.goToRecord(app.orderRecordNumber))
                for (std::string& name :
                     splitText(readText(app.store, order_fields::kPackageProducts), kProductListSeparator)) {
                    list.addItem(std::move(name));
                    ++packageCount;
                }
            list.addItem(kRetouchItem);
            list.setHeight(19 * (packageCount + 3));
        }
    }
    usePhotoTable(app);
    return opened;
}

void tickCurrentProducts(AppState& app, ui::CheckListBox& list) {
    const std::string products = readText(app.store, pf::kProducts);
    if (products.empty() || list.itemCount() == 0) return;
    const std::vector<std::string> names = splitProductList(products);
    const int last = list.itemCount() - 1;
    for (int i = 0; i < last; ++i)
        for (const std::string& name : names)
            if (list.item(i) == name) list.setChecked(i, true);
    if (!readText(app.store, pf::kRetouch).empty()) list.setChecked(last, true);
}

namespace {

// The current row's caption, as the photo list shows it.
std::string rowCaption(RecordStore& store) {
    return photoCaption(readText(store, pf::kFileName), readText(store, pf::kProducts), readText(store, pf::kRetouch));
}

void setEntryCaption(AppState& app, int entry, std::string caption) {
    MainWindow* w = app.mainWindow();
    if (!w || entry < 0 || entry >= w->超级列表框1.itemCount()) return;
    w->超级列表框1.setItemCaption(entry, std::move(caption));
}

bool currentPhotoRow(AppState& app) {
    return usePhotoTable(app) && app.photoRecordNumber > 0 && app.store.goToRecord(app.photoRecordNumber);
}

// Whether the row under the cursor is the photo the entry shows; a list that no longer matches the
// table must not write one photo's choice into another's row.
bool rowMatchesEntry(AppState& app, int entry) {
    MainWindow* w = app.mainWindow();
    if (!w || entry < 0 || entry >= w->超级列表框1.itemCount()) return true;
    return readText(app.store, pf::kFileName) == captionFileName(w->超级列表框1.caption(entry));
}

PickOutcome writeFailed() {
    inform("选片数据保存失败！" + errorMessage(lastError()) + "\r\n请重试。");
    return PickOutcome::Failed;
}

PickOutcome openRetouch(AppState& app, ui::CheckListBox& list) {
    list.hide();
    RetouchDialog dialog(app);
    app.host.showModal(dialog);
    usePhotoTable(app);
    return PickOutcome::RetouchClosed;
}

}  // namespace

PickOutcome pickProduct(AppState& app, ui::CheckListBox& list, int item, int entry) {
    if (item < 0 || item >= list.itemCount()) return PickOutcome::Failed;
    const bool retouch = item == list.itemCount() - 1;
    const bool ticked = list.isChecked(item);
    RecordStore& store = app.store;
    if (retouch) {
        if (ticked) return openRetouch(app, list);
        if (currentPhotoRow(app) && !readText(store, pf::kProducts).empty()) return openRetouch(app, list);
        inform("请先选择产品后，在选择修片要求");
        return PickOutcome::Refused;
    }

    if (!currentPhotoRow(app)) return writeFailed();
    if (!rowMatchesEntry(app, entry)) {
        list.hide();
        inform("数据出错！请在数据管理中删除此记录后，重新导入用户数据");
        return PickOutcome::Failed;
    }
    if (!ticked) {
        const std::string products = readText(store, pf::kProducts) + list.item(item) + kProductListSeparator;
        if (!writeText(store, pf::kProducts, products)) return writeFailed();
        list.setChecked(item, true);
        setEntryCaption(app, entry, rowCaption(store));
        list.hide();
        return PickOutcome::Ticked;
    }

    std::vector<std::string> names;
    for (int i = 0; i < list.itemCount() - 1; ++i)
        if (i != item && list.isChecked(i)) names.push_back(list.item(i));
    const std::string products = joinProductList(names);
    if (!writeText(store, pf::kProducts, products)) return writeFailed();
    // A photo that is no longer selected keeps no retouch request.
    if (products.empty() && !writeText(store, pf::kRetouch, "")) return writeFailed();
    list.setChecked(item, false);
    setEntryCaption(app, entry, products.empty() ? readText(store, pf::kFileName) : rowCaption(store));
    list.hide();
    return PickOutcome::Unticked;
}

std::string photoFile(const std::string& selectionFolder, const std::string& fileName) {
    // A name that climbs out of the folder or into a sub-folder names no photo of this order.
    if (fileName.empty() || fileName.find('/') != std::string::npos || fileName == "." || fileName == "..") return {};
    return resolvePath(joinPath(selectionFolder, fileName + ".jpg"));
}

std::string displayFile(const std::string& selectionFolder, const std::string& fileName, const std::string& filePath) {
    std::string file = photoFile(selectionFolder, fileName);
    if (!file.empty() && fileExists(file)) return file;
    if (!filePath.empty() && liesInside(filePath, selectionFolder) && fileExists(filePath))
        return resolvePath(filePath);
    return file;
}

bool liesInside(const std::string& path, const std::string& folder) {
    if (path.empty() || folder.empty()) return false;
    for (const fs::path& part : fs::path(path))
        if (part == "..") return false;
    std::error_code ec;
    const fs::path real = fs::canonical(resolvePath(path), ec);
    if (ec) return false;
    const fs::path base = fs::canonical(resolvePath(folder), ec);
    if (ec) return false;
    const fs::path rel = real.lexically_relative(base);
    return !rel.empty() && *rel.begin() != ".." && rel != ".";
}

PhotoRemoval removePhoto(AppState& app, std::int64_t recordNo, bool purge) {
    PhotoRemoval result;
    RecordStore& store = app.store;
    if (!usePhotoTable(app) || !findPhotoRow(app, recordNo)) return result;
    result.rowFound = true;
    const std::string path = readText(store, pf::kFilePath);
    std::error_code ec;
    const bool present = !path.empty() && fs::symlink_status(resolvePath(path), ec).type() != fs::file_type::not_found;
    if (present) {
        if (liesInside(path, app.selectionFolder()))
            removeFile(path);
        else
            result.keptOutside = path;
    }
    store.deleteRecord();
    if (purge) store.purgeDeleted();
    return result;
}

std::string keptOutsideMessage(const std::vector<std::string>& paths) {
    std::string text = "以下照片文件不在本单的选片目录中，文件没有删除，仅从选片数据中移除：";
    for (const std::string& p : paths) text += "\r\n" + p;
    return text;
}

}  // namespace xp
