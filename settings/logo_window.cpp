// The logo window: the three picture paths read from and written to logo.ini.
#include "settings/logo_window.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "appdata/app_paths.h"
#include "appdata/settings_files.h"
#include "resources/builtin_pictures.h"
#include "shell/main_window.h"
#include "shell/messages.h"

namespace xp {

namespace {

constexpr ui::Color kSilver{192, 192, 192};

}  // namespace

const std::string& LogoWindow::instructions() {
    static const std::string text = [] {
        const char* lines[] = {
            "LOGO位置说明：",
            "LOGO1位置： 用户登录窗口上方图片，像素尺寸920X521",
            "LOGO2位置：主程序窗口上方，Zelvano影楼选片系统这几个字，像素尺寸336X50",
            "LOGO3位置：主程序窗口中间的大图片，像素尺寸960X600",
            "注意：图片大小必须按照上方写明的尺寸进行制作，否则会显示不全",
            "LOGO1和LOGO2需要用我们提供的底图，做为背景图片 文件格式全为JPG",
            "否则替换LOGO后会影响整体界面的美观！",
        };
        // An empty first line, and an empty line between each two of the lines.
        std::string out;
        for (const char* line : lines) out += std::string(out.empty() ? "\r\n" : "\r\n\r\n") + line;
        return out;
    }();
    return text;
}

LogoWindow::LogoWindow(AppState& state) : ui::Window("LogoWindow", {0, 0, 492, 393}), app(state) {
    setCaption("自定义LOGO");
    setBorder(ui::BorderStyle::Fixed);
    // Dark text on the silver face; the boxes white, as paper.
    setBackColor(kSilver);
    setTextColor(ui::colors::Black);
    for (ui::EditBox* box : {&编辑框1, &编辑框2, &编辑框3, &编辑框4}) box->setBackColor(ui::colors::White);

    编辑框1.setMultiLine(true);
    编辑框1.setScrollBar(true);
    // One pixel less than the standard font lets the thirteen lines fit the box without scrolling.
    编辑框1.setFont(ui::Font{{}, 11, false});
    编辑框1.setReadOnly(true);
    编辑框1.setText(instructions());
    std::string_view icon = builtinPicture(pictures::folderIcon);
    const std::vector<std::uint8_t> iconBytes(icon.begin(), icon.end());
    struct Row {
        ui::TransparentLabel& label;
        const char* caption;
        ui::EditBox& box;
        ui::PictureBox& picker;
    };
    for (const Row& r : {Row{透明标签1, "LOGO1：", 编辑框2, 图片框1}, Row{透明标签2, "LOGO2：", 编辑框3, 图片框2},
                         Row{透明标签3, "LOGO3：", 编辑框4, 图片框3}}) {
        r.label.setCaption(r.caption);
        r.label.setWordWrap(false);
        r.picker.setPicture(iconBytes);
        r.picker.setFit(ui::PictureFit::Centre);
        r.picker.setCursor(ui::Cursor::Hand);
        ui::EditBox* box = &r.box;
        r.picker.onMouseUp = [this, box](const ui::MouseEvent& e) {
            if (e.button == ui::MouseButton::Left) choose(*box);
        };
    }
    按钮1.setCaption("保存");
    按钮2.setCaption("关闭");
    通用对话框1.filter = "图片文件（*.JPG）|*.jpg";

    onCreated = [this] { created(); };
    onDestroying = [this] { destroying(); };
    按钮1.onClick = [this] { save(); };
    按钮2.onClick = [this] { close(); };
}

void LogoWindow::created() {
    if (MainWindow* main = app.mainWindow()) setParentWindow(main);
    centre();
    if (!logoSettingsExist(app.paths)) return;
    const LogoSettings logos = readLogoSettings(app.paths);
    编辑框2.setText(logos.logo1);
    编辑框3.setText(logos.logo2);
    编辑框4.setText(logos.logo3);
}

void LogoWindow::choose(ui::EditBox& box) {
    通用对话框1.initialFolder = joinPath(app.paths.programFolder, "logo");
    // A cancelled dialog leaves the row as it was.
    if (通用对话框1.open()) box.setText(通用对话框1.fileName());
}

void LogoWindow::save() {
    if (!writeLogoSettings(app.paths, {编辑框2.text(), 编辑框3.text(), 编辑框4.text()})) {
        inform("保存LOGO配置文件失败！请检查程序目录是否可以写入后重试");
        return;
    }
    inform("保存LOGO配置文件成功！");
    close();
}

void LogoWindow::destroying() {
    if (MainWindow* main = app.mainWindow()) main->按钮_更换LOGO.enable();
}

}  // namespace xp
