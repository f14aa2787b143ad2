// The login window as the selector meets it: its start-up, the remember-me box with its registry value,
// the password emptied on a name change, "取消" and the banner's popup menu.
#include <gtest/gtest.h>

#include "appdata/registry_values.h"
#include "appdata/settings_files.h"
#include "platform/registry.h"
#include "resources/builtin_pictures.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "tests/shell/shell_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;

std::vector<std::uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

using LoginWindowTest = ShellTest;

TEST_F(LoginWindowTest, OpensBorderlessAndCentredWithTheDefaultAccountAndTheBuiltInBanner) {
    int themed = 0;
    app->applyThemedLook = [&] { ++themed; };
    auto& login = s.show<LoginWindow>(*app);

    EXPECT_EQ(login.border(), ui::BorderStyle::None);
    EXPECT_EQ(login.bounds(), (ui::Rect{443, 220, 480, 328}));
    EXPECT_EQ(login.用户名编辑框.text(), "admin");
    EXPECT_EQ(login.密码编辑框.text(), "tovex");
    EXPECT_TRUE(login.密码编辑框.isPassword());
    EXPECT_EQ(login.密码编辑框.maskChar(), '*');
    EXPECT_FALSE(login.选择框1.isChecked());
    EXPECT_EQ(login.按钮1.caption(), "登录");
    EXPECT_EQ(login.按钮2.caption(), "取消");
    EXPECT_EQ(login.外形框2.bounds(), (ui::Rect{0, 272, 482, 56}));
    EXPECT_EQ(login.选择框1.bounds(), (ui::Rect{369, 18, 106, 24}));
    EXPECT_EQ(themed, 1);
    EXPECT_EQ(login.图片框1.picture(), bytesOf(builtinPicture(pictures::loginBanner)));
    EXPECT_TRUE(app->logo1.empty() && app->logo2.empty() && app->logo3Path.empty());
    EXPECT_EQ(app->paths.userTable, folder() + "/data/yhm");
}

TEST_F(LoginWindowTest, LogoIniPicturesReplaceTheBannerAndAMissingFileLeavesTheBuiltInOne) {
    const std::string banner = temp.put("logos/banner.jpg", "banner bytes");
    const std::string logo = temp.put("logos/logo.png", "logo bytes");
    ASSERT_TRUE(writeLogoSettings(app->paths, {banner, logo, temp / "logos/back.jpg"}));
    auto& login = s.show<LoginWindow>(*app);
    EXPECT_EQ(login.图片框1.picture(), bytesOf("banner bytes"));
    EXPECT_EQ(app->logo2, bytesOf("logo bytes"));
    EXPECT_EQ(app->logo3Path, temp / "logos/back.jpg");  // kept as text; the file need not exist yet
    login.close();

    ASSERT_TRUE(writeLogoSettings(app->paths, {temp / "logos/gone.jpg", "", ""}));
    auto& again = s.show<LoginWindow>(*app);
    EXPECT_EQ(again.图片框1.picture(), bytesOf(builtinPicture(pictures::loginBanner)));
    EXPECT_TRUE(app->logo1.empty());
    EXPECT_TRUE(app->logo2.empty());
}

TEST_F(LoginWindowTest, ChangingTheUserNameEmptiesThePassword) {
    auto& login = s.show<LoginWindow>(*app);
    login.用户名编辑框.setText("admi");
    EXPECT_EQ(login.密码编辑框.text(), "");
    login.密码编辑框.setText("secret");
    login.用户名编辑框.setText("admi");  // no change, nothing emptied
    EXPECT_EQ(login.密码编辑框.text(), "secret");
}

TEST_F(LoginWindowTest, RememberMeNeedsBothFieldsAndKeepsItsRegistryValue) {
    struct Case {
        const char* name;
        const char* password;
        bool accepted;
    };
    for (const Case& c : {Case{"admin", "tovex", true}, Case{"admin", "", false}, Case{"", "", false}}) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.password);
        ASSERT_TRUE(deleteRegistryValue(kRegistryKey, kRegistryRememberMe));
        auto& login = s.show<LoginWindow>(*app);
        login.用户名编辑框.setText(c.name);
        login.密码编辑框.setText(c.password);
        if (!c.accepted) s.expectMessage("请先写入用户名和密码后在勾选此项").title("信息：").icon(MessageIcon::None);
        login.选择框1.click();
        EXPECT_EQ(login.选择框1.isChecked(), c.accepted);
        EXPECT_EQ(registryNumber(kRegistryKey, kRegistryRememberMe),
                  c.accepted ? std::optional<std::uint32_t>(1) : std::nullopt);
        EXPECT_TRUE(login.密码编辑框.hasFocus());
        login.close();
    }

    auto& login = s.show<LoginWindow>(*app);
    login.选择框1.click();
    ASSERT_TRUE(rememberMeSet());
    login.用户名编辑框.focus();
    login.选择框1.click();
    EXPECT_FALSE(login.选择框1.isChecked());
    EXPECT_FALSE(registryNumber(kRegistryKey, kRegistryRememberMe));
    EXPECT_TRUE(login.密码编辑框.hasFocus());
}

TEST_F(LoginWindowTest, CancelEndsTheProgram) {
    auto& login = s.show<LoginWindow>(*app);
    login.按钮2.click();
    EXPECT_FALSE(login.isOpen());
    EXPECT_FALSE(s.host().hasOpenWindows());
}

TEST_F(LoginWindowTest, EnterLogsInFromEitherBoxAndEscIsCancel) {
    auto& login = s.show<LoginWindow>(*app);
    login.用户名编辑框.focus();
    s.expectMessage("用户名或密码不能接受空数据");
    login.密码编辑框.clear();
    EXPECT_TRUE(login.keyDown(ui::key::Return));
    login.密码编辑框.focus();
    login.密码编辑框.typeText("tovex");
    EXPECT_TRUE(login.keyDown(ui::key::Return));
    EXPECT_FALSE(login.isOpen());
    EXPECT_NE(s.find<MainWindow>(), nullptr) << "Enter in the password box logged in";

    auto& again = s.show<LoginWindow>(*app);
    EXPECT_TRUE(again.keyDown(ui::key::Escape));
    EXPECT_FALSE(again.isOpen());
}

TEST_F(LoginWindowTest, TheBannersRightButtonOpensTheMenuAtTheMouse) {
    auto& login = s.show<LoginWindow>(*app);
    s.mouseAt(600, 300);
    s.expectMenu().pick("访问官网");
    login.图片框1.mouseDown(ui::MouseButton::Right, 10, 10);
    EXPECT_EQ(s.lastDialog().position, (ui::Point{600, 300}));
    EXPECT_EQ(s.lastDialog().menuItems, (std::vector<std::string>{"访问官网", "联系我们"}));
    ASSERT_EQ(s.launches().size(), 1u);
    EXPECT_EQ(s.launches()[0].kind, ui::LaunchKind::WebAddress);
    EXPECT_EQ(s.launches()[0].target, LoginWindow::kWebsiteAddress);

    s.expectMenu().pick("联系我们");
    s.expectMessage(LoginWindow::kContactText).title("联系我们").icon(MessageIcon::None);
    login.图片框1.mouseDown(ui::MouseButton::Right, 10, 10);

    login.图片框1.mouseDown(ui::MouseButton::Left, 10, 10);  // no menu on the left button
    EXPECT_EQ(s.launches().size(), 1u);
}

}  // namespace
}  // namespace xp::test
