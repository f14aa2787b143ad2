// Screenshots of the settings windows on a real installation, for `make screenshots`: the settings window
// opened from the main window with each of its five tabs in front, the same window opened for the
// requirement presets alone, and the logo window inside the main window. Nothing is saved.
//
//     xp_settings_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/plug_windows.h"
#include "settings/logo_window.h"
#include "settings/settings_window.h"
#include "shell/app_state.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_theme.h"

namespace {

bool save(const xp::ui::Control& window, const QString& file) {
    QWidget* widget = xp::ui::qt::widgetOf(window);
    if (!widget || !widget->grab().save(file, "PNG")) {
        std::fprintf(stderr, "cannot grab %s into %s\n", window.name().c_str(), file.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", file.toLocal8Bit().constData());
    return true;
}

void click(const xp::ui::Control& control) { QTest::mouseClick(xp::ui::qt::widgetOf(control), Qt::LeftButton); }

void typeInto(const xp::ui::Control& box, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(xp::ui::qt::widgetOf(box));
    if (!edit) return;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Runs `script` on the settings window once it is up (inside its modal loop); `ok` goes false when it
// never comes.
void whenSettingsOpen(xp::ui::qt::QtHost& host, bool& ok, std::function<void(xp::SettingsWindow&)> script) {
    QTimer::singleShot(500, [&host, &ok, script = std::move(script)] {
        auto* win = host.find<xp::SettingsWindow>();
        if (!win) {
            ok = false;
            return;
        }
        script(*win);
        if (win->isOpen()) click(win->按钮_删除项目1);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INSTALLATION_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    std::string installation = std::filesystem::absolute(argv[1]).lexically_normal().string();
    if (installation.size() > 1 && installation.back() == '/') installation.pop_back();
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = std::make_unique<xp::AppState>(host, installation);
    app->applyThemedLook = [] {
        if (auto* qt = qobject_cast<QApplication*>(QCoreApplication::instance())) xp::ui::qt::applyTheme(*qt);
    };
    xp::setFatalErrorHandler([&host](const std::string& message) { host.fatalError(message); });
    xp::plugWindows(*app);

    auto& login = host.open<xp::LoginWindow>(*app);
    host.waitWithEvents(300);
    typeInto(login.用户名编辑框, QStringLiteral("admin"));
    typeInto(login.密码编辑框, QStringLiteral("tovex"));
    click(login.按钮1);
    host.waitWithEvents(100);
    xp::MainWindow* main = host.find<xp::MainWindow>();
    if (!main) {
        std::fprintf(stderr, "the login did not reach the main window\n");
        return 1;
    }
    host.waitWithEvents(500);
    bool ok = true;

    // Every tab of the settings window, chosen with the mouse.
    whenSettingsOpen(host, ok, [&](xp::SettingsWindow& win) {
        const char* files[] = {"settings_store", "settings_selectors", "settings_products", "settings_presets",
                               "settings_other"};
        for (int tab = 0; tab < 5; ++tab) {
            auto* bar = xp::ui::qt::widgetOf(win.高级选择夹1)->findChild<QTabBar*>();
            if (bar) QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
            if (tab == 3 && win.列表框1.itemCount() > 0) win.列表框1.pickItem(0);
            host.waitWithEvents(150);
            ok = save(win, out + "/" + files[tab] + ".png") && ok;
        }
    });
    click(main->按钮_系统设置);
    host.waitWithEvents(200);

    // Opened for the requirement presets alone, as the order form does.
    whenSettingsOpen(host, ok, [&](xp::SettingsWindow& win) {
        host.waitWithEvents(150);
        ok = save(win, out + "/settings_presets_only.png") && ok;
    });
    app->openers.requirementPresets(*main);
    host.waitWithEvents(200);

    // The logo window inside the main window.
    click(main->按钮_更换LOGO);
    host.waitWithEvents(300);
    if (auto* logo = host.find<xp::LogoWindow>()) {
        ok = save(*logo, out + "/logo.png") && ok;
        ok = save(*main, out + "/logo_in_main.png") && ok;
        click(logo->按钮2);
    } else {
        ok = false;
    }
    host.waitWithEvents(100);

    main->close();
    return ok ? 0 : 1;
}
