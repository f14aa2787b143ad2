// The photo-selection workstation: starts the Qt backend, routes the record store's fatal errors to the
// "错误" box, plugs the windows of every subsystem into the main window and shows the login window.
// The program ends when its last window is destroyed.
#include <QApplication>
#include <memory>
#include <string>

#include "app/plug_windows.h"
#include "appdata/app_paths.h"
#include "orders/order_list_panel.h"
#include "shell/app_state.h"
#include "shell/login_window.h"
#include "store/record_store.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_theme.h"

int main(int argc, char** argv) {
    // Declared before the host: the windows the host still holds at the end refer to the state.
    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = std::make_unique<xp::AppState>(host, xp::runningProgramFolder());
    app->applyThemedLook = [] {
        if (auto* qt = qobject_cast<QApplication*>(QCoreApplication::instance())) xp::ui::qt::applyTheme(*qt);
    };
    // The box, then exit code -1.
    xp::setFatalErrorHandler([&host](const std::string& message) { host.fatalError(message); });
    xp::plugWindows(*app);

    host.open<xp::LoginWindow>(*app);
    return host.run();
}
