// The selection viewer: status bar, entries of the photo list, check list, keys and deleting.
#include "selection/selection_viewer.h"

#include <algorithm>

#include "appdata/table_schema.h"
#include "appdata/table_scope.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "platform/file_system.h"
#include "resources/builtin_pictures.h"
#include "resources/palette.h"
#include "selection/photo_caption.h"
#include "selection/photo_list_panel.h"
#include "selection/photo_selection.h"
#include "selection/rotate_photo.h"
#include "shell/messages.h"

namespace xp {

namespace {

namespace pf = photo_fields;

void statusLabel(ui::TransparentLabel& label) {
    label.setTextColor(colour(pictures::palette::text));
    label.setWordWrap(false);
}

}  // namespace

SelectionViewer::SelectionViewer(PhotoListPanel& p)
    : PhotoViewer("SelectionViewer", p.app.photoIndex, p.slideshowInterval),
      panel(p),
      app(p.app),
      透明标签1(外形框3, "透明标签1", {10, 5, 158, 16}),
      透明标签2(外形框3, "透明标签2", {191, 5, 77, 16}),
      透明标签3(外形框3, "透明标签3", {286, 5, 81, 16}),
      透明标签4(外形框3, "透明标签4", {398, 6, 170, 16}),
      透明标签5(外形框3, "透明标签5", {712, 5, 88, 16}),
      外形框2(*this, "外形框2", {257, 280, 352, 100}),
      标签1(外形框2, "标签1", {5, 5, 222, 90}),
      图片框3(外形框2, "图片框3", {227, 5, 120, 90}),
      选择列表框1(*this, "选择列表框1", {665, 328, 128, 56}),
      list_(p.window.超级列表框1) {
    setCaption("选片");
    for (ui::TransparentLabel* l : {&透明标签1, &透明标签2, &透明标签3, &透明标签4, &透明标签5}) statusLabel(*l);
    透明标签5.setTextColor(colour(pictures::palette::accent));

    外形框2.hide();
    外形框2.setBorder(ui::FrameBorder::Line);
    外形框2.setBackColor(colour(pictures::palette::panel));
    标签1.setCaption("正在旋转并保存图片请稍候");
    标签1.setTextColor(colour(pictures::palette::text));
    标签1.setBackColor(colour(pictures::palette::panel));
    std::string_view frame = builtinPicture(pictures::loadingFrames[0]);
    图片框3.setPicture(std::vector<std::uint8_t>(frame.begin(), frame.end()));
    图片框3.setFit(ui::PictureFit::Centre);
    图片框3.setBackColor(colour(pictures::palette::panel));
    选择列表框1.hide();
    选择列表框1.setBackColor(colour(pictures::palette::panel));
    选择列表框1.setTextColor(colour(pictures::palette::text));

    左转按钮.onClick = [this] { rotatePhoto(*this, -90); };
    右转按钮.onClick = [this] { rotatePhoto(*this, 90); };
    删除按钮.onClick = [this] { deletePhoto(); };
    选择列表框1.onSelect = [this](int item) { pick(item); };
    onKeyDown = [this](int key) { return keyPressed(key); };
}

void SelectionViewer::layOut() {
    PhotoViewer::layOut();
    外形框2.move((width() - 外形框2.width()) / 2, (height() - 外形框2.height()) / 2);
    透明标签5.setLeft(外形框3.width() - 透明标签5.width() - 30);
    透明标签4.setWidth(外形框3.width() - (透明标签1.width() + 透明标签2.width() + 透明标签3.width()) - 30 -
                       透明标签5.width());
}

int SelectionViewer::entryCount() { return list_.itemCount(); }

std::string SelectionViewer::entryPath(int index) {
    if (index < 0 || index >= list_.itemCount()) return {};
    const std::int64_t recordNo = list_.data(index);
    if (auto known = files_.find(recordNo); known != files_.end()) return known->second;
    auto row = rows_.find(recordNo);
    if (row == rows_.end()) return {};
    std::string file = displayFile(app.selectionFolder(), row->second.fileName, row->second.filePath);
    files_.emplace(recordNo, file);
    return file;
}

std::string SelectionViewer::currentRowFile() {
    return displayFile(app.selectionFolder(), readText(app.store, pf::kFileName), readText(app.store, pf::kFilePath));
}

void SelectionViewer::opened() {
    app.computePaths();
    if (!usePhotoTable(app)) {
        refreshStatus();
        return;
    }
    static const FieldRef recordNoField(toGbk(pf::kRecordNumber)), nameField(toGbk(pf::kFileName)),
        pathField(toGbk(pf::kFilePath));
    RecordStore& store = app.store;
    store.firstRecord();
    store.findRecord([&] {
        const FieldValue recordNo = store.readField(recordNoField);
        const std::int64_t n = recordNo.isNumeric() ? recordNo.asInt64() : textToInt(fromGbk(recordNo.asText()));
        rows_.try_emplace(
            n, RowFiles{fromGbk(store.readField(nameField).asText()), fromGbk(store.readField(pathField).asText())});
        return false;
    });
    if (app.photoRecordNumber > 0 && store.goToRecord(app.photoRecordNumber))
        showPicture(currentRowFile());
    else
        showPicture({});
    refreshStatus();
}

void SelectionViewer::showEntry() {
    if (!usePhotoTable(app)) return;
    if (app.photoIndex >= 0 && app.photoIndex < list_.itemCount() && findPhotoRow(app, list_.data(app.photoIndex)))
        app.photoRecordNumber = app.store.recordNumber();
    std::string file;
    if (app.photoRecordNumber > 0 && app.store.goToRecord(app.photoRecordNumber)) file = currentRowFile();
    // The status first: the picture starts the decoding ahead, which then has the processor to itself.
    refreshStatus();
    showPicture(file);
}

void SelectionViewer::slideshowShow() {
    // An entry whose row is gone is passed over (but still waited on).
    if (!usePhotoTable(app) || app.photoIndex < 0 || app.photoIndex >= list_.itemCount() ||
        !findPhotoRow(app, list_.data(app.photoIndex)))
        return;
    app.photoRecordNumber = app.store.recordNumber();
    refreshStatus();
    showPicture(currentRowFile());
}

void SelectionViewer::refreshStatus() {
    RecordStore& store = app.store;
    透明标签1.setCaption("当前共有：" + std::to_string(list_.itemCount()) + " 张");

    int required = 0;
    bool read = false;
    {
        TableScope orders(store, app.paths.orderTable);
        if (orders && store.goToRecord(app.orderRecordNumber)) {
            const std::string included = readText(store, order_fields::kIncludedCount);
            透明标签2.setCaption("应选：" + included + "张");
            required = textToInt(included);
            read = true;
        }
    }
    if (!read) inform("读入应选张数失败！");
    if (!usePhotoTable(app)) return;

    const int selected = selectedCount();
    透明标签3.setCaption("以选：" + std::to_string(selected) + " 张");

    if (app.photoRecordNumber > 0 && store.goToRecord(app.photoRecordNumber)) {
        const std::string name = readText(store, pf::kFileName);
        const std::string products = readText(store, pf::kProducts);
        if (!products.empty())
            透明标签4.setCaption("当前：" + name + kCaptionSeparator + products +
                                 (readText(store, pf::kRetouch).empty() ? "" : kRetouchMarker));
        else
            透明标签4.setCaption("当前照片：" + name);
    }
    if (selected > required) 透明标签5.setCaption("加选：" + std::to_string(selected - required) + " 张");
}

SelectionViewer::TableStamps SelectionViewer::photoTableStamps() {
    const std::string table = app.store.tablePath();
    const size_t dot = table.find_last_of('.');
    const std::string memo = (dot == std::string::npos ? table : table.substr(0, dot)) + ".EDT";
    return {fileStamp(table), fileStamp(resolvePath(memo))};
}

int SelectionViewer::selectedCount() {
    // Stamped before counting: a change made meanwhile makes the next call count again.
    const TableStamps now = photoTableStamps();
    if (countValid_ && now == counted_) return selected_;
    static const FieldRef productsField(toGbk(pf::kProducts));
    RecordStore& store = app.store;
    int selected = 0;
    store.firstRecord();
    store.findRecord([&] {
        if (!store.readField(productsField).asText().empty()) ++selected;
        return false;
    });
    selected_ = selected;
    counted_ = now;
    countValid_ = now.table.exists;
    return selected_;
}

std::string SelectionViewer::zoomLimitPath() {
    if (!usePhotoTable(app) || app.photoRecordNumber <= 0 || !app.store.goToRecord(app.photoRecordNumber)) return {};
    const std::string path = readText(app.store, pf::kFilePath);
    return path.empty() ? path : resolvePath(path);
}

// ---- keys, check list, delete ---------------------------------------------------------------------

bool SelectionViewer::keyPressed(int key) {
    switch (key) {
        case ui::key::Left: previous(); return true;
        case ui::key::Right: next(); return true;
        case ui::key::Up: zoomIn(); return true;
        case ui::key::Down: zoomOut(); return true;
        case ui::key::D0: restoreView(); return true;
        default: return false;
    }
}

void SelectionViewer::pictureLeftPressed() { 选择列表框1.hide(); }

void SelectionViewer::pictureRightPressed(const ui::MouseEvent&) { popUpCheckList(); }

void SelectionViewer::popUpCheckList() {
    buildProductCheckList(app, 选择列表框1);
    if (!usePhotoTable(app)) {
        inform("数据库没打开");
    } else if (app.photoRecordNumber > 0 && app.store.goToRecord(app.photoRecordNumber) && app.photoIndex >= 0 &&
               app.photoIndex < list_.itemCount()) {
        const std::string fileName = captionFileName(list_.caption(app.photoIndex));
        if (!readText(app.store, pf::kProducts).empty() && readText(app.store, pf::kFileName) == fileName)
            tickCurrentProducts(app, 选择列表框1);
    }
    const ui::Point mouse = app.host.mousePosition();
    // At the pointer, but never past the screen's edge.
    const int left = std::clamp(mouse.x, 0, std::max(width() - 选择列表框1.width(), 0));
    const int top = std::clamp(mouse.y, 0, std::max(height() - 选择列表框1.height(), 0));
    选择列表框1.move(left, top);
    选择列表框1.show();
}

void SelectionViewer::pick(int item) {
    // Whether the count still stands for the table as it is before this pick writes to it.
    const bool counted = countValid_ && usePhotoTable(app) && photoTableStamps() == counted_;
    bool wasSelected = false;
    if (counted && app.photoRecordNumber > 0 && app.store.goToRecord(app.photoRecordNumber))
        wasSelected = !readText(app.store, pf::kProducts).empty();
    const PickOutcome outcome = pickProduct(app, 选择列表框1, item, app.photoIndex);
    if (outcome == PickOutcome::Refused) return;
    countValid_ = false;
    if (counted && (outcome == PickOutcome::Ticked || outcome == PickOutcome::Unticked) && usePhotoTable(app) &&
        app.store.goToRecord(app.photoRecordNumber)) {
        const bool isSelected = !readText(app.store, pf::kProducts).empty();
        selected_ += (isSelected ? 1 : 0) - (wasSelected ? 1 : 0);
        counted_ = photoTableStamps();
        countValid_ = counted_.table.exists;
    }
    refreshStatus();
}

void SelectionViewer::deletePhoto() {
    if (ui::messageBox("照片删除后不可恢复，确认要删除吗？", {}, ui::MessageIcon::Warning, ui::MessageButtons::YesNo) !=
        ui::MessageResult::Yes)
        return;
    const int entry = app.photoIndex;
    if (entry < 0 || entry >= list_.itemCount()) return;
    // The photo deleted is the one the entry shows, found by its "记录号".
    const PhotoRemoval removed = removePhoto(app, list_.data(entry));
    countValid_ = false;
    forgetPicture(picturePath());
    files_.erase(list_.data(entry));
    list_.removeItem(entry);
    panel.updateStatus();
    if (!removed.keptOutside.empty()) inform(keptOutsideMessage({removed.keptOutside}));

    const int count = list_.itemCount();
    if (app.photoIndex >= count) {
        if (count == 0) {
            inform("照片被删光了");
            close();
            return;
        }
        previous();
    } else {
        --app.photoIndex;
        next();
    }
}

}  // namespace xp
