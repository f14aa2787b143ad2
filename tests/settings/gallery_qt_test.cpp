// The gallery on the real Qt widgets, offscreen on a 1366 × 768 screen: the window embedded in the main
// window's content area, an album chosen with the keyboard in the chooser, its tiles, and a double click
// on a tile that opens the viewer full screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "app/plug_windows.h"
#include "appdata/installation.h"
#include "settings/gallery_viewer.h"
#include "settings/gallery_window.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "tests/support/photo_fixtures.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_host.h"

namespace xp::test {
namespace {

using ui::qt::widgetOf;

// The offscreen platform gets one 1366 × 768 screen, set before the first QApplication exists.
const bool kScreenSet = [] {
    const std::string config = std::filesystem::temp_directory_path() / "xp-gallery-qt-screen.json";
    std::ofstream(config) << R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1366, "height": 768,
                                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
    return true;
}();

class GalleryOnQt : public ::testing::Test {
protected:
    GalleryOnQt() {
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << made.message;
        app = std::make_unique<AppState>(host, made.folder);
        plugWindows(*app);
        const std::string album = app->paths.sampleFolder + "/婚纱样片";
        std::filesystem::create_directories(album);
        for (const char* name : {"1.jpg", "2.jpg", "3.jpg"})
            testing::writeFile(album + "/" + name, testing::jpeg(testing::quadrants(900, 600), 90));
    }
    ~GalleryOnQt() override {
        while (host.hasOpenWindows()) host.openWindows().back()->close();
    }

    TempDir temp;
    std::unique_ptr<AppState> app;  // outlives the windows the host still holds
    ui::qt::QtHost host;
};

TEST_F(GalleryOnQt, TheWindowSitsInTheContentAreaFillsAnAlbumChosenByKeyAndOpensTheViewer) {
    ASSERT_TRUE(kScreenSet);
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1366, 768));
    auto& main = host.open<MainWindow>(*app);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(main)));

    QTest::mouseClick(widgetOf(main.按钮_样照欣赏), Qt::LeftButton);
    auto* g = host.find<GalleryWindow>();
    ASSERT_NE(g, nullptr);
    QWidget* window = widgetOf(*g);
    EXPECT_EQ(window->parentWidget()->window(), widgetOf(main));
    EXPECT_EQ(window->mapTo(widgetOf(main), QPoint(0, 0)), QPoint(184, 83));
    EXPECT_EQ(window->size(), QSize(1182, 50));
    EXPECT_TRUE(widgetOf(g->退出_样照欣赏)->isVisible());
    EXPECT_FALSE(widgetOf(g->退出_设计看版)->isVisible());

    auto* chooser = qobject_cast<QComboBox*>(widgetOf(g->组合框1));
    ASSERT_NE(chooser, nullptr);
    ASSERT_EQ(chooser->count(), 2);
    EXPECT_EQ(chooser->itemText(1), QString::fromUtf8("婚纱样片"));
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Down);
    EXPECT_EQ(g->超级列表框1.itemCount(), 3);
    EXPECT_EQ(window->size(), QSize(1182, 728 - 55));
    EXPECT_FALSE(widgetOf(main.外形框_加载)->isVisible());

    auto* tiles = widgetOf(g->超级列表框1)->findChild<QListWidget*>();
    ASSERT_NE(tiles, nullptr);
    ASSERT_TRUE(tiles->isVisible());
    ASSERT_EQ(tiles->count(), 3);
    EXPECT_EQ(tiles->item(0)->text(), "1.jpg");
    // The list ends at the main window's bottom edge.
    EXPECT_EQ(widgetOf(g->超级列表框1)->mapTo(widgetOf(main), QPoint(0, widgetOf(g->超级列表框1)->height())).y(), 728);

    bool ran = false;
    QTimer::singleShot(0, qApp, [&] {
        auto* v = host.find<GalleryViewer>();
        ASSERT_NE(v, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(*v)));
        ran = true;
        EXPECT_EQ(widgetOf(*v)->geometry(), QRect(0, 0, 1366, 768));
        EXPECT_EQ(app->photoIndex, 1);
        QTest::mouseClick(widgetOf(v->下一张按钮), Qt::LeftButton);
        EXPECT_EQ(app->photoIndex, 2);
        EXPECT_EQ(v->图片框2.image().width, 900);
        QTest::mouseClick(widgetOf(v->退出按钮), Qt::LeftButton);
    });
    const QRect second = tiles->visualItemRect(tiles->item(1));
    QTest::mouseClick(tiles->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(tiles->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_TRUE(ran);
    EXPECT_EQ(host.find<GalleryViewer>(), nullptr);

    QTest::mouseClick(widgetOf(g->退出_样照欣赏), Qt::LeftButton);
    EXPECT_FALSE(g->isOpen());
    EXPECT_TRUE(main.按钮_样照欣赏.isEnabled());
}

}  // namespace
}  // namespace xp::test
