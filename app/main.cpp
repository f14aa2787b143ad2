// The photo-selection workstation: starts the Qt backend, sets the program up (the themed look, the
// fatal-error box, every subsystem's windows) and shows the login window. The program ends when its
// last window is destroyed.
#include <memory>

#include "app/program_setup.h"
#include "appdata/app_paths.h"
#include "shell/app_state.h"
#include "shell/login_window.h"
#include "ui/qt/qt_host.h"

int main(int argc, char** argv) {
    // Declared before the host: the windows the host still holds at the end refer to the state.
    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = std::make_unique<xp::AppState>(host, xp::runningProgramFolder());
    xp::setUpProgram(*app, host);

    host.open<xp::LoginWindow>(*app);
    return host.run();
}
