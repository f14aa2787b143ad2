// The main window as the selector meets it after logging in: the layout computed from the screen, the
// background drawn on the first timer tick, the left column's navigation with its messages, the banner
// buttons and the contact links, and the seams through which the other windows plug in.
#include <gtest/gtest.h>

#include "appdata/settings_files.h"
#include "appdata/table_text.h"
#include "imaging/thumbnail.h"
#include "resources/builtin_pictures.h"
#include "shell/main_window.h"
#include "tests/shell/shell_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;
using ui::Rect;

std::vector<std::uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

class MainWindowTest : public ShellTest {
protected:
    MainWindow& open() { return s.show<MainWindow>(*app); }
    void expectInfo(const std::string& text) { s.expectMessage(text).title("提示信息").icon(MessageIcon::Information); }
    void expectNotAvailable() { s.expectMessage().title("提示信息").icon(MessageIcon::Information); }
};

TEST_F(MainWindowTest, LaysItselfOutOnA1366By768Screen) {
    auto& w = open();
    EXPECT_EQ(w.border(), ui::BorderStyle::None);
    EXPECT_EQ(w.bounds(), (Rect{0, 0, 1366, 728}));
    EXPECT_EQ(w.标签1.bounds(), (Rect{0, 0, 1366, 50}));
    EXPECT_EQ(w.图片框1.bounds(), (Rect{0, 0, 336, 50}));
    EXPECT_EQ(w.关闭按钮.bounds(), (Rect{1331, 16, 25, 25}));
    EXPECT_EQ(w.最小化按钮1.bounds(), (Rect{1301, 16, 25, 25}));
    EXPECT_EQ(w.标签3.bounds(), (Rect{0, 50, 1366, 33}));
    EXPECT_EQ(w.标签3.caption(), "Zelvano影楼选片系统");
    EXPECT_EQ(w.标签2.bounds(), (Rect{0, 83, 184, 645}));
    EXPECT_EQ(w.按钮_导入选片数据.bounds(), (Rect{9, 98, 164, 50}));
    EXPECT_EQ(w.按钮_更换LOGO.bounds(), (Rect{8, 521, 164, 50}));
    EXPECT_EQ(w.图片框6.bounds(), (Rect{33, 630, 105, 23}));

    EXPECT_EQ(w.图片框2.bounds(), (Rect{184, 83, 1182, 645}));
    EXPECT_EQ(w.外形框_超级列表框1.bounds(), (Rect{184, 83, 1182, 645}));
    EXPECT_EQ(w.分组框2.bounds(), (Rect{0, -5, 1182, 53}));
    EXPECT_EQ(w.超级列表框1.bounds(), (Rect{0, 48, 1182, 577}));
    EXPECT_EQ(w.状态标签.bounds(), (Rect{0, 625, 1182, 20}));
    EXPECT_EQ(w.外形框_数据管理.bounds(), (Rect{184, 83, 1182, 645}));
    EXPECT_EQ(w.分组框1.bounds(), (Rect{0, 0, 1182, 48}));
    EXPECT_EQ(w.超级列表框2.bounds(), (Rect{0, 48, 1182, 597}));
    EXPECT_EQ(w.外形框_加载.bounds(), (Rect{599, 355, 352, 100}));
    EXPECT_EQ(w.外形框_分片.bounds(), (Rect{503, 328, 360, 72}));

    for (ui::Control* panel :
         {static_cast<ui::Control*>(&w.外形框_数据管理), static_cast<ui::Control*>(&w.外形框_超级列表框1),
          static_cast<ui::Control*>(&w.外形框_加载), static_cast<ui::Control*>(&w.外形框_分片),
          static_cast<ui::Control*>(&w.选择列表框1), static_cast<ui::Control*>(&w.组合框2)})
        EXPECT_FALSE(panel->isVisible()) << panel->name();
    EXPECT_EQ(w.超级列表框2.mode(), ui::ListViewMode::Report);
    EXPECT_EQ(w.超级列表框1.mode(), ui::ListViewMode::Icon);
}

TEST_F(MainWindowTest, DrawsTheBackgroundOnceOnTheFirstTickCentredOnlyWhenTheAreaIsWiderThanIt) {
    struct Case {
        int screenWidth, screenHeight;
        ui::Point at;
    };
    // Content area = screen width - 184 by screen height - 40 - 83.
    for (const Case& c : {Case{1366, 768, {108, 23}}, Case{1144, 768, {0, 23}}, Case{1145, 768, {-3, 23}},
                          Case{1920, 1080, {385, 179}}, Case{1024, 708, {0, -6}}}) {
        SCOPED_TRACE(std::to_string(c.screenWidth) + "x" + std::to_string(c.screenHeight));
        s.setScreenSize(c.screenWidth, c.screenHeight);
        auto& w = open();
        EXPECT_TRUE(w.图片框2.drawings().empty());
        EXPECT_TRUE(w.时钟1.isRunning());
        s.advance(9);
        EXPECT_TRUE(w.图片框2.drawings().empty());
        s.advance(1);
        ASSERT_EQ(w.图片框2.drawings().size(), 1u);
        const ui::Drawing& d = w.图片框2.drawings()[0];
        EXPECT_EQ((ui::Point{d.x, d.y}), c.at);
        ASSERT_TRUE(d.bytes);
        EXPECT_EQ(*d.bytes, bytesOf(builtinPicture(pictures::mainBackground)));
        EXPECT_FALSE(w.时钟1.isRunning());
        s.advance(100);
        EXPECT_EQ(w.图片框2.drawings().size(), 1u);
        w.close();
    }
}

TEST_F(MainWindowTest, ShowsTheStudiosLogoAndBackgroundFromLogoIni) {
    app->logo2 = bytesOf("studio logo");
    app->logo3Path = temp.put("back.jpg", "studio background");
    auto& w = open();
    EXPECT_EQ(w.图片框1.picture(), bytesOf("studio logo"));
    s.advance(10);
    ASSERT_EQ(w.图片框2.drawings().size(), 1u);
    EXPECT_EQ(*w.图片框2.drawings()[0].bytes, bytesOf("studio background"));
    w.close();

    app->logo2.clear();
    app->logo3Path = temp / "gone.jpg";
    auto& again = open();
    EXPECT_EQ(again.图片框1.picture(), bytesOf(builtinPicture(pictures::mainLogo)));
    s.advance(10);
    EXPECT_EQ(*again.图片框2.drawings()[0].bytes, bytesOf(builtinPicture(pictures::mainBackground)));
}

TEST_F(MainWindowTest, CustomerDetailsNeedAnOrderChosenFirst) {
    int edits = 0;
    bool disabledWhileOpen = false;
    app->openers.editOrder = [&](MainWindow& w) {
        ++edits;
        disabledWhileOpen = !w.按钮_顾客资料.isEnabled();
    };
    auto& w = open();
    expectInfo("请先打开数据管理并选择客户订单编号后在选择此项！");
    w.按钮_顾客资料.click();

    w.外形框_数据管理.show();
    w.超级列表框2.addItem("20240001");
    expectInfo("请先选择客户订单编号后在选择此项！");
    w.按钮_顾客资料.click();
    EXPECT_EQ(edits, 0);

    w.超级列表框2.pickItem(0);
    w.按钮_顾客资料.click();
    EXPECT_EQ(edits, 1);
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(w.按钮_顾客资料.isEnabled());

    w.hidePanels();
    w.外形框_超级列表框1.show();  // an open order counts without a row of the order list
    w.按钮_顾客资料.click();
    EXPECT_EQ(edits, 2);
}

TEST_F(MainWindowTest, ButtonsWithoutTheirWindowSaySoAndLeaveNothingMarkedOpen) {
    auto& w = open();
    ui::PictureButton* buttons[] = {&w.按钮_导入选片数据, &w.超级按钮_自动分片, &w.按钮_样照欣赏,
                                    &w.按钮_设计看版,     &w.按钮_系统设置,     &w.按钮_更换LOGO};
    for (ui::PictureButton* b : buttons) {
        SCOPED_TRACE(b->name());
        expectNotAvailable();
        b->click();
        EXPECT_TRUE(b->isEnabled());
    }
    expectNotAvailable();
    w.按钮_数据管理.click();
    EXPECT_TRUE(w.外形框_数据管理.isVisible());
    EXPECT_FALSE(w.按钮_数据管理.isEnabled());
}

TEST_F(MainWindowTest, TheLeftColumnMarksTheOpenFunctionAndKeepsOnePanelAtATime) {
    std::vector<std::string> log;
    app->openers.fillOrderList = [&](MainWindow& w) {
        log.push_back("fill");
        w.超级列表框2.addItem("row");
    };
    app->openers.newOrder = [&](MainWindow& w) {
        log.push_back(std::string("new order, import ") + (w.按钮_导入选片数据.isEnabled() ? "on" : "off"));
    };
    app->openers.settings = [&](MainWindow& w) {
        log.push_back(std::string("settings, ") + (w.按钮_系统设置.isEnabled() ? "on" : "off"));
    };
    auto& w = open();

    w.按钮_数据管理.click();
    EXPECT_TRUE(w.外形框_数据管理.isVisible());
    EXPECT_FALSE(w.外形框_超级列表框1.isVisible());
    EXPECT_FALSE(w.按钮_数据管理.isEnabled());

    w.按钮_导入选片数据.click();
    EXPECT_FALSE(w.外形框_数据管理.isVisible());
    EXPECT_TRUE(w.按钮_数据管理.isEnabled());
    EXPECT_TRUE(w.按钮_导入选片数据.isEnabled());

    // The settings close every table, the open order's photo table included.
    w.外形框_超级列表框1.show();
    ASSERT_TRUE(openAppTable(app->store, app->paths.userTable));
    w.按钮_系统设置.click();
    EXPECT_EQ(app->store.tableCount(), 0);
    EXPECT_FALSE(w.外形框_超级列表框1.isVisible());
    EXPECT_TRUE(w.按钮_系统设置.isEnabled());
    EXPECT_EQ(log, (std::vector<std::string>{"fill", "new order, import off", "settings, off"}));
}

TEST_F(MainWindowTest, WhileAnOrderLoadsNothingElseTakesClicksAndEveryLoadStartsClean) {
    std::vector<std::string> reached;
    app->openers.fillOrderList = [&](MainWindow& w) { w.超级列表框2.addItem("NO-1"); };
    app->openers.settings = [&](MainWindow&) { reached.push_back("settings"); };
    std::string labelAtStart;
    int photos = 300;
    app->openers.openOrderPhotos = [&](MainWindow& w) {
        labelAtStart = w.标签4.caption();
        EXPECT_TRUE(w.外形框_加载.isVisible());
        w.超级列表框1.clear();
        for (int i = 0; i < photos; ++i) {
            s.host().processEvents();  // where a click the user makes meanwhile comes in
            w.标签4.setCaption("正在加载图片请稍候(" + std::to_string(i + 1) + ")");
            w.超级列表框1.addItem("IMG_" + std::to_string(i), -1, i + 1);
        }
        w.外形框_超级列表框1.show();
        return true;
    };
    auto& w = open();
    w.按钮_数据管理.click();
    w.超级列表框2.onDoubleClick = [&](int) { reached.push_back("order list"); };
    ASSERT_FALSE(w.按钮_数据管理.isEnabled());

    // Every button of the left column and the banner, and the order list, clicked in mid-load.
    std::vector<ui::Clickable*> buttons = {
        &w.按钮_导入选片数据, &w.按钮_数据管理, &w.按钮_顾客资料, &w.超级按钮_自动分片, &w.按钮_样照欣赏,
        &w.按钮_设计看版,     &w.按钮_系统设置, &w.按钮_更换LOGO, &w.关闭按钮,          &w.最小化按钮1};
    s.after(0, [&] {
        for (ui::Clickable* b : buttons)
            if (b->click()) reached.push_back(b->name());
        if (w.超级列表框2.doubleClick(0)) reached.push_back("order list");
        EXPECT_FALSE(w.按钮_系统设置.isEnabled()) << "shown as unavailable";
    });
    ASSERT_TRUE(w.openOrderPhotos(temp / "order1"));
    EXPECT_TRUE(reached.empty()) << reached.front();
    EXPECT_EQ(labelAtStart, "正在加载图片请稍候(0)");
    EXPECT_FALSE(w.外形框_加载.isVisible());
    for (ui::Clickable* b : buttons) EXPECT_EQ(b->isEnabled(), b != &w.按钮_数据管理) << b->name();
    EXPECT_TRUE(w.外形框_数据管理.isEnabled());
    EXPECT_EQ(w.超级列表框1.selected(), 0) << "the first tile is chosen";
    EXPECT_TRUE(w.超级列表框1.hasFocus());

    // The next order: the label no longer says 300, and the grid starts at its first tile again.
    w.超级列表框1.pickItem(299);
    w.按钮_系统设置.focus();
    photos = 15;
    ASSERT_TRUE(w.openOrderPhotos(temp / "order2"));
    EXPECT_EQ(labelAtStart, "正在加载图片请稍候(0)");
    EXPECT_EQ(w.超级列表框1.selected(), 0);
    EXPECT_TRUE(w.超级列表框1.hasFocus());

    // A load that fails gives everything back too, and chooses nothing.
    app->openers.openOrderPhotos = [](MainWindow&) { return false; };
    EXPECT_FALSE(w.openOrderPhotos(temp / "missing"));
    for (ui::Clickable* b : buttons) EXPECT_EQ(b->isEnabled(), b != &w.按钮_数据管理) << b->name();
}

struct Gallery : ui::Window {
    Gallery() : ui::Window("GalleryWindow") {}
};

TEST_F(MainWindowTest, TheTwoGalleryButtonsShareOneGalleryWindow) {
    std::vector<std::string> modes;
    app->openers.gallery = [&](MainWindow& w) {
        modes.push_back(w.app.galleryMode);
        auto g = std::make_shared<Gallery>();
        g->setParentWindow(&w);
        w.app.host.show(g);
        return g;
    };
    auto& w = open();
    w.按钮_数据管理.disable();
    w.按钮_样照欣赏.click();
    ui::Window* first = w.galleryWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(w.按钮_样照欣赏.isEnabled());
    EXPECT_TRUE(w.按钮_数据管理.isEnabled());

    w.按钮_设计看版.click();
    EXPECT_FALSE(first->isOpen());
    EXPECT_TRUE(w.galleryWindowOpen());
    EXPECT_TRUE(w.按钮_样照欣赏.isEnabled());
    EXPECT_FALSE(w.按钮_设计看版.isEnabled());
    EXPECT_EQ(modes, (std::vector<std::string>{"样照欣赏", "设计看版"}));

    expectNotAvailable();
    w.按钮_数据管理.click();  // another function closes the gallery
    EXPECT_FALSE(w.galleryWindowOpen());
    EXPECT_EQ(s.host().openWindows().size(), 1u);
}

TEST_F(MainWindowTest, BannerButtonsContactLinksAndTheImagingLibrary) {
    struct Part : MainWindowPart {
        ui::Button 按钮;
        explicit Part(MainWindow& w) : 按钮(w.分组框1, "按钮_单号查询", {127, 15, 80, 25}) {}
    };
    app->mainWindowBuilders.push_back([](MainWindow& w) { w.addPart<Part>(w); });
    auto& w = open();
    EXPECT_EQ(app->mainWindow(), &w);
    EXPECT_EQ(w.分组框1.children().size(), 1u);
    EXPECT_TRUE(imagingStarted());

    struct Link {
        ui::PictureBox* box;
        const char* address;
    };
    for (const Link& l : {Link{&w.图片框4, MainWindow::kWebsiteAddress}, Link{&w.图片框5, MainWindow::kContactAddress},
                          Link{&w.图片框6, MainWindow::kHelpAddress}}) {
        l.box->mouseDown(ui::MouseButton::Right, 3, 3);
        l.box->mouseDown(ui::MouseButton::Left, 3, 3);
        ASSERT_FALSE(s.launches().empty());
        EXPECT_EQ(s.launches().back().target, l.address);
    }
    EXPECT_EQ(s.launches().size(), 3u);

    w.最小化按钮1.click();
    EXPECT_TRUE(w.isMinimized());
    w.关闭按钮.click();
    EXPECT_FALSE(w.isOpen());
    EXPECT_FALSE(s.host().hasOpenWindows());
    EXPECT_FALSE(imagingStarted());
}

}  // namespace
}  // namespace xp::test
