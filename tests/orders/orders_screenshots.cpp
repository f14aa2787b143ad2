// Screenshots of the first half of a studio's day on a real installation: the real windows on the Qt
// backend, a new order entered for a folder of photos, its photo list, the order list, an order opened
// from it and the order edit dialog, each grabbed to a PNG. Not a test: it needs a display (Xvfb).
//
//     xp_orders_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/plug_windows.h"
#include "orders/new_order_dialog.h"
#include "orders/order_edit_dialog.h"
#include "orders/order_list_panel.h"
#include "platform/file_system.h"
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

// A customer's folder for the new order: a copy of some demo photos, without any selection data.
std::string newCustomerFolder(const std::string& installation) {
    const std::string folder = installation + "/客户照片/新顾客 陈静";
    std::filesystem::remove_all(folder);
    xp::createFolders(folder);
    for (const auto& entry : std::filesystem::directory_iterator(installation + "/客户照片")) {
        if (!entry.is_directory() || entry.path().string() == folder) continue;
        int copied = 0;
        for (const std::string& name : xp::listFiles(entry.path().string(), "*.jpg"))
            if (copied++ < 6) xp::copyFile(entry.path().string() + "/" + name, folder + "/" + name);
        break;
    }
    return folder;
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

    // A new order for a new customer's folder.
    const std::string folder = newCustomerFolder(installation);
    QTimer::singleShot(500, [&] {
        auto* d = host.find<xp::NewOrderDialog>();
        if (!d) {
            ok = false;
            return;
        }
        typeInto(d->编辑框1, QStringLiteral("20151005009"));
        d->编辑框2.setText("陈静");  // typed through an input method, which the test keys cannot do
        typeInto(d->编辑框3, QStringLiteral("13600001234"));
        d->编辑框7.setText(folder);
        typeInto(d->编辑框_应选张数, QStringLiteral("10"));
        d->组合框1.pickItem(0);
        d->列表框1.pickItem(0);
        click(d->按钮_加入);
        host.waitWithEvents(200);
        ok = save(*d, out + "/new_order.png") && ok;
        click(d->确定按钮);
    });
    click(main->按钮_导入选片数据);
    host.waitWithEvents(800);
    ok = save(*main, out + "/photos_new_order.png") && ok;

    // The order list, and an order opened from it.
    click(main->按钮_数据管理);
    host.waitWithEvents(400);
    ok = save(*main, out + "/orders.png") && ok;
    int worked = -1;
    for (int i = 0; i < main->超级列表框2.itemCount(); ++i)
        if (main->超级列表框2.cell(i, 1) == "王芳") worked = i;
    if (worked >= 0) {
        main->超级列表框2.pickItem(worked);
        main->超级列表框2.doubleClick(worked);
        host.waitWithEvents(800);
        ok = save(*main, out + "/photos_opened.png") && ok;
    }

    // The open order's details.
    QTimer::singleShot(500, [&] {
        auto* d = host.find<xp::OrderEditDialog>();
        if (!d) {
            ok = false;
            return;
        }
        ok = save(*d, out + "/order_edit.png") && ok;
        click(d->取消按钮);
    });
    click(main->按钮_顾客资料);
    host.waitWithEvents(200);

    main->close();
    return ok ? 0 : 1;
}
