// Screenshots of the selection on a real installation, for `make screenshots`: an order opened from the
// order list, a photo ticked for a product in the photo list, the full-screen viewer, the product check
// list over a photo and the retouch dialog, each grabbed to a PNG. Not a test: it needs a display (Xvfb).
//
//     xp_selection_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QCursor>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "selection/photo_list_panel.h"
#include "selection/retouch_dialog.h"
#include "selection/selection_viewer.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"
#include "ui/qt/qt_host.h"

using namespace xp::screenshots;

int main(int argc, char** argv) {
    std::string installation;
    QString out;
    if (!parseArguments(argc, argv, installation, out)) return 2;

    std::unique_ptr<xp::AppState> app;
    xp::ui::qt::QtHost host(argc, argv);
    app = startProgram(host, installation);
    xp::MainWindow* loggedIn = logIn(host, *app);
    if (!loggedIn) return 1;
    xp::MainWindow& main = *loggedIn;
    bool ok = true;

    // An order opened from the order list.
    click(main.按钮_数据管理);
    host.waitWithEvents(300);
    if (main.超级列表框2.itemCount() == 0) {
        std::fprintf(stderr, "the installation has no orders\n");
        return 1;
    }
    main.超级列表框2.pickItem(0);
    main.超级列表框2.doubleClick(0);
    host.waitWithEvents(800);
    xp::PhotoListPanel* panel = xp::PhotoListPanel::of(main);
    if (!panel || main.超级列表框1.itemCount() < 2) {
        std::fprintf(stderr, "the order's photos did not open\n");
        return 1;
    }

    // The check list of the photo list, and the photo ticked for the album.
    QCursor::setPos(560, 330);
    main.超级列表框1.rightClick(1);
    host.waitWithEvents(200);
    ok = save(main, out + "/photo_list_checks.png") && ok;
    const int album = main.选择列表框1.indexOf("入册");
    if (album >= 0 && !main.选择列表框1.isChecked(album)) main.选择列表框1.pickItem(album);
    host.waitWithEvents(200);

    // The viewer on the ticked photo: as it opens, with the check list over the photo, and the retouch
    // dialog opened from that list.
    QTimer::singleShot(0, qApp, [&] {
        auto* v = host.find<xp::SelectionViewer>();
        if (!v) {
            ok = false;
            return;
        }
        host.waitWithEvents(600);
        ok = save(*v, out + "/viewer.png") && ok;

        QCursor::setPos(860, 300);
        click(v->图片框2, Qt::RightButton);
        host.waitWithEvents(300);
        ok = save(*v, out + "/viewer_checks.png") && ok;

        QTimer::singleShot(300, qApp, [&] {
            auto* d = host.find<xp::RetouchDialog>();
            if (!d) {
                ok = false;
                return;
            }
            d->编辑框1.setText("背景的路人去掉\r\n脸部提亮，保留自然肤色");
            host.waitWithEvents(200);
            ok = save(*d, out + "/retouch.png") && ok;
            click(d->按钮_保存);
        });
        v->选择列表框1.pickItem(v->选择列表框1.itemCount() - 1);
        host.waitWithEvents(300);
        ok = save(*v, out + "/viewer_after_retouch.png") && ok;

        // Zoomed in once.
        click(v->放大按钮);
        host.waitWithEvents(300);
        ok = save(*v, out + "/viewer_zoomed.png") && ok;
        click(v->退出按钮);
    });
    main.超级列表框1.setSelected(1);
    main.超级列表框1.doubleClick(1);
    host.waitWithEvents(300);
    ok = save(main, out + "/photo_list_after.png") && ok;

    main.close();
    return ok ? 0 : 1;
}
