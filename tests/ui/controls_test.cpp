// Control state and the user's actions on it: availability along the container chain, groups of radio
// buttons, check boxes, edit box changes, focus moves, list selections and tabs.
#include <gtest/gtest.h>

#include "ui/headless/scenario.h"
#include "ui/ui.h"

namespace xp::ui {
namespace {

using headless::Scenario;

struct Panelled : Window {
    Frame 外形框1{*this, "外形框1", {10, 10, 200, 100}};
    Button 按钮1{外形框1, "按钮1", {5, 5, 60, 20}};
    TabControl 选择夹{*this, "选择夹", {0, 120, 300, 200}, {"一", "二"}};
    Button 页二按钮{选择夹.page(1), "页二按钮", {10, 40, 60, 20}};
    Panelled() : Window("Panelled", {0, 0, 400, 400}) {}
};

TEST(Controls, UserActionsReachHandlersOnlyWhileTheControlIsAvailable) {
    Scenario s;
    auto& w = s.show<Panelled>();
    int clicks = 0;
    w.按钮1.onClick = [&] { ++clicks; };
    w.页二按钮.onClick = [&] { ++clicks; };

    struct Case {
        const char* what;
        std::function<void()> arrange;
        std::function<void()> undo;
    };
    const Case cases[] = {
        {"hidden button", [&] { w.按钮1.hide(); }, [&] { w.按钮1.show(); }},
        {"disabled button", [&] { w.按钮1.disable(); }, [&] { w.按钮1.enable(); }},
        {"hidden frame", [&] { w.外形框1.hide(); }, [&] { w.外形框1.show(); }},
        {"disabled frame", [&] { w.外形框1.disable(); }, [&] { w.外形框1.enable(); }},
        {"disabled window", [&] { w.disable(); }, [&] { w.enable(); }},
    };
    for (const Case& c : cases) {
        c.arrange();
        EXPECT_FALSE(w.按钮1.click()) << c.what;
        c.undo();
        EXPECT_TRUE(w.按钮1.click()) << c.what;
    }
    EXPECT_EQ(clicks, 5);

    // A control on a tab page works only while its tab is current.
    EXPECT_FALSE(w.页二按钮.isShowing());
    EXPECT_FALSE(w.页二按钮.click());
    w.选择夹.setCurrent(1);
    EXPECT_TRUE(w.页二按钮.click());
    EXPECT_EQ(clicks, 6);

    w.close();
    EXPECT_FALSE(w.按钮1.click()) << "a closed window takes no clicks";
}

struct Radios : Window {
    Frame 甲{*this, "甲"};
    RadioButton 以选{甲, "以选"}, 未选{甲, "未选"}, 全部{甲, "全部"};
    Frame 乙{*this, "乙"};
    RadioButton 其它{乙, "其它"};
    CheckBox 选择框1{*this, "选择框1"};
    Radios() : Window("Radios") {}
};

TEST(Controls, RadioGroupsAreTheirContainerAndClicksSeeTheNewState) {
    Scenario s;
    auto& w = s.show<Radios>();
    w.其它.setChecked(true);
    w.全部.setChecked(true);
    std::vector<std::string> seen;
    w.全部.onClick = [&] { seen.push_back(std::string("全部") + (w.全部.isChecked() ? "+" : "-")); };
    w.以选.onClick = [&] { seen.push_back(std::string("以选") + (w.全部.isChecked() ? "+" : "-")); };

    w.以选.click();
    EXPECT_TRUE(w.以选.isChecked());
    EXPECT_FALSE(w.全部.isChecked());
    EXPECT_TRUE(w.其它.isChecked()) << "another container is another group";
    w.全部.click();
    w.全部.click();  // clicking the checked one runs its handler again
    EXPECT_EQ(seen, (std::vector<std::string>{"以选-", "全部+", "全部+"}));

    bool stateInHandler = false;
    w.选择框1.onClick = [&] { stateInHandler = w.选择框1.isChecked(); };
    w.选择框1.click();
    EXPECT_TRUE(stateInHandler);
    w.选择框1.onClick = [&] { w.选择框1.setChecked(false); };  // a handler may refuse the tick
    w.选择框1.click();
    w.选择框1.click();
    EXPECT_FALSE(w.选择框1.isChecked());
}

struct Login : Window {
    EditBox 用户名编辑框{*this, "用户名编辑框"};
    EditBox 密码编辑框{*this, "密码编辑框"};
    EditBox 编辑框4{*this, "编辑框4"};
    Login() : Window("Login") {
        用户名编辑框.setText("admin");
        密码编辑框.setText("tovex");
        用户名编辑框.onChange = [this] { 密码编辑框.clear(); };
    }
};

TEST(Controls, EditChangesAndFocusMovesRunTheirHandlersOnce) {
    Scenario s;
    auto& w = s.show<Login>();
    EXPECT_EQ(w.密码编辑框.text(), "tovex") << "set-up before the handler was wired runs nothing";
    w.用户名编辑框.setText("admin");
    EXPECT_EQ(w.密码编辑框.text(), "tovex") << "the same text is no change";
    w.用户名编辑框.setText("admi");
    EXPECT_EQ(w.密码编辑框.text(), "");

    std::vector<std::string> events;
    w.编辑框4.onFocusIn = [&] {
        events.push_back("in");
        w.编辑框4.setText("2015-10-5");
    };
    w.编辑框4.onFocusOut = [&] { events.push_back("out"); };
    w.编辑框4.setText("typed");
    w.编辑框4.focus();
    w.编辑框4.focus();
    EXPECT_EQ(w.编辑框4.text(), "2015-10-5");
    w.密码编辑框.focus();
    w.编辑框4.focus();
    EXPECT_EQ(events, (std::vector<std::string>{"in", "out", "in"}));
    EXPECT_TRUE(w.编辑框4.hasFocus());
    EXPECT_EQ(w.focusedControl(), &w.编辑框4);
}

// Two bytes for a character beyond ASCII, as the stored encoding counts most Chinese characters.
std::size_t doubleByteSize(std::string_view text) {
    std::size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80)
            n += 1;
        else if ((c & 0xC0) == 0xC0)
            n += 2;
    }
    return n;
}

TEST(Controls, TypingReplacesTheSelectionAndNeverPassesTheLimit) {
    Scenario s;
    auto& w = s.show<Login>();
    w.编辑框4.onFocusIn = [&] {
        w.编辑框4.setText("2026-12-10");
        w.编辑框4.selectAll();
    };
    w.编辑框4.focus();
    EXPECT_TRUE(w.编辑框4.isAllSelected());
    EXPECT_TRUE(w.编辑框4.typeText("2026-12-20"));
    EXPECT_EQ(w.编辑框4.text(), "2026-12-20") << "typing replaces the selected date";
    EXPECT_FALSE(w.编辑框4.isAllSelected());
    w.编辑框4.typeText("号");
    EXPECT_EQ(w.编辑框4.text(), "2026-12-20号") << "without a selection typing goes at the end";

    // A limit of 8 by the double-byte measure: whole characters only, from both the user and the program.
    EditBox& box = w.用户名编辑框;
    box.setText("");
    box.setTextLimit(8, doubleByteSize);
    struct Case {
        const char* before;
        const char* typed;
        const char* after;
    };
    const Case cases[] = {
        {"", "abcdefghi", "abcdefgh"},  // the ninth byte is refused
        {"abcdefg", "中", "abcdefg"},   // a double-byte character that would not fit is refused whole
        {"abcdef", "中文", "abcdef中"},
        {"中文", "abcdefg", "中文abcd"},
    };
    for (const Case& c : cases) {
        box.setText(c.before);
        box.typeText(c.typed);
        EXPECT_EQ(box.text(), c.after) << c.before << " + " << c.typed;
    }
    box.setText("中文中文中");
    EXPECT_EQ(box.text(), "中文中文") << "the program's text is cut at a character too";
    box.setTextLimit(4, doubleByteSize);
    EXPECT_EQ(box.text(), "中文") << "a new limit cuts what no longer fits";
    EXPECT_TRUE(box.fits("中文"));
    EXPECT_FALSE(box.fits("中文a"));

    w.编辑框4.setIntegerEntry(true);
    w.编辑框4.setText("");
    w.编辑框4.typeText("12a3");
    EXPECT_EQ(w.编辑框4.text(), "12") << "an integer entry stops at the first key that is no digit";
    w.编辑框4.disable();
    EXPECT_FALSE(w.编辑框4.typeText("4"));
}

struct Keyed : Window {
    EditBox 编辑框1{*this, "编辑框1"};
    EditBox 编辑框_单号查询{*this, "编辑框_单号查询"};
    Button 按钮_单号查询{*this, "按钮_单号查询"};
    EditBox 制作要求{*this, "制作要求"};
    ListView 超级列表框2{*this, "超级列表框2"};
    Button 确定按钮{*this, "确定按钮"};
    Button 取消按钮{*this, "取消按钮"};
    std::vector<std::string> pressed;
    Keyed() : Window("Keyed") {
        制作要求.setMultiLine(true);
        for (const char* row : {"NO-1", "NO-2"}) 超级列表框2.addItem(row);
        编辑框_单号查询.setEnterButton(&按钮_单号查询);
        setDefaultButton(&确定按钮);
        setCancelButton(&取消按钮);
        for (Button* b : {&按钮_单号查询, &确定按钮, &取消按钮})
            b->onClick = [this, b] { pressed.push_back(b->name()); };
        超级列表框2.onDoubleClick = [this](int i) { pressed.push_back("open " + std::to_string(i)); };
    }
};

TEST(Controls, EnterAndEscPressTheButtonsDesktopWindowsUse) {
    Scenario s;
    auto& w = s.show<Keyed>();
    struct Case {
        const char* what;
        std::function<void()> arrange;
        int key;
        bool taken;
        std::vector<std::string> pressed;
    };
    const Case cases[] = {
        {"Enter in a box", [&] { w.编辑框1.focus(); }, key::Return, true, {"确定按钮"}},
        {"Enter in a lookup box", [&] { w.编辑框_单号查询.focus(); }, key::Return, true, {"按钮_单号查询"}},
        {"Enter on a focused button", [&] { w.取消按钮.focus(); }, key::Return, true, {"取消按钮"}},
        {"Enter in a multi-line box", [&] { w.制作要求.focus(); }, key::Return, false, {}},
        {"Enter on a chosen row",
         [&] {
             w.超级列表框2.focus();
             w.超级列表框2.pickItem(1);
         },
         key::Return,
         true,
         {"open 1"}},
        {"Enter on a list without a choice",
         [&] {
             w.超级列表框2.focus();
             w.超级列表框2.pickItem(-1);
         },
         key::Return,
         true,
         {"确定按钮"}},
        {"Enter with the default button disabled",
         [&] {
             w.编辑框1.focus();
             w.确定按钮.disable();
         },
         key::Return,
         false,
         {}},
        {"Esc anywhere", [&] { w.编辑框1.focus(); }, key::Escape, true, {"取消按钮"}},
        {"another key", [&] { w.编辑框1.focus(); }, key::A, false, {}},
    };
    for (const Case& c : cases) {
        w.pressed.clear();
        w.确定按钮.enable();
        c.arrange();
        EXPECT_EQ(w.keyDown(c.key), c.taken) << c.what;
        EXPECT_EQ(w.pressed, c.pressed) << c.what;
    }

    // The window's own handler comes first.
    w.onKeyDown = [](int key) { return key == key::Return; };
    w.pressed.clear();
    w.编辑框1.focus();
    EXPECT_TRUE(w.keyDown(key::Return));
    EXPECT_TRUE(w.pressed.empty());
}

struct Lists : Window {
    ComboBox 组合框1{*this, "组合框1"};
    ListBox 列表框2{*this, "列表框2"};
    CheckListBox 选择列表框1{*this, "选择列表框1"};
    ListView 超级列表框1{*this, "超级列表框1"};
    Lists() : Window("Lists") {}
};

TEST(Controls, ProgramSelectionIsSilentAndUserPicksAreHeard) {
    Scenario s;
    auto& w = s.show<Lists>();
    std::vector<int> picks;
    w.组合框1.onSelect = [&](int i) { picks.push_back(i); };
    for (const char* t : {"入册", "P", "Q"}) w.组合框1.addItem(t);
    w.组合框1.setSelected(0);
    EXPECT_TRUE(picks.empty());
    EXPECT_TRUE(w.组合框1.pickItem(2));
    EXPECT_TRUE(w.组合框1.pickItem(2));
    EXPECT_FALSE(w.组合框1.pickItem(3));
    EXPECT_EQ(picks, (std::vector<int>{2, 2}));
    EXPECT_EQ(w.组合框1.selectedText(), "Q");
    w.组合框1.removeItem(0);
    EXPECT_EQ(w.组合框1.selected(), 1) << "the selection follows its item";
    w.组合框1.removeItem(1);
    EXPECT_EQ(w.组合框1.selected(), -1);
    EXPECT_EQ(w.组合框1.text(), "");
    w.组合框1.clear();
    EXPECT_EQ(w.组合框1.itemCount(), 0);

    w.列表框2.addItem("A");
    w.列表框2.addItem("B");
    w.列表框2.setSelected(1);
    w.列表框2.removeItem(0);
    EXPECT_EQ(w.列表框2.selectedText(), "B");
    w.列表框2.removeItem(0);
    EXPECT_EQ(w.列表框2.selected(), -1);

    // Picking a check list item tells the handler the state before the pick; it ticks nothing itself.
    for (const char* t : {"入册", "P", "修片要求"}) w.选择列表框1.addItem(t);
    std::vector<bool> before;
    w.选择列表框1.onSelect = [&](int i) {
        before.push_back(w.选择列表框1.isChecked(i));
        w.选择列表框1.setChecked(i, !w.选择列表框1.isChecked(i));
    };
    w.选择列表框1.pickItem(1);
    w.选择列表框1.pickItem(1);
    EXPECT_EQ(before, (std::vector<bool>{false, true}));
    EXPECT_FALSE(w.选择列表框1.isChecked(1));
}

TEST(Controls, ListViewChoosesBeforeDoubleAndRightClicks) {
    Scenario s;
    auto& w = s.show<Lists>();
    ListView& v = w.超级列表框1;
    v.setMode(ListViewMode::Report);
    v.addColumn("订单编号", 120);
    v.addColumn("顾客姓名", 120);
    for (int i = 0; i < 3; ++i) {
        int row = v.addItem("NO" + std::to_string(i), -1, 100 + i);
        v.setCell(row, 1, "name" + std::to_string(i));
    }
    EXPECT_EQ(v.cell(2, 0), "NO2");
    EXPECT_EQ(v.cell(2, 1), "name2");
    EXPECT_EQ(v.cell(2, 5), "");

    std::vector<std::string> log;
    v.onSelect = [&](int i) { log.push_back("select " + std::to_string(i)); };
    v.onDoubleClick = [&](int i) {
        log.push_back("double " + std::to_string(i) + " sel " + std::to_string(v.selected()));
    };
    v.onRightClick = [&](int i) { log.push_back("right " + std::to_string(i)); };
    v.doubleClick(1);
    v.rightClick(1);
    v.doubleClick(-1);  // the empty area: nothing chosen
    EXPECT_EQ(log,
              (std::vector<std::string>{"select 1", "double 1 sel 1", "right 1", "select -1", "double -1 sel -1"}));

    v.setSelected(2);
    v.removeItem(0);
    EXPECT_EQ(v.selected(), 1);
    EXPECT_EQ(v.data(v.selected()), 102);
    v.clear();
    EXPECT_EQ(v.selected(), -1);
    EXPECT_EQ(v.columns().size(), 2u) << "emptying the list keeps its columns";
}

struct Settings : Window {
    TabControl 高级选择夹1{*this,
                           "高级选择夹1",
                           {0, 0, 400, 336},
                           {"本店信息设置", "选片人员设置", "产品内容设置", "制作要求设置", "其它设置"}};
    ListBox 列表框1{高级选择夹1.page(3), "列表框1", {17, 61, 359, 227}};
    Settings() : Window("Settings") {}
};

TEST(Controls, UnavailableTabsRefuseTheUserButNotTheProgram) {
    Scenario s;
    auto& w = s.show<Settings>();
    std::vector<int> changes;
    w.高级选择夹1.onTabChanged = [&](int i) { changes.push_back(i); };
    w.高级选择夹1.setCurrent(3);
    for (int i : {0, 1, 2, 4}) w.高级选择夹1.setTabEnabled(i, false);
    EXPECT_FALSE(w.高级选择夹1.pickTab(0));
    EXPECT_FALSE(w.高级选择夹1.pickTab(4));
    EXPECT_TRUE(w.高级选择夹1.pickTab(3));  // already current: no change
    EXPECT_EQ(w.高级选择夹1.current(), 3);
    EXPECT_EQ(changes, (std::vector<int>{3}));
    EXPECT_TRUE(w.列表框1.isAvailable());
    w.高级选择夹1.resize(300, 200);
    EXPECT_EQ(w.高级选择夹1.page(3).bounds(), (Rect{0, 0, 300, 200})) << "pages cover the whole control";
}

TEST(PictureFit, PlacesPicturesAsEachModeSays) {
    struct Case {
        PictureFit fit;
        Size area, picture;
        Rect expected;
    };
    const Case cases[] = {
        {PictureFit::FitCentred, {1366, 621}, {3000, 2000}, {217, 0, 931, 621}},
        {PictureFit::FitCentred, {1366, 621}, {800, 600}, {283, 10, 800, 600}},  // smaller: natural size
        {PictureFit::FitCentred, {480, 272}, {920, 521}, {0, 0, 480, 271}},
        {PictureFit::Zoom, {200, 100}, {50, 50}, {50, 0, 100, 100}},
        {PictureFit::Centre, {100, 100}, {200, 50}, {-50, 25, 200, 50}},
        {PictureFit::Stretch, {888, 50}, {10, 10}, {0, 0, 888, 50}},
        {PictureFit::TopLeft, {100, 100}, {30, 20}, {0, 0, 30, 20}},
        {PictureFit::FitCentred, {100, 100}, {0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placePicture(c.fit, c.area, c.picture), c.expected)
            << static_cast<int>(c.fit) << " " << c.picture.width << "x" << c.picture.height;
}

}  // namespace
}  // namespace xp::ui
