// Turning a photo: written aside, flushed, renamed over the photo, then shown everywhere.
#include "selection/rotate_photo.h"

#include <string>

#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "imaging/image_rotate.h"
#include "imaging/imaging_file.h"
#include "platform/file_system.h"
#include "selection/photo_list_panel.h"
#include "selection/photo_selection.h"
#include "selection/selection_viewer.h"

namespace xp {

namespace {

namespace pf = photo_fields;

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

void rotatePhoto(SelectionViewer& v, int angle) {
    AppState& app = v.app;
    RecordStore& store = app.store;
    v.外形框2.show();
    const std::string sel = app.selectionFolder();
    const std::string temp = selectionTempFolder(sel);
    createFolder(temp);
    // Lets the busy panel be painted before the work starts.
    app.host.waitWithEvents(10);

    auto fail = [&](const std::string& leftover) {
        if (!leftover.empty()) removeFile(leftover);
        v.外形框2.hide();
        ui::messageBox("旋转失败！", "旋转失败！", ui::MessageIcon::None, ui::MessageButtons::Ok);
    };
    if (!v.isOpen() || !usePhotoTable(app) || app.photoRecordNumber <= 0 || !store.goToRecord(app.photoRecordNumber))
        return fail({});
    const std::string fileName = readText(store, pf::kFileName);
    const std::int32_t recordNo = readInt(store, pf::kRecordNumber);
    const std::string source = photoFile(sel, fileName);
    if (source.empty() || !fileExists(source)) return fail({});
    const std::string turned = joinPath(temp, fileName + ".jpg");
    if (!rotateImageFile(source, turned, static_cast<float>(angle), 0xFFFFFF, ImageFormat::Jpeg) ||
        !flushToDisk(turned))
        return fail(turned);
    // The rename replaces the photo in one step; the photo stays as it was if it cannot be done.
    if (!moveFile(turned, source)) return fail(turned);
    flushToDisk(folderOf(source));

    v.forgetPicture(source);
    v.showPicture(source);
    v.外形框2.hide();

    if (store.goToRecord(app.photoRecordNumber))
        writeText(store, pf::kFileLength, std::to_string(fileSize(readText(store, pf::kFilePath))));
    v.panel.remakeTile(recordNo, source);
}

}  // namespace xp
