// The settings window on the real Qt widgets (offscreen): opened for the requirement presets alone, the
// other tabs cannot be reached with the mouse or the keyboard; opened with every tab, they can.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "appdata/installation.h"
#include "appdata/settings_files.h"
#include "settings/settings_window.h"
#include "shell/app_state.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_host.h"

namespace xp::test {
namespace {

using ui::qt::widgetOf;

class SettingsOnQt : public ::testing::Test {
protected:
    SettingsOnQt() {
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << made.message;
        app = std::make_unique<AppState>(host, made.folder);
        writeRequirementPresets(app->paths, {"加急", "封面烫金"});
    }
    ~SettingsOnQt() override {
        while (host.hasOpenWindows()) host.openWindows().back()->close();
    }

    SettingsWindow& show(SettingsWindow::Mode mode) {
        auto& win = host.open<SettingsWindow>(*app, mode);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(widgetOf(win)));
        return win;
    }
    static QTabBar* tabBarOf(SettingsWindow& win) { return widgetOf(win.高级选择夹1)->findChild<QTabBar*>(); }
    static void clickTab(QTabBar* bar, int index) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    TempDir temp;
    std::unique_ptr<AppState> app;  // outlives the windows the host still holds
    ui::qt::QtHost host;
};

TEST_F(SettingsOnQt, OpenedForThePresetsTheOtherTabsCannotBeChosen) {
    auto& win = show(SettingsWindow::Mode::RequirementsOnly);
    QTabBar* bar = tabBarOf(win);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 5);
    EXPECT_EQ(bar->currentIndex(), 3);
    auto* presets = qobject_cast<QListWidget*>(widgetOf(win.列表框1));
    ASSERT_NE(presets, nullptr);
    EXPECT_TRUE(presets->isVisible());
    EXPECT_EQ(presets->count(), 2);

    for (int tab : {0, 1, 2, 4}) {
        SCOPED_TRACE(tab);
        EXPECT_FALSE(bar->isTabEnabled(tab));
        clickTab(bar, tab);
        EXPECT_EQ(bar->currentIndex(), 3);
        EXPECT_EQ(win.高级选择夹1.current(), 3);
    }
    bar->setFocus();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End}) QTest::keyClick(bar, key);
    QTest::keyClick(widgetOf(win), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(bar->currentIndex(), 3);
    EXPECT_EQ(win.高级选择夹1.current(), 3);
    EXPECT_TRUE(presets->isVisible());
    EXPECT_FALSE(widgetOf(win.按钮_保存)->isVisible());
    EXPECT_FALSE(widgetOf(win.编辑框_用户名)->isVisible());
    EXPECT_EQ(presets->count(), 2);
}

TEST_F(SettingsOnQt, OpenedWithEveryTabEachCanBeChosen) {
    auto& win = show(SettingsWindow::Mode::AllTabs);
    QTabBar* bar = tabBarOf(win);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->currentIndex(), 0);
    for (int tab : {1, 2, 3, 4, 0}) {
        SCOPED_TRACE(tab);
        EXPECT_TRUE(bar->isTabEnabled(tab));
        clickTab(bar, tab);
        EXPECT_EQ(win.高级选择夹1.current(), tab);
    }
    clickTab(bar, 3);
    EXPECT_EQ(qobject_cast<QListWidget*>(widgetOf(win.列表框1))->count(), 2);
    EXPECT_TRUE(widgetOf(win.按钮_新增)->isVisible());
}

}  // namespace
}  // namespace xp::test
