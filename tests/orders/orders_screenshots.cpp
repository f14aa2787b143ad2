// Screenshots of the first half of a studio's day on a real installation: the real windows on the Qt
// backend, a new order entered for a folder of photos, its photo list, the order list, an order opened
// from it and the order edit dialog, each grabbed to a PNG. Not a test: it needs a display (Xvfb).
//
//     xp_orders_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QTimer>
#include <filesystem>
#include <memory>
#include <string>

#include "orders/new_order_dialog.h"
#include "orders/order_edit_dialog.h"
#include "platform/file_system.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"

using namespace xp::screenshots;

namespace {

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
    std::string installation;
    QString out;
    if (!parseArguments(argc, argv, installation, out)) return 2;

    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = startProgram(host, installation);
    xp::MainWindow* main = logIn(host, *app);
    if (!main) return 1;
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
