// The shell's windows on the real Qt widgets (offscreen): the login typed and clicked through the
// widgets, the refusal box, the hand-over to the main window laid out on the screen, and the program's
// end with the main window's close button.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>

#include "appdata/installation.h"
#include "shell/app_state.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_host.h"

namespace xp::test {
namespace {

using ui::qt::widgetOf;

class ShellOnQt : public ::testing::Test {
protected:
    ShellOnQt() {
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) savedConfig_ = v;
        ::setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << made.message;
        app = std::make_unique<AppState>(host, made.folder);
    }
    ~ShellOnQt() override {
        while (host.hasOpenWindows()) host.openWindows().back()->close();
        if (savedConfig_)
            ::setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    void type(const ui::Control& box, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(widgetOf(box));
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    TempDir temp;
    std::unique_ptr<AppState> app;  // outlives the windows the host still holds
    ui::qt::QtHost host;

private:
    std::optional<std::string> savedConfig_;
};

TEST_F(ShellOnQt, AWrongPasswordIsRefusedInARealBoxAndTheRightOneOpensTheMainWindow) {
    auto& login = host.open<LoginWindow>(*app);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(login)));
    EXPECT_EQ(widgetOf(login)->size(), QSize(480, 328));

    type(login.密码编辑框, "tovey");
    QString shown, title;
    QTimer::singleShot(20, qApp, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            title = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        }
    });
    QTest::mouseClick(widgetOf(login.按钮1), Qt::LeftButton);
    EXPECT_EQ(shown, QString("用户名或密码错误！"));
    EXPECT_EQ(title, QString("提示信息"));
    EXPECT_TRUE(login.isOpen());

    // Typing the name again empties the password box, so the password comes last.
    type(login.用户名编辑框, "admin");
    EXPECT_EQ(qobject_cast<QLineEdit*>(widgetOf(login.密码编辑框))->text(), QString());
    type(login.密码编辑框, "tovex");
    QTest::mouseClick(widgetOf(login.按钮1), Qt::LeftButton);
    EXPECT_FALSE(login.isOpen());

    MainWindow* main = host.find<MainWindow>();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(*main)));
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(widgetOf(*main)->size(), QSize(screen.width(), screen.height() - 40));
    host.waitWithEvents(50);
    EXPECT_EQ(main->图片框2.drawings().size(), 1u);

    QTest::mouseClick(widgetOf(main->关闭按钮), Qt::LeftButton);
    EXPECT_FALSE(host.hasOpenWindows());
}

TEST_F(ShellOnQt, EnterLogsInEscCancelsAndAfterALoadTheArrowsMoveThroughThePhotos) {
    auto& first = host.open<LoginWindow>(*app);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(first)));
    auto* password = qobject_cast<QLineEdit*>(widgetOf(first.密码编辑框));
    password->setFocus();
    QTest::keyClick(password, Qt::Key_Escape);
    EXPECT_FALSE(first.isOpen()) << "Esc is 取消";

    auto& login = host.open<LoginWindow>(*app);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(login)));
    password = qobject_cast<QLineEdit*>(widgetOf(login.密码编辑框));
    password->setFocus();
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_FALSE(login.isOpen()) << "Enter in the password box logs in";
    MainWindow* main = host.find<MainWindow>();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(*main)));

    // An order of photos comes in; the grid then has the keyboard with the first photo chosen.
    app->openers.openOrderPhotos = [](MainWindow& w) {
        w.超级列表框1.clear();
        for (int i = 0; i < 40; ++i) w.超级列表框1.addItem("IMG_" + std::to_string(i), -1, i + 1);
        w.外形框_超级列表框1.show();
        return true;
    };
    ASSERT_TRUE(main->openOrderPhotos(temp / "order"));
    auto* tiles =
        qobject_cast<QListWidget*>(qobject_cast<QStackedWidget*>(widgetOf(main->超级列表框1))->currentWidget());
    ASSERT_NE(tiles, nullptr);
    EXPECT_TRUE(tiles->hasFocus());
    EXPECT_EQ(tiles->currentRow(), 0);
    QTest::keyClick(tiles, Qt::Key_Right);
    EXPECT_EQ(main->超级列表框1.selected(), 1) << "the first arrow already moves, without a click";

    QTest::mouseClick(widgetOf(main->关闭按钮), Qt::LeftButton);
}

}  // namespace
}  // namespace xp::test
