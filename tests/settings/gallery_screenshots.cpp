// Screenshots of the galleries on a real installation, for `make screenshots`: the sample gallery with
// an album filled, the gallery viewer on one of its pictures, and the design boards with an album.
// Not a test: it needs a display (Xvfb).
//
//     xp_gallery_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "imaging/display_decode.h"
#include "settings/gallery_viewer.h"
#include "settings/gallery_window.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"
#include "ui/qt/qt_host.h"

using namespace xp::screenshots;

namespace {

// Opens a gallery from its left button and fills its first album; nullptr when it has none.
xp::GalleryWindow* openAlbum(xp::ui::qt::QtHost& host, xp::ui::PictureButton& button) {
    click(button);
    host.waitWithEvents(200);
    auto* g = host.find<xp::GalleryWindow>();
    if (!g || g->组合框1.itemCount() < 2) {
        std::fprintf(stderr, "the installation has no album in this gallery\n");
        return nullptr;
    }
    g->组合框1.pickItem(1);
    host.waitWithEvents(500);
    return g;
}

}  // namespace

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

    xp::GalleryWindow* samples = openAlbum(host, main.按钮_样照欣赏);
    if (!samples) return 1;
    samples->超级列表框1.setSelected(0);
    host.waitWithEvents(200);
    ok = save(main, out + "/gallery.png") && ok;

    // The viewer on the first picture, as it opens and zoomed in once (only a picture wider than the
    // screen zooms; another would stop at the message box).
    QTimer::singleShot(0, qApp, [&] {
        auto* v = host.find<xp::GalleryViewer>();
        if (!v) {
            ok = false;
            return;
        }
        host.waitWithEvents(600);
        ok = save(*v, out + "/gallery_viewer.png") && ok;
        if (xp::uprightImageSize(v->picturePath()).width > v->图片框2.width()) {
            click(v->放大按钮);
            host.waitWithEvents(300);
            ok = save(*v, out + "/gallery_viewer_zoomed.png") && ok;
        }
        click(v->退出按钮);
    });
    samples->超级列表框1.doubleClick(0);
    host.waitWithEvents(200);

    if (!openAlbum(host, main.按钮_设计看版)) return 1;
    ok = save(main, out + "/gallery_designs.png") && ok;

    main.close();
    return ok ? 0 : 1;
}
