// The login check as the selector walks it: refusals with their messages, the scan of the user table,
// the registry writes, the hand-over to the main window, and user tables that cannot be used.
#include <gtest/gtest.h>

#include "appdata/registry_values.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "shell/login_check.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "tests/shell/shell_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;

class LoginCheckTest : public ShellTest {
protected:
    LoginWindow& login() { return s.show<LoginWindow>(*app); }
    void type(LoginWindow& w, const std::string& name, const std::string& password) {
        w.用户名编辑框.setText(name);
        w.密码编辑框.setText(password);
    }
    void expectRefused(const char* message) {
        s.expectMessage(message).title("提示信息").icon(MessageIcon::Information).buttons(ui::MessageButtons::Ok);
    }
};

TEST_F(LoginCheckTest, RefusesEmptyFieldsUnknownUsersAndWrongPasswordsAndStaysInTheLoginWindow) {
    setUsers({{"admin", "tovex"}, {"小王", "Secret1"}});
    struct Case {
        const char* name;
        const char* password;
        const char* message;
    };
    const Case cases[] = {
        {"", "", kLoginEmptyMessage},
        {"admin", "", kLoginEmptyMessage},
        {"", "tovex", kLoginEmptyMessage},
        {"nobody", "tovex", kLoginWrongMessage},
        {"小王", "secret1", kLoginWrongMessage},   // letter case counts
        {"小王", "Secret1 ", kLoginWrongMessage},  // so does a trailing space
        {"小王", "tovex", kLoginWrongMessage},     // another user's password
        {"Admin", "tovex", kLoginWrongMessage},
    };
    auto& w = login();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.password);
        type(w, c.name, c.password);
        expectRefused(c.message);
        w.按钮1.click();
        EXPECT_TRUE(w.isOpen());
        EXPECT_EQ(s.find<MainWindow>(), nullptr);
        EXPECT_EQ(w.用户名编辑框.text(), c.name);
    }
    EXPECT_FALSE(registryString(kRegistryKey, kRegistryUserName));
    EXPECT_FALSE(registryString(kRegistryKey, kRegistryPassword));
}

TEST_F(LoginCheckTest, TheLastUserLogsInAfterAFailedAttemptAndTheRegistryKeepsWhatWasTyped) {
    setUsers({{"admin", "tovex"}, {"bob", "b0b"}, {"张三", "密码一"}});
    auto& w = login();
    type(w, "bob", "wrong");
    expectRefused(kLoginWrongMessage);
    w.按钮1.click();
    EXPECT_EQ(app->store.tableCount(), 1);  // the user table stays open after a failure

    // The next attempt scans from the first record again, though the cursor stood past "bob".
    type(w, "张三", "密码一");
    w.按钮1.click();
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(w.用户名编辑框.text(), "");
    EXPECT_EQ(w.密码编辑框.text(), "");
    ASSERT_NE(s.find<MainWindow>(), nullptr);
    EXPECT_EQ(s.host().openWindows().size(), 1u);
    EXPECT_EQ(app->store.tableCount(), 0);
    EXPECT_EQ(lastLoginUserName(), "张三");
    EXPECT_EQ(lastLoginPassword(), "密码一");
    // Stored as GBK, as every text the system keeps.
    EXPECT_EQ(registryString(kRegistryKey, kRegistryUserName), toGbk("张三"));
    EXPECT_FALSE(rememberMeSet());
}

TEST_F(LoginCheckTest, AdminIsAnOrdinaryRowOfTheUserTable) {
    setUsers({{"bob", "b0b"}, {"admin", "changed"}});
    auto& w = login();
    expectRefused(kLoginWrongMessage);
    w.按钮1.click();  // the window's defaults admin / tovex
    type(w, "admin", "changed");
    w.按钮1.click();
    EXPECT_NE(s.find<MainWindow>(), nullptr);
}

TEST_F(LoginCheckTest, AnEmptyUserTableRefusesEveryLogin) {
    setUsers({});
    auto& w = login();
    expectRefused(kLoginWrongMessage);
    w.按钮1.click();
    EXPECT_TRUE(w.isOpen());
}

TEST_F(LoginCheckTest, AMissingOrForeignUserTableIsReportedWithoutTheFatalError) {
    // Missing: the file is gone.
    ASSERT_TRUE(removeFile(app->paths.userTable + ".EDB"));
    auto& w = login();
    expectRefused(kLoginNoUserTableMessage);
    w.按钮1.click();
    EXPECT_TRUE(w.isOpen());

    // A table with other fields in its place: reading "用户名" would be the fatal error.
    {
        RecordStore other;
        ASSERT_TRUE(other.createTable(app->paths.userTable, {{toGbk("名称"), static_cast<int>(FieldType::Text), 20}}));
        ASSERT_TRUE(other.openTable(app->paths.userTable));
        ASSERT_TRUE(other.setTablePassword(kTablePassword));
        other.closeAllTables();
    }
    expectRefused(kLoginNoUserTableMessage);
    w.按钮1.click();
    EXPECT_TRUE(w.isOpen());
    EXPECT_EQ(app->store.tableCount(), 0);
    for (const auto& call : s.dialogs()) EXPECT_NE(call.kind, ui::headless::DialogKind::FatalError);
}

}  // namespace
}  // namespace xp::test
