// The openers of the settings subsystem's windows.
#include "settings/settings_openers.h"

#include "settings/logo_window.h"
#include "settings/settings_window.h"
#include "shell/main_window.h"

namespace xp {

void installSettingsWindows(AppState& app) {
    app.openers.settings = [](MainWindow& w) {
        SettingsWindow window(w.app);
        w.app.host.showModal(window);
    };
    app.openers.requirementPresets = [](MainWindow& w) {
        SettingsWindow window(w.app, SettingsWindow::Mode::RequirementsOnly);
        w.app.host.showModal(window);
    };
    app.openers.logo = [](MainWindow& w) {
        // The button stays disabled while the window is open (it enables it again as it goes), so that
        // a second click cannot open a second window over the first.
        w.按钮_更换LOGO.disable();
        w.app.host.open<LogoWindow>(w.app);
    };
}

}  // namespace xp
