// Screenshots of closing an order on a real installation: the demo order of 王芳 opened from the order
// list, a few photos chosen (written as the selection windows write them), the order form over the main
// window, saved, and the printed form in the print preview, each grabbed to a PNG. Not a test: it needs
// a display (Xvfb).
//
//     xp_completion_screenshots INSTALLATION_DIR OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "completion/order_form_window.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "tests/support/screenshots.h"
#include "ui/qt/qt_host.h"

using namespace xp::screenshots;

namespace {

bool save(QWidget* widget, const QString& file) {
    if (!widget || !widget->grab().save(file, "PNG")) {
        std::fprintf(stderr, "cannot grab into %s\n", file.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", file.toLocal8Bit().constData());
    return true;
}

// Answers the next message box with its default button once it is up.
void acceptNextBox(int ms, QString* text = nullptr) {
    QTimer::singleShot(ms, [text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (text) *text = box->text();
            box->accept();
        }
    });
}

// The products and retouch requests of the open order's first photos, as the viewer would write them.
void choosePhotos(xp::AppState& app) {
    namespace pf = xp::photo_fields;
    xp::RecordStore& store = app.store;
    if (!store.selectTable(xp::kPhotoTableName)) return;
    const char* products[] = {"入册。10寸杂志册。", "入册。", "入册。6寸木质摆台。", "入册。", "10寸杂志册。"};
    const char* retouch[] = {"瘦脸，眼睛放大一点", "", "背景去掉路人", "", "整体提亮"};
    store.firstRecord();
    for (int i = 0, n = store.recordCount(); i < n && i < 5; ++i, store.skipRecords(1)) {
        xp::writeText(store, pf::kProducts, products[i]);
        xp::writeText(store, pf::kRetouch, retouch[i]);
    }
    store.firstRecord();
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

    click(main->按钮_数据管理);
    host.waitWithEvents(400);
    int order = -1;
    for (int i = 0; i < main->超级列表框2.itemCount(); ++i)
        if (main->超级列表框2.cell(i, 1) == "王芳") order = i;
    if (order < 0) {
        std::fprintf(stderr, "the demo order of 王芳 is not in the order list\n");
        return 1;
    }
    main->超级列表框2.pickItem(order);
    main->超级列表框2.doubleClick(order);
    host.waitWithEvents(800);
    choosePhotos(*app);

    // The order form over the photo list, as "保存选片数据" opens it.
    app->openers.orderForm(*main);
    auto* form = host.find<xp::OrderFormWindow>();
    if (!form) {
        std::fprintf(stderr, "the order form did not open\n");
        return 1;
    }
    host.waitWithEvents(300);
    form->看样日期编辑框.setText("2015-10-12");
    form->取件日期编辑框.setText("2015-10-20");
    form->加选金额编辑框.setText("300");
    form->制作要求编辑框.setText(form->制作要求编辑框.text() + "全部精修，杂志册封面用第一张");
    host.waitWithEvents(200);
    ok = save(xp::ui::qt::widgetOf(*form), out + "/order_form.png") && ok;
    ok = save(xp::ui::qt::widgetOf(*main), out + "/order_form_in_main.png") && ok;

    QString saved;
    acceptNextBox(300, &saved);
    click(form->按钮_保存);
    host.waitWithEvents(200);
    if (saved != QStringLiteral("保存成功！")) {
        std::fprintf(stderr, "saving said: %s\n", saved.toLocal8Bit().constData());
        ok = false;
    }

    // The printed form in the preview.
    bool previewed = false;
    QTimer::singleShot(1200, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview) {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
            return;
        }
        previewed = save(preview, out + "/print_preview.png");
        preview->reject();
    });
    click(form->按钮_打印表单);
    host.waitWithEvents(200);
    ok = previewed && ok;

    click(form->按钮_退出);
    host.waitWithEvents(100);
    main->close();
    return ok ? 0 : 1;
}
