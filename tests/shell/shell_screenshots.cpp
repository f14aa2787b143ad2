// Screenshots of the login window, the main window and its order list on a real installation, for
// `make screenshots`: the real windows on the Qt backend, the login typed and clicked through the
// widgets as a user would, then each window grabbed to a PNG.
//
//     xp_shell_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <memory>
#include <string>

#include "shell/login_window.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"

using namespace xp::screenshots;

int main(int argc, char** argv) {
    std::string installation;
    QString out;
    if (!parseArguments(argc, argv, installation, out)) return 2;

    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = startProgram(host, installation);

    auto& login = host.open<xp::LoginWindow>(*app);
    host.waitWithEvents(300);
    if (!save(login, out + "/login.png")) return 1;

    xp::MainWindow* main = logIn(host, *app);
    if (!main) return 1;
    if (!save(*main, out + "/main.png")) return 1;

    // The order list, as "数据管理" shows it.
    click(main->按钮_数据管理);
    host.waitWithEvents(300);
    if (!save(*main, out + "/orders.png")) return 1;

    main->close();
    return 0;
}
