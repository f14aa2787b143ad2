// The login window: the start window of the program. Creating it prepares the application (paths,
// themed look, logo pictures); "登录" runs the login check and hands over to the main window.
#pragma once

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

class LoginWindow : public ui::Window {
public:
    explicit LoginWindow(AppState& app);

    AppState& app;

    ui::PictureBox 图片框1;
    ui::Frame 外形框2;
    ui::TransparentLabel 透明标签5;
    ui::EditBox 用户名编辑框;
    ui::TransparentLabel 透明标签6;
    ui::EditBox 密码编辑框;
    ui::Button 按钮1;
    ui::Button 按钮2;
    ui::CheckBox 选择框1;

    ui::PopupMenu 弹出菜单;

    // What the banner's popup menu offers.
    static constexpr const char* kWebsiteAddress = "https://www.example.com/";
    static constexpr const char* kContactTitle = "联系我们";
    static constexpr const char* kContactText =
        "客服电话：400-000-0000\r\n电子邮箱：support@example.com\r\n服务时间：每天 9:00 - 18:00";

private:
    void startUp();
    void rememberMeClicked();
    void login();
};

}  // namespace xp
