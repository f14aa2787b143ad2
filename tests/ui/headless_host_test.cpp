// The headless host as window tests use it: window lifetimes, modal scripts, recorded and answered
// boxes, the virtual clock with timers and scheduled user actions, menus, launches and the fatal error.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cmath>

#include "ui/headless/scenario.h"
#include "ui/ui.h"

namespace xp::ui {
namespace {

using headless::DialogKind;
using headless::FatalErrorShown;
using headless::Scenario;
using headless::UnexpectedDialog;

struct Child : Window {
    std::vector<std::string>* log;
    explicit Child(std::vector<std::string>* l) : Window("Child"), log(l) {
        onDestroying = [this] { log->push_back("child destroying"); };
    }
};

struct Main : Window {
    std::vector<std::string> log;
    Button 关闭按钮{*this, "关闭按钮"};
    Main() : Window("Main", {0, 0, 1366, 728}) {
        onCreated = [this] { log.push_back("created"); };
        onDestroying = [this] { log.push_back("main destroying"); };
        关闭按钮.onClick = [this] { close(); };
    }
};

TEST(HeadlessHost, ClosingAWindowClosesItsChildWindowsFirstAndEndsTheProgramWhenLast) {
    Scenario s;
    auto& main = s.show<Main>();
    auto& child = s.host().open<Child>(&main.log);
    child.setParentWindow(&main);
    EXPECT_EQ(s.find<Child>(), &child);
    EXPECT_EQ(s.host().openWindows().size(), 2u);

    child.resize(492, 393);
    child.centre();
    EXPECT_EQ(child.bounds(), (Rect{437, 167, 492, 393})) << "in the middle of its parent";
    s.setScreenSize(1024, 768);
    Window dialog("NewOrderDialog");
    dialog.resize(604, 413);
    dialog.centre();
    EXPECT_EQ(dialog.bounds(), (Rect{210, 177, 604, 413})) << "in the middle of the screen";

    main.关闭按钮.click();
    EXPECT_EQ(main.log, (std::vector<std::string>{"created", "child destroying", "main destroying"}));
    EXPECT_FALSE(child.isOpen());
    EXPECT_FALSE(s.host().hasOpenWindows());
    EXPECT_EQ(s.find<Main>(), nullptr);
    main.close();  // closing twice runs nothing
    EXPECT_EQ(main.log.size(), 3u);
}

struct Dialog : Window {
    EditBox 编辑框1{*this, "编辑框1"};
    Button 确定按钮{*this, "确定按钮"};
    std::string stored;
    std::vector<std::string> log;
    Dialog() : Window("Dialog") {
        onCreated = [this] { log.push_back("created"); };
        onDestroying = [this] { log.push_back("destroying"); };
        确定按钮.onClick = [this] {
            stored = 编辑框1.text();
            close();
        };
    }
};

TEST(HeadlessHost, ModalWindowsRunTheirScriptOrCloseAtOnce) {
    Scenario s;
    {
        Dialog d;
        s.host().showModal(d);
        EXPECT_EQ(d.log, (std::vector<std::string>{"created", "destroying"}));
    }
    s.whenModal<Dialog>([](Dialog& d) {
        d.编辑框1.setText("NO-1");
        d.确定按钮.click();
    });
    Dialog d;
    s.host().showModal(d);
    EXPECT_EQ(d.stored, "NO-1");
    ASSERT_EQ(s.modals().size(), 2u);
    EXPECT_FALSE(s.modals()[0].scripted);
    EXPECT_TRUE(s.modals()[1].scripted);
    EXPECT_NE(s.modals()[1].type.find("Dialog"), std::string::npos);
    s.host().showModal(d);  // a closed window is never shown again
    EXPECT_EQ(s.modals().size(), 2u);
}

TEST(HeadlessHost, BoxesAreRecordedWithDefaultTitlesAndAnsweredInOrder) {
    Scenario s;
    s.expectMessage("照片删除后不可恢复，确认要删除吗？")
        .title("信息：")
        .icon(MessageIcon::Warning)
        .buttons(MessageButtons::YesNo)
        .answer(MessageResult::Yes);
    s.expectInput("请输入产品类别名称，例如：水晶相册").title("请输入：").answer("水晶相册");
    s.expectInput().cancel();
    s.expectFolder("请选择照片存放的文件夹").answer("/photos/order1");
    s.expectFile().answer("/logo/a.jpg");

    EXPECT_EQ(messageBox("照片删除后不可恢复，确认要删除吗？", "", MessageIcon::Warning, MessageButtons::YesNo),
              MessageResult::Yes);
    EXPECT_EQ(inputBox("请输入产品类别名称，例如：水晶相册"), "水晶相册");
    EXPECT_EQ(inputBox("请输入新的修片要求", "修片要求"), "");
    EXPECT_EQ(host().browseFolder("请选择照片存放的文件夹"), "/photos/order1");
    FileDialog dialog;
    dialog.filter = "图片文件（*.JPG）|*.jpg";
    dialog.initialFolder = "/prog/logo";
    EXPECT_TRUE(dialog.open());
    EXPECT_EQ(dialog.fileName(), "/logo/a.jpg");

    ASSERT_EQ(s.dialogs().size(), 5u);
    EXPECT_EQ(s.dialogs()[0].title, "信息：");
    EXPECT_EQ(s.dialogs()[0].defaultResult, MessageResult::Yes) << "Enter presses the first button";
    EXPECT_EQ(s.dialogs()[2].title, "修片要求");
    EXPECT_EQ(s.dialogs()[4].filter, "图片文件（*.JPG）|*.jpg");
    EXPECT_EQ(s.dialogs()[4].initialFolder, "/prog/logo");

    // A question whose 是 deletes: Enter means 否; the test looks at the windows while the box is up.
    bool looked = false;
    s.expectMessage("确定要删除订单吗？")
        .defaultButton(MessageResult::No)
        .whileShown([&] { looked = true; })
        .answer(MessageResult::No);
    EXPECT_EQ(
        messageBox("确定要删除订单吗？", "提示信息", MessageIcon::Question, MessageButtons::YesNo, MessageResult::No),
        MessageResult::No);
    EXPECT_TRUE(looked);
    EXPECT_EQ(s.lastDialog().defaultResult, MessageResult::No);

    // A cancelled file dialog leaves the name chosen before.
    s.expectFile().cancel();
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(dialog.fileName(), "/logo/a.jpg");
}

TEST(HeadlessHost, BoxesTheTestDidNotExpectFailClearly) {
    Scenario s;
    try {
        messageBox("用户名或密码错误！", "提示信息", MessageIcon::Information);
        FAIL() << "no exception";
    } catch (const UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("用户名或密码错误！"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.messages(), (std::vector<std::string>{"用户名或密码错误！"})) << "recorded all the same";

    struct Case {
        const char* what;
        std::function<void()> queue;
    };
    const Case cases[] = {
        {"other text", [&] { s.expectMessage("保存成功！"); }},
        {"other title", [&] { s.expectMessage().title("提示信息"); }},
        {"other icon", [&] { s.expectMessage().icon(MessageIcon::Information); }},
        {"another kind of dialog", [&] { s.expectInput(); }},
        {"a button the box lacks", [&] { s.expectMessage().answer(MessageResult::Yes); }},
        {"another default button", [&] { s.expectMessage().defaultButton(MessageResult::Cancel); }},
    };
    for (const Case& c : cases) {
        c.queue();
        EXPECT_THROW(messageBox("保存失败！请重试!"), UnexpectedDialog) << c.what;
    }
    EXPECT_TRUE(s.host().pendingAnswers().empty());
}

TEST(HeadlessHost, AnExpectedBoxThatNeverCameFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            Scenario s;
            s.expectMessage("分片完成！是否打开顾客选片文件夹");
        },
        "分片完成！是否打开顾客选片文件夹");
}

// A slideshow the way the viewer runs one: the play click waits per photo with the timer counting
// 100 ms ticks; a stop click during the wait waits out the rest of the photo's time before the exit
// button comes back.
struct Show : Window {
    ImageButton 播放按钮{*this, "播放按钮"};
    ImageButton 退出按钮{*this, "退出按钮"};
    Timer 时钟1{*this, "时钟1"};
    int interval = 3000, ticks = 0, shown = 0, photos = 5;
    bool playing = false, pausing = false;
    std::int64_t exitEnabledAt = -1;
    Show() : Window("Show") {
        时钟1.onTick = [this] { ++ticks; };
        播放按钮.onClick = [this] {
            if (!playing) {
                playing = true;
                退出按钮.disable();
                for (int i = 0; i < photos && playing; ++i) {
                    ++shown;
                    pausing = true;
                    时钟1.start(100);
                    host().waitWithEvents(interval);
                    时钟1.stop();
                    pausing = false;
                    ticks = 0;
                }
            } else {
                playing = false;
                if (pausing) {
                    int wait = (static_cast<int>(std::lround(interval / 111.0)) - ticks) * 111;
                    if (wait > 0) host().waitWithEvents(wait);
                    退出按钮.enable();
                    exitEnabledAt = host().tickCount();
                }
            }
        };
    }
};

TEST(HeadlessHost, ScheduledClicksRunNestedInsideWaitsAfterTheTimerTicksOfThatInstant) {
    Scenario s;
    auto& w = s.show<Show>();
    s.after(1000, [&] { w.播放按钮.click(); });
    w.播放按钮.click();
    EXPECT_EQ(w.shown, 1);
    EXPECT_EQ(w.exitEnabledAt, 1000 + (27 - 10) * 111);
    EXPECT_EQ(s.now(), 3000) << "the outer wait ends at its own time";
    EXPECT_TRUE(w.退出按钮.isEnabled());

    // Without a stop the show runs through every photo; the timer only ticks while started.
    w.ticks = 0;
    s.advance(500);
    EXPECT_EQ(w.ticks, 0);
    w.播放按钮.click();
    EXPECT_EQ(w.shown, 6);
    EXPECT_EQ(s.now(), 3500 + 5 * 3000);
}

TEST(HeadlessHost, TimersStopWithTheirWindowAndRestartWhenSetAgain) {
    Scenario s;
    auto& w = s.show<Show>();
    w.时钟1.start(10);
    s.advance(25);
    EXPECT_EQ(w.ticks, 2);
    w.时钟1.start(10);  // setting the interval again starts the count afresh
    s.advance(9);
    EXPECT_EQ(w.ticks, 2);
    s.advance(1);
    EXPECT_EQ(w.ticks, 3);
    w.时钟1.onTick = [&] {
        ++w.ticks;
        w.时钟1.stop();  // a timer that fires once
    };
    s.advance(100);
    EXPECT_EQ(w.ticks, 4);
    w.时钟1.start(10);
    w.close();
    s.advance(100);
    EXPECT_EQ(w.ticks, 4);
}

TEST(HeadlessHost, PopupMenusRunThePickedItem) {
    Scenario s;
    s.mouseAt(300, 40);
    PopupMenu menu;
    std::vector<std::string> ran;
    menu.addItem("访问官网", [&] { ran.push_back("web"); });
    menu.addItem("联系我们", [&] { ran.push_back("contact"); });

    s.expectMenu().pick("联系我们");
    EXPECT_EQ(menu.popup(), 1);
    s.expectMenu().cancel();
    EXPECT_EQ(menu.popup(), -1);
    s.expectMenu().pick("退出");
    EXPECT_THROW(menu.popup(), UnexpectedDialog);
    EXPECT_EQ(ran, (std::vector<std::string>{"contact"}));
    EXPECT_EQ(s.dialogs()[0].position, (Point{300, 40}));
    EXPECT_EQ(s.dialogs()[0].menuItems, (std::vector<std::string>{"访问官网", "联系我们"}));
}

TEST(HeadlessHost, LaunchesGoThroughTheReplaceableLauncher) {
    Scenario s;
    EXPECT_TRUE(host().openWebAddress("https://example.org"));
    std::vector<std::string> launched;
    host().setLauncher([&](LaunchKind kind, const std::string& target) {
        launched.push_back((kind == LaunchKind::Folder ? "folder " : "web ") + target);
        return false;
    });
    EXPECT_FALSE(host().openFolder("/photos/order1"));
    host().setLauncher({});
    s.host().setLaunchResult(false);
    EXPECT_FALSE(host().openFolder("/photos/order2"));
    EXPECT_EQ(launched, (std::vector<std::string>{"folder /photos/order1"}));
    ASSERT_EQ(s.launches().size(), 2u);
    EXPECT_EQ(s.launches()[0].kind, LaunchKind::WebAddress);
    EXPECT_EQ(s.launches()[1].target, "/photos/order2");
}

TEST(HeadlessHost, TheFatalErrorShowsItsBoxAndEndsTheRun) {
    Scenario s;
    try {
        host().fatalError("字段不存在");
        FAIL() << "fatalError returned";
    } catch (const FatalErrorShown& e) {
        EXPECT_EQ(e.text, "运行时出错!\r\n\r\n错误信息：字段不存在\r\n");
    }
    EXPECT_EQ(s.lastDialog().kind, DialogKind::FatalError);
    EXPECT_EQ(s.lastDialog().title, "错误");
    EXPECT_EQ(s.lastDialog().icon, MessageIcon::Error);
}

TEST(HeadlessHost, ThePrintPreviewShowsTheGridAsItWas) {
    Scenario s;
    struct Form : Window {
        Grid 高级表格1{*this, "高级表格1", {16, 576, 752, 48}};
        Form() : Window("Form") {}
    };
    auto& w = s.show<Form>();
    w.高级表格1.grid().setSize(17, 7);
    w.高级表格1.grid().setText(1, 1, "影楼选片单");
    s.expectPrintPreview([](PrintGrid& g) { g.setPageSetting(PageSetting::LeftMargin, 100); });
    w.高级表格1.printPreview();
    ASSERT_TRUE(s.lastDialog().grid.has_value());
    EXPECT_EQ(s.lastDialog().grid->text(1, 1), "影楼选片单");
    EXPECT_EQ(w.高级表格1.grid().pageSetting(PageSetting::LeftMargin), 100) << "the user changed the margin there";
}

}  // namespace
}  // namespace xp::ui
