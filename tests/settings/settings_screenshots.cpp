// Screenshots of the settings windows on a real installation, for `make screenshots`: the settings window
// opened from the main window with each of its five tabs in front, the same window opened for the
// requirement presets alone, and the logo window inside the main window. Nothing is saved.
//
//     xp_settings_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "settings/logo_window.h"
#include "settings/settings_window.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"

using namespace xp::screenshots;

namespace {

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
    std::string installation;
    QString out;
    if (!parseArguments(argc, argv, installation, out)) return 2;

    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = startProgram(host, installation);
    xp::MainWindow* main = logIn(host, *app);
    if (!main) return 1;
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
