// The selection viewer on the real Qt widgets, offscreen on a 1366 × 768 screen: its layout, the keys
// typed into it, the product check list popping up at a right click on the photo, and a turn that
// leaves the file readable and upright.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "app/plug_windows.h"
#include "appdata/installation.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "imaging/display_decode.h"
#include "selection/photo_list_panel.h"
#include "selection/selection_viewer.h"
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
    const std::string config = std::filesystem::temp_directory_path() / "xp-selection-qt-screen.json";
    std::ofstream(config) << R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1366, "height": 768,
                                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
    return true;
}();

class SelectionOnQt : public ::testing::Test {
protected:
    SelectionOnQt() {
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << made.message;
        app = std::make_unique<AppState>(host, made.folder);
        plugWindows(*app);
        folder = temp / "order";
        std::filesystem::create_directories(folder);
        testing::writeFile(folder + "/A.jpg", testing::jpeg(testing::quadrants(3000, 2000), 90, 0));
        testing::writeFile(folder + "/B.jpg", testing::jpeg(testing::quadrants(64, 48), 95, 0));
        RecordStore store;
        EXPECT_TRUE(openAppTable(store, app->paths.orderTable));
        EXPECT_TRUE(store.appendRecord({}));
        EXPECT_TRUE(writeText(store, order_fields::kOrderNumber, "A1"));
        EXPECT_TRUE(writeText(store, order_fields::kSelectionFolder, folder));
        EXPECT_TRUE(writeText(store, order_fields::kPackageProducts, "P。"));
        EXPECT_TRUE(writeText(store, order_fields::kIncludedCount, "1"));
    }
    ~SelectionOnQt() override {
        while (host.hasOpenWindows()) host.openWindows().back()->close();
    }

    static void key(int k) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(k));
    }

    TempDir temp;
    std::string folder;
    std::unique_ptr<AppState> app;  // outlives the windows the host still holds
    ui::qt::QtHost host;
};

TEST_F(SelectionOnQt, TheViewerFillsTheScreenTakesKeysPopsTheCheckListAndTurnsAPhotoUpright) {
    ASSERT_TRUE(kScreenSet);
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1366, 768));
    auto& main = host.open<MainWindow>(*app);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(main)));
    app->orderRecordNumber = 1;
    ASSERT_TRUE(main.openOrderPhotos(folder));
    ASSERT_EQ(main.超级列表框1.itemCount(), 2);

    bool ran = false;
    QTimer::singleShot(0, qApp, [&] {
        auto* v = host.find<SelectionViewer>();
        ASSERT_NE(v, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(*v)));
        ran = true;
        EXPECT_EQ(widgetOf(*v)->geometry(), QRect(0, 0, 1366, 768));
        EXPECT_EQ(widgetOf(v->图片框1)->geometry(), QRect(0, 38, 1366, 621));
        EXPECT_EQ(widgetOf(v->外形框4)->geometry(), QRect(0, 656, 1366, 64));
        EXPECT_EQ(widgetOf(v->外形框1)->geometry().left(), 399);
        EXPECT_EQ(v->图片框2.image().width, 931);

        key(Qt::Key_Up);
        EXPECT_EQ(widgetOf(v->图片框2)->geometry(), QRect(-341, -155, 2049, 931));
        key(Qt::Key_0);
        EXPECT_EQ(widgetOf(v->图片框2)->geometry(), QRect(0, 0, 1366, 621));
        key(Qt::Key_Right);
        EXPECT_EQ(app->photoIndex, 1);
        EXPECT_EQ(v->透明标签4.caption(), "当前照片：B");

        QCursor::setPos(600, 300);
        QTest::mouseClick(widgetOf(v->图片框2), Qt::RightButton, {}, QPoint(600, 262));
        QWidget* checks = widgetOf(v->选择列表框1);
        EXPECT_TRUE(checks->isVisible());
        EXPECT_EQ(checks->geometry(), QRect(QCursor::pos(), QSize(128, 76)));
        QTest::mouseClick(widgetOf(v->图片框2), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_FALSE(checks->isVisible());

        QTest::mouseClick(widgetOf(v->右转按钮), Qt::LeftButton);
        EXPECT_EQ(v->图片框2.image().width, 48);
        EXPECT_EQ(v->图片框2.image().height, 64);

        QTest::mouseClick(widgetOf(v->退出按钮), Qt::LeftButton);
    });
    main.超级列表框1.setSelected(0);
    main.超级列表框1.doubleClick(0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(host.find<SelectionViewer>(), nullptr);

    // The turned file reads back upright: a left edge of blue (the former bottom-left quarter) on top.
    const ui::Image turned = testing::decode(testing::readFile(folder + "/B.jpg"));
    ASSERT_EQ(turned.width, 48);
    ASSERT_EQ(turned.height, 64);
    EXPECT_TRUE(testing::near(testing::pixel(turned, 8, 8), testing::kBlue, 40));
    const ImageSize upright = uprightImageSize(folder + "/B.jpg");
    EXPECT_EQ(upright.width, 48);
}

}  // namespace
}  // namespace xp::test
