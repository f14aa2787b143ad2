// The logo window (自定义LOGO): one JPEG file each for the login banner, the main window's logo and its
// background, stored in logo.ini and shown from the next start. A child window of the main window.
#pragma once

#include <string>

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

class LogoWindow : public ui::Window {
public:
    explicit LogoWindow(AppState& app);

    // The instructions shown in 编辑框1, lines separated by CR LF.
    static const std::string& instructions();

    AppState& app;

    ui::EditBox 编辑框1{*this, "编辑框1", {4, 5, 478, 208}};
    ui::TransparentLabel 透明标签1{*this, "透明标签1", {5, 232, 56, 20}};
    ui::EditBox 编辑框2{*this, "编辑框2", {54, 232, 394, 20}};
    ui::PictureBox 图片框1{*this, "图片框1", {448, 232, 22, 22}};
    ui::TransparentLabel 透明标签2{*this, "透明标签2", {5, 264, 56, 20}};
    ui::EditBox 编辑框3{*this, "编辑框3", {54, 264, 394, 20}};
    ui::PictureBox 图片框2{*this, "图片框2", {448, 264, 22, 22}};
    ui::TransparentLabel 透明标签3{*this, "透明标签3", {5, 296, 56, 20}};
    ui::EditBox 编辑框4{*this, "编辑框4", {54, 296, 394, 20}};
    ui::PictureBox 图片框3{*this, "图片框3", {448, 296, 22, 22}};
    ui::Button 按钮1{*this, "按钮1", {161, 328, 72, 25}};
    ui::Button 按钮2{*this, "按钮2", {249, 328, 72, 25}};
    // One dialog serves the three rows; it keeps the file chosen last.
    ui::FileDialog 通用对话框1;

private:
    void created();
    void choose(ui::EditBox& box);
    void save();
    void destroying();
};

}  // namespace xp
