// The logo window: the three paths read from logo.ini, chosen with the file dialog or typed, saved, and
// the main window's button that opens it.
#include <gtest/gtest.h>

#include "appdata/settings_files.h"
#include "settings/logo_window.h"
#include "tests/settings/settings_fixture.h"

namespace xp::test {
namespace {

class LogoWindowTest : public SettingsTest {
protected:
    LogoWindow& openFromMain() {
        w().按钮_更换LOGO.click();
        return s.window<LogoWindow>();
    }
};

TEST_F(LogoWindowTest, ShowsTheInstructionsExactly) {
    const std::string expected =
        "\r\nLOGO位置说明："
        "\r\n\r\nLOGO1位置： 用户登录窗口上方图片，像素尺寸920X521"
        "\r\n\r\nLOGO2位置：主程序窗口上方，Zelvano影楼选片系统这几个字，像素尺寸336X50"
        "\r\n\r\nLOGO3位置：主程序窗口中间的大图片，像素尺寸960X600"
        "\r\n\r\n注意：图片大小必须按照上方写明的尺寸进行制作，否则会显示不全"
        "\r\n\r\nLOGO1和LOGO2需要用我们提供的底图，做为背景图片 文件格式全为JPG"
        "\r\n\r\n否则替换LOGO后会影响整体界面的美观！";
    auto& logo = openFromMain();
    EXPECT_EQ(logo.编辑框1.text(), expected);
    EXPECT_TRUE(logo.编辑框1.isMultiLine());
    EXPECT_EQ(logo.caption(), "自定义LOGO");
    EXPECT_EQ(logo.width(), 492);
    EXPECT_EQ(logo.height(), 393);
    EXPECT_EQ(logo.parentWindow(), &w());
    EXPECT_EQ(logo.透明标签1.caption(), "LOGO1：");
    EXPECT_EQ(logo.按钮1.caption(), "保存");
    EXPECT_EQ(logo.按钮2.caption(), "关闭");
}

TEST_F(LogoWindowTest, WithoutLogoIniTheBoxesAreEmptyAndSavingWritesThreeEmptyValues) {
    auto& logo = openFromMain();
    for (const ui::EditBox* box : {&logo.编辑框2, &logo.编辑框3, &logo.编辑框4}) EXPECT_EQ(box->text(), "");
    EXPECT_FALSE(w().按钮_更换LOGO.isEnabled()) << "one logo window at a time";

    expectInfo("保存LOGO配置文件成功！");
    logo.按钮1.click();
    EXPECT_FALSE(logo.isOpen());
    EXPECT_TRUE(w().按钮_更换LOGO.isEnabled());
    ASSERT_TRUE(logoSettingsExist(app->paths));
    const std::string ini = TempDir::slurp(app->paths.logoSettings);
    for (const char* line : {"LOGO1=", "LOGO2=", "LOGO3="})
        EXPECT_NE(ini.find(std::string(line) + "\r\n"), std::string::npos) << ini;
    EXPECT_EQ(readLogoSettings(app->paths), (LogoSettings{}));
}

TEST_F(LogoWindowTest, ShowsTheStoredPathsAndStoresATypedPathAsTyped) {
    writeLogoSettings(app->paths, {"/srv/logo/登录.jpg", "/srv/logo/标志.jpg", "/srv/logo/背景.jpg"});
    auto& logo = openFromMain();
    EXPECT_EQ(logo.编辑框2.text(), "/srv/logo/登录.jpg");
    EXPECT_EQ(logo.编辑框3.text(), "/srv/logo/标志.jpg");
    EXPECT_EQ(logo.编辑框4.text(), "/srv/logo/背景.jpg");

    // Nothing checks that the file exists, is a JPEG or has a full path.
    logo.编辑框3.setText("logo/没有 这个文件.png");
    expectInfo("保存LOGO配置文件成功！");
    logo.按钮1.click();
    EXPECT_EQ(readLogoSettings(app->paths),
              (LogoSettings{"/srv/logo/登录.jpg", "logo/没有 这个文件.png", "/srv/logo/背景.jpg"}));
    EXPECT_NE(TempDir::slurp(app->paths.logoSettings).find(toGbk("LOGO2=logo/没有 这个文件.png\r\n")),
              std::string::npos);
}

TEST_F(LogoWindowTest, EachRowsFileDialogStartsInTheLogoFolderAndACancelKeepsTheRow) {
    auto& logo = openFromMain();
    const std::string logoFolder = app->programFolder() + "/logo";
    struct Row {
        ui::PictureBox& picker;
        ui::EditBox& box;
        std::string file;
    };
    const Row rows[] = {{logo.图片框1, logo.编辑框2, logoFolder + "/一.jpg"},
                        {logo.图片框2, logo.编辑框3, logoFolder + "/二.jpg"},
                        {logo.图片框3, logo.编辑框4, logoFolder + "/三.jpg"}};
    for (const Row& r : rows) {
        s.expectFile().answer(r.file);
        r.picker.mouseUp(ui::MouseButton::Left, 3, 3);
        EXPECT_EQ(s.lastDialog().filter, "图片文件（*.JPG）|*.jpg");
        EXPECT_EQ(s.lastDialog().initialFolder, logoFolder);
        EXPECT_EQ(r.box.text(), r.file);
    }
    // A cancel keeps the row as it was, also after another row's choice.
    s.expectFile().cancel();
    logo.图片框1.mouseUp(ui::MouseButton::Left, 3, 3);
    EXPECT_EQ(logo.编辑框2.text(), logoFolder + "/一.jpg");
    logo.编辑框4.setText("");
    s.expectFile().cancel();
    logo.图片框3.mouseUp(ui::MouseButton::Left, 3, 3);
    EXPECT_EQ(logo.编辑框4.text(), "");
}

TEST_F(LogoWindowTest, CloseWritesNothingAndEnablesTheButtonAgain) {
    auto& logo = openFromMain();
    logo.编辑框2.setText("/srv/a.jpg");
    logo.按钮2.click();
    EXPECT_FALSE(logo.isOpen());
    EXPECT_FALSE(logoSettingsExist(app->paths));
    EXPECT_TRUE(w().按钮_更换LOGO.isEnabled());
}

TEST_F(LogoWindowTest, SavedPicturesShowFromTheNextStart) {
    const std::string banner = temp.put("pics/banner.jpg", "JPEG-BYTES-1");
    const std::string corner = temp.put("pics/logo.jpg", "JPEG-BYTES-2");
    auto& logo = openFromMain();
    logo.编辑框2.setText(banner);
    logo.编辑框3.setText(corner);
    logo.编辑框4.setText("/srv/背景.jpg");
    expectInfo("保存LOGO配置文件成功！");
    logo.按钮1.click();
    EXPECT_TRUE(app->logo1.empty()) << "not before the next start";

    app->loadLogos();
    EXPECT_EQ(std::string(app->logo1.begin(), app->logo1.end()), "JPEG-BYTES-1");
    EXPECT_EQ(std::string(app->logo2.begin(), app->logo2.end()), "JPEG-BYTES-2");
    EXPECT_EQ(app->logo3Path, "/srv/背景.jpg");
}

TEST_F(LogoWindowTest, AnUnwritableFolderIsReportedAndTheWindowStays) {
    auto& logo = openFromMain();
    std::filesystem::create_directories(app->paths.logoSettings);  // a folder where the file should go
    s.expectMessage().title("提示信息");
    logo.按钮1.click();
    EXPECT_NE(lastMessage().find("失败"), std::string::npos) << lastMessage();
    EXPECT_TRUE(logo.isOpen());
}

}  // namespace
}  // namespace xp::test
