// The screenshot drivers' shared steps on the real Qt widgets.
#include "tests/support/screenshots.h"

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "app/program_setup.h"
#include "shell/login_window.h"

namespace xp::screenshots {

bool parseArguments(int argc, char** argv, std::string& installation, QString& outputFolder) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INSTALLATION_DIR OUTPUT_DIR\n", argc > 0 ? argv[0] : "screenshots");
        return false;
    }
    installation = std::filesystem::absolute(argv[1]).lexically_normal().string();
    if (installation.size() > 1 && installation.back() == '/') installation.pop_back();
    outputFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputFolder);
    return true;
}

std::unique_ptr<AppState> startProgram(ui::qt::QtHost& host, const std::string& installation) {
    auto app = std::make_unique<AppState>(host, installation);
    setUpProgram(*app, host);
    return app;
}

MainWindow* logIn(ui::qt::QtHost& host, AppState& app, const QString& user, const QString& password) {
    LoginWindow* login = host.find<LoginWindow>();
    if (!login) {
        login = &host.open<LoginWindow>(app);
        host.waitWithEvents(300);
    }
    typeInto(login->用户名编辑框, user);
    typeInto(login->密码编辑框, password);
    click(login->按钮1);
    host.waitWithEvents(100);
    MainWindow* main = host.find<MainWindow>();
    if (!main) {
        std::fprintf(stderr, "the login did not reach the main window\n");
        return nullptr;
    }
    // The background comes with the first timer tick; give the pictures time to paint.
    host.waitWithEvents(500);
    return main;
}

bool save(const ui::Control& window, const QString& file) {
    QWidget* widget = ui::qt::widgetOf(window);
    if (!widget || !widget->grab().save(file, "PNG")) {
        std::fprintf(stderr, "cannot grab %s into %s\n", window.name().c_str(), file.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", file.toLocal8Bit().constData());
    return true;
}

void click(const ui::Control& control, Qt::MouseButton button) { QTest::mouseClick(ui::qt::widgetOf(control), button); }

void typeInto(const ui::Control& box, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(ui::qt::widgetOf(box));
    if (!edit) return;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

}  // namespace xp::screenshots
