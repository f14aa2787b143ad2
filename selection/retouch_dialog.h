// The retouch dialog (修片要求): the free-text retouch request of the current photo, kept in its row's
// "修改要求"; opened from the product check list of the photo list and of the viewer.
#pragma once

#include <string>

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

class RetouchDialog : public ui::Window {
public:
    explicit RetouchDialog(AppState& app);

    AppState& app;

    ui::TransparentLabel 透明标签1;
    ui::EditBox 编辑框1;
    ui::Button 按钮_清空;
    ui::Button 按钮_保存;
    ui::Button 按钮_取消;

private:
    void opened();
    void save();
    // True when the row under the cursor is the photo the dialog was opened for.
    bool samePhoto();

    // The caption of the photo's entry when the dialog opened, and its "文件名" part.
    std::string caption_;
    std::string fileName_;
};

}  // namespace xp
