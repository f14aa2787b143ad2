// The login window: start-up steps, the remember-me box, the banner's popup menu and the login.
#include "shell/login_window.h"

#include <cstdint>
#include <string_view>

#include "appdata/registry_values.h"
#include "appdata/table_schema.h"
#include "resources/builtin_pictures.h"
#include "resources/palette.h"
#include "shell/login_check.h"
#include "shell/main_window.h"

namespace xp {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 328;

std::vector<std::uint8_t> picture(std::string_view name) {
    std::string_view bytes = builtinPicture(name);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

LoginWindow::LoginWindow(AppState& state)
    : ui::Window("LoginWindow", {0, 0, kWidth, kHeight}),
      app(state),
      图片框1(*this, "图片框1", {0, 0, 480, 272}),
      外形框2(*this, "外形框2", {0, 272, 482, 56}),
      透明标签5(外形框2, "透明标签5", {8, 20, 45, 20}),
      用户名编辑框(外形框2, "用户名编辑框", {56, 20, 60, 20}),
      透明标签6(外形框2, "透明标签6", {123, 20, 37, 20}),
      密码编辑框(外形框2, "密码编辑框", {163, 20, 60, 20}),
      按钮1(外形框2, "按钮1", {232, 20, 60, 20}),
      按钮2(外形框2, "按钮2", {300, 20, 60, 20}),
      选择框1(外形框2, "选择框1", {369, 18, 106, 24}) {
    setBorder(ui::BorderStyle::None);
    setCaption("Zelvano影楼选片系统");
    ui::Size screen = app.host.screenSize();
    move((screen.width - kWidth) / 2, (screen.height - kHeight) / 2);

    图片框1.setPicture(picture(pictures::loginBanner));
    图片框1.setFit(ui::PictureFit::TopLeft);
    外形框2.setBackColor(colour(pictures::palette::column));
    for (ui::Label* l : {static_cast<ui::Label*>(&透明标签5), static_cast<ui::Label*>(&透明标签6)}) {
        l->setTextColor(colour(pictures::palette::text));
        l->setWordWrap(false);
    }
    透明标签5.setCaption("用户名：");
    透明标签6.setCaption("密 码：");
    // The defaults go in before the change handler exists, so that they do not empty each other.
    用户名编辑框.setText(kAdminUser);
    密码编辑框.setPassword(true, '*');
    密码编辑框.setText(kAdminPassword);
    按钮1.setCaption("登录");
    // The one warm accent marks the action the window is for.
    按钮1.setBackColor(colour(pictures::palette::accent));
    按钮1.setTextColor(colour(pictures::palette::backdrop));
    按钮2.setCaption("取消");
    选择框1.setCaption("记住此用户信息");
    选择框1.setTextColor(colour(pictures::palette::text));
    // Lighter than the footer, so that the empty box still shows.
    选择框1.setBackColor(colour(pictures::palette::line));

    弹出菜单.addItem("访问官网", [this] { app.host.openWebAddress(kWebsiteAddress); });
    弹出菜单.addItem("联系我们", [] { ui::messageBox(kContactText, kContactTitle); });

    // Enter logs in from either box; Esc is 取消.
    setDefaultButton(&按钮1);
    setCancelButton(&按钮2);

    onCreated = [this] { startUp(); };
    // A different user never inherits the previous password.
    用户名编辑框.onChange = [this] { 密码编辑框.clear(); };
    选择框1.onClick = [this] { rememberMeClicked(); };
    按钮1.onClick = [this] { login(); };
    按钮2.onClick = [this] { close(); };
    图片框1.onMouseDown = [this](const ui::MouseEvent& e) {
        if (e.button == ui::MouseButton::Right) 弹出菜单.popup(app.host.mousePosition());
    };
}

void LoginWindow::startUp() {
    app.computePaths();
    if (app.applyThemedLook) app.applyThemedLook();
    app.loadLogos();
    if (!app.logo1.empty()) 图片框1.setPicture(app.logo1);
}

void LoginWindow::rememberMeClicked() {
    if (选择框1.isChecked()) {
        if (!用户名编辑框.text().empty() && !密码编辑框.text().empty()) {
            saveRememberMe(true);
        } else {
            ui::messageBox("请先写入用户名和密码后在勾选此项");
            选择框1.setChecked(false);
        }
    } else {
        saveRememberMe(false);
    }
    密码编辑框.focus();
}

void LoginWindow::login() {
    if (!checkLogin(app, 用户名编辑框.text(), 密码编辑框.text())) return;
    用户名编辑框.clear();
    密码编辑框.clear();
    app.host.open<MainWindow>(app);
    close();
}

}  // namespace xp
