// The retouch dialog: shows, clears and saves the current photo's retouch request.
#include "selection/retouch_dialog.h"

#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "resources/palette.h"
#include "selection/photo_caption.h"
#include "selection/photo_selection.h"
#include "shell/main_window.h"
#include "shell/messages.h"

namespace xp {

namespace pf = photo_fields;

RetouchDialog::RetouchDialog(AppState& state)
    : ui::Window("RetouchDialog", {0, 0, 361, 249}),
      app(state),
      透明标签1(*this, "透明标签1", {11, -1, 345, 28}),
      编辑框1(*this, "编辑框1", {8, 29, 344, 144}),
      按钮_清空(*this, "按钮_清空", {50, 183, 80, 24}),
      按钮_保存(*this, "按钮_保存", {135, 183, 80, 24}),
      按钮_取消(*this, "按钮_取消", {223, 183, 80, 24}) {
    setCaption("修片要求");
    setBorder(ui::BorderStyle::Fixed);
    setBackColor(colour(pictures::palette::panel));
    透明标签1.setTextColor(colour(pictures::palette::text));
    透明标签1.setWordWrap(false);
    编辑框1.setMultiLine(true);
    编辑框1.setScrollBar(true);
    按钮_清空.setCaption("清空");
    按钮_保存.setCaption("保存");
    按钮_取消.setCaption("取消");

    onCreated = [this] { opened(); };
    按钮_清空.onClick = [this] { 编辑框1.clear(); };
    按钮_保存.onClick = [this] { save(); };
    按钮_取消.onClick = [this] { close(); };
}

bool RetouchDialog::samePhoto() {
    return usePhotoTable(app) && app.photoRecordNumber > 0 && app.store.goToRecord(app.photoRecordNumber) &&
           readText(app.store, pf::kFileName) == fileName_;
}

void RetouchDialog::opened() {
    app.computePaths();
    centre();
    if (MainWindow* w = app.mainWindow()) {
        const ui::ListView& list = w->超级列表框1;
        if (app.photoIndex >= 0 && app.photoIndex < list.itemCount()) caption_ = list.caption(app.photoIndex);
    }
    fileName_ = captionFileName(caption_);
    透明标签1.setCaption("当前照片：" + fileName_);
    if (samePhoto()) 编辑框1.setText(readText(app.store, pf::kRetouch));
    编辑框1.focus();
}

void RetouchDialog::save() {
    if (!samePhoto()) {
        inform("数据出错！请在数据管理中删除此记录后，重新导入用户数据");
        close();
        return;
    }
    RecordStore& store = app.store;
    if (!writeText(store, pf::kRetouch, 编辑框1.text())) {
        // The typed request stays in the box, so that nothing is lost and the user can try again.
        inform("修片要求保存失败！" + errorMessage(lastError()) + "\r\n请重试。");
        return;
    }
    MainWindow* w = app.mainWindow();
    if (w && app.photoIndex >= 0 && app.photoIndex < w->超级列表框1.itemCount())
        w->超级列表框1.setItemCaption(app.photoIndex,
                                      photoCaption(readText(store, pf::kFileName), readText(store, pf::kProducts),
                                                   readText(store, pf::kRetouch)));
    close();
}

}  // namespace xp
