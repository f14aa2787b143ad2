// Screenshots of the login window, the main window, its order list, the new order dialog and its folder
// browser (Qt's own dialog, in Chinese) on a real installation, for `make screenshots`: the real windows
// on the Qt backend, the login typed and clicked through the widgets as a user would, then each window
// grabbed to a PNG.
//
//     xp_shell_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QFileDialog>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "shell/login_window.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"

using namespace xp::screenshots;

namespace {

// A Qt dialog of its own (no control of ours) grabbed to a PNG.
bool saveDialog(QWidget* widget, const QString& file) {
    if (!widget->grab().save(file, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", file.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", file.toLocal8Bit().constData());
    return true;
}

}  // namespace

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

    // The new order dialog and, from its folder icon, the folder browser: Qt's own dialog in Chinese.
    bool dialogsSaved = false;
    QTimer::singleShot(300, qApp, [&] {
        QWidget* orderDialog = QApplication::activeModalWidget();
        if (!orderDialog) return;
        dialogsSaved = saveDialog(orderDialog, out + "/new_order.png");
        QTimer::singleShot(800, qApp, [&, orderDialog] {
            auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!browser || !saveDialog(browser, out + "/folder_browser.png")) dialogsSaved = false;
            if (browser) browser->reject();
            QTimer::singleShot(100, qApp, [orderDialog] {
                // Esc, as the user closes it; should the key go astray the driver must not hang.
                QWidget* focused = QApplication::focusWidget();
                QTest::keyClick(focused ? focused : orderDialog, Qt::Key_Escape);
                if (orderDialog->isVisible()) orderDialog->close();
            });
        });
        if (auto* folderIcon = orderDialog->findChild<QWidget*>(QStringLiteral("图片框1")))
            QTest::mouseClick(folderIcon, Qt::LeftButton);
    });
    click(main->按钮_导入选片数据);
    if (!dialogsSaved) {
        std::fprintf(stderr, "the new order dialog or its folder browser did not show\n");
        return 1;
    }

    main->close();
    return 0;
}
