// Screenshots of the login window, the main window, its order list, the new order dialog and its folder
// browser (Qt's own dialog, in Chinese) on a real installation, for `make screenshots`:
// the real windows on the Qt backend, the login typed and clicked through the widgets as a user would,
// then each window grabbed to a PNG.
//
//     xp_shell_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/plug_windows.h"
#include "orders/order_list_panel.h"
#include "shell/app_state.h"
#include "shell/login_window.h"
#include "shell/main_window.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_theme.h"

namespace {

bool save(QWidget* widget, const QString& file) {
    if (!widget->grab().save(file, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", file.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", file.toLocal8Bit().constData());
    return true;
}

bool save(const xp::ui::Control& window, const QString& file) {
    QWidget* widget = xp::ui::qt::widgetOf(window);
    if (!widget) {
        std::fprintf(stderr, "no widget for %s\n", window.name().c_str());
        return false;
    }
    return save(widget, file);
}

// Replaces the content of a line edit the way a user does: select all, then type.
void typeInto(const xp::ui::Control& box, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(xp::ui::qt::widgetOf(box));
    if (!edit) return;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INSTALLATION_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string installation = std::filesystem::absolute(argv[1]).lexically_normal().string();
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = std::make_unique<xp::AppState>(
        host, installation.back() == '/' ? installation.substr(0, installation.size() - 1) : installation);
    // As the program sets itself up.
    app->applyThemedLook = [] {
        if (auto* qt = qobject_cast<QApplication*>(QCoreApplication::instance())) xp::ui::qt::applyTheme(*qt);
    };
    xp::setFatalErrorHandler([&host](const std::string& message) { host.fatalError(message); });
    xp::plugWindows(*app);

    auto& login = host.open<xp::LoginWindow>(*app);
    host.waitWithEvents(300);
    if (!save(login, out + "/login.png")) return 1;

    typeInto(login.用户名编辑框, QStringLiteral("admin"));
    typeInto(login.密码编辑框, QStringLiteral("tovex"));
    QTest::mouseClick(xp::ui::qt::widgetOf(login.按钮1), Qt::LeftButton);
    host.waitWithEvents(100);

    xp::MainWindow* main = host.find<xp::MainWindow>();
    if (!main) {
        std::fprintf(stderr, "the login did not reach the main window\n");
        return 1;
    }
    // The background comes with the first timer tick; give the pictures time to paint.
    host.waitWithEvents(500);
    if (!save(*main, out + "/main.png")) return 1;

    // The order list, as "数据管理" shows it.
    QTest::mouseClick(xp::ui::qt::widgetOf(main->按钮_数据管理), Qt::LeftButton);
    host.waitWithEvents(300);
    if (!save(*main, out + "/orders.png")) return 1;

    // The new order dialog and, from its folder icon, the folder browser: Qt's own dialog in Chinese.
    bool dialogsSaved = false;
    QTimer::singleShot(300, qApp, [&] {
        QWidget* orderDialog = QApplication::activeModalWidget();
        if (!orderDialog) return;
        dialogsSaved = save(orderDialog, out + "/new_order.png");
        QTimer::singleShot(800, qApp, [&, orderDialog] {
            auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!browser || !save(browser, out + "/folder_browser.png")) dialogsSaved = false;
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
    QTest::mouseClick(xp::ui::qt::widgetOf(main->按钮_导入选片数据), Qt::LeftButton);
    if (!dialogsSaved) {
        std::fprintf(stderr, "the new order dialog or its folder browser did not show\n");
        return 1;
    }

    main->close();
    return 0;
}
