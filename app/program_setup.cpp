// Setting the program up on the Qt backend.
#include "app/program_setup.h"

#include <QApplication>

#include "app/plug_windows.h"
#include "store/record_store.h"
#include "ui/qt/qt_theme.h"

namespace xp {

void setUpProgram(AppState& app, ui::qt::QtHost& host) {
    app.applyThemedLook = [] {
        if (auto* qt = qobject_cast<QApplication*>(QCoreApplication::instance())) ui::qt::applyTheme(*qt);
    };
    // The box, then exit code -1.
    setFatalErrorHandler([&host](const std::string& message) { host.fatalError(message); });
    plugWindows(app);
}

}  // namespace xp
