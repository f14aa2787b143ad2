// The Qt backend under the offscreen platform: every control kind becomes a working widget at its
// designed place, the user's clicks, typing, keys and mouse reach the handlers, modal windows and boxes
// return the right results, waits let timers run, and the program ends with its last window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <functional>

#include "ui/qt/qt_host.h"
#include "ui/ui.h"

namespace xp::ui {
namespace {

using qt::QtHost;
using qt::widgetOf;

std::vector<std::uint8_t> png(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

// Runs `fn` on the next turn of whatever event loop is running (a box's, a modal window's).
void soon(std::function<void()> fn, int ms = 0) { QTimer::singleShot(ms, qApp, std::move(fn)); }

// Once a modal widget of type T is active (within two seconds), runs fn on it. A dialog that never comes
// fails the test, and whatever modal widget is up then is closed, so that a failing test cannot hang.
template <class T>
void whenActive(std::function<void(T*)> fn, int tries = 200) {
    soon(
        [fn = std::move(fn), tries]() mutable {
            QWidget* active =
                std::is_base_of_v<QMenu, T> ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
            if (auto* w = qobject_cast<T*>(active); w && w->isVisible()) {
                fn(w);
                return;
            }
            if (tries > 0) {
                whenActive<T>(std::move(fn), tries - 1);
                return;
            }
            ADD_FAILURE() << "no " << T::staticMetaObject.className() << " became active";
            if (active) active->close();
        },
        10);
}

template <class T>
T* as(const Control& c) {
    return qobject_cast<T*>(widgetOf(c));
}

struct EveryKind : Window {
    Frame 外形框2{*this, "外形框2", {0, 272, 482, 56}};
    TransparentLabel 透明标签5{外形框2, "透明标签5", {8, 20, 45, 20}};
    EditBox 用户名编辑框{外形框2, "用户名编辑框", {56, 20, 60, 20}};
    EditBox 密码编辑框{外形框2, "密码编辑框", {163, 20, 60, 20}};
    Button 按钮1{外形框2, "按钮1", {232, 20, 60, 20}};
    CheckBox 选择框1{外形框2, "选择框1", {369, 18, 106, 24}};
    GroupBox 分组框1{*this, "分组框1", {0, 0, 240, 120}};
    RadioButton 以选{分组框1, "以选", {10, 20, 56, 25}};
    RadioButton 全部{分组框1, "全部", {70, 20, 56, 25}};
    ComboBox 组合框1{分组框1, "组合框1", {10, 60, 120, 20}};
    EditBox 编辑框_应选张数{分组框1, "编辑框_应选张数", {140, 60, 80, 20}};
    EditBox 制作要求编辑框{*this, "制作要求编辑框", {250, 0, 200, 80}};
    ListBox 列表框1{*this, "列表框1", {250, 90, 100, 80}};
    CheckListBox 选择列表框1{*this, "选择列表框1", {360, 90, 100, 80}};
    ListView 超级列表框1{*this, "超级列表框1", {0, 130, 240, 130}};
    ListView 超级列表框2{*this, "超级列表框2", {250, 180, 230, 80}};
    ProgressBar 进度条1{*this, "进度条1", {0, 340, 344, 16}};
    TabControl 高级选择夹1{*this, "高级选择夹1", {490, 0, 300, 200}, {"本店信息设置", "其它设置"}};
    Button 按钮_保存{高级选择夹1.page(1), "按钮_保存", {20, 60, 80, 25}};
    PictureBox 图片框1{*this, "图片框1", {490, 210, 100, 60}};
    DrawPanel 图片框2{*this, "图片框2", {600, 210, 120, 100}};
    PictureButton 按钮_数据管理{*this, "按钮_数据管理", {490, 320, 164, 50}};
    ImageButton 播放按钮{*this, "播放按钮", {660, 320, 50, 50}};
    Grid 高级表格1{*this, "高级表格1", {0, 370, 200, 48}};
    Timer 时钟1{*this, "时钟1"};

    EveryKind() : Window("EveryKind", {20, 20, 800, 430}) {
        setBorder(BorderStyle::None);
        setBackColor(Color{96, 96, 96});
        透明标签5.setCaption("用户名：");
        用户名编辑框.setText("admin");
        密码编辑框.setPassword(true, '*');
        密码编辑框.setText("tovex");
        按钮1.setCaption("登录");
        选择框1.setCaption("记住此用户信息");
        以选.setCaption("以选");
        全部.setCaption("全部");
        全部.setChecked(true);
        for (const char* t : {"否", "加急"}) 组合框1.addItem(t);
        组合框1.setSelected(0);
        编辑框_应选张数.setIntegerEntry(true);
        制作要求编辑框.setMultiLine(true);
        制作要求编辑框.setScrollBar(true);
        制作要求编辑框.setText("IMG1（去痘）\r\n--------");
        列表框1.addItem("水晶相册");
        for (const char* t : {"入册", "P", "修片要求"}) 选择列表框1.addItem(t);
        auto tiles = std::make_shared<ImageList>(120, 120);
        Image tile{120, 120, std::vector<std::uint8_t>(120 * 120 * 3, 200)};
        tiles->add(tile);
        超级列表框1.setImageList(tiles);
        超级列表框1.addItem("IMG_0001", 0, 1);
        超级列表框1.addItem("IMG_0002｜入册。", 0, 2);
        超级列表框2.setMode(ListViewMode::Report);
        超级列表框2.setFullRowSelect(true);
        超级列表框2.addColumn("订单编号", 120);
        超级列表框2.addColumn("顾客姓名", 100);
        int row = 超级列表框2.addItem("NO-1");
        超级列表框2.setCell(row, 1, "张三");
        进度条1.setMaximum(10);
        进度条1.setPosition(4);
        高级选择夹1.setTabEnabled(1, false);
        图片框1.setPicture(png(200, 100, Qt::red));
        图片框1.setBackColor(colors::Black);
        按钮_数据管理.setPictures(png(164, 50, Qt::darkGray), png(164, 50, Qt::gray), png(164, 50, Qt::black));
        播放按钮.setPicture(png(50, 50, Qt::green));
        高级表格1.grid().setSize(3, 3);
        高级表格1.hide();
    }
};

class QtBackend : public ::testing::Test {
protected:
    QtHost host;
};

TEST_F(QtBackend, EveryControlKindBecomesAWidgetAtItsDesignedPlace) {
    auto window = std::make_shared<EveryKind>();
    EveryKind& w = *window;
    host.show(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(w)));

    struct Case {
        const Control& control;
        const char* qtClass;
    };
    const Case cases[] = {
        {w.外形框2, "QFrame"},
        {w.用户名编辑框, "QLineEdit"},
        {w.按钮1, "QPushButton"},
        {w.选择框1, "QCheckBox"},
        {w.分组框1, "QGroupBox"},
        {w.以选, "QRadioButton"},
        {w.组合框1, "QComboBox"},
        {w.制作要求编辑框, "QPlainTextEdit"},
        {w.列表框1, "QListWidget"},
        {w.选择列表框1, "QListWidget"},
        {w.超级列表框1, "QStackedWidget"},
        {w.进度条1, "QProgressBar"},
        {w.图片框1, "QWidget"},
        {w.图片框2, "QWidget"},
        {w.按钮_数据管理, "QAbstractButton"},
        {w.播放按钮, "QAbstractButton"},
        {w.透明标签5, "QWidget"},
        {w.高级选择夹1, "QWidget"},
        {w.高级表格1, "QWidget"},
    };
    for (const Case& c : cases) {
        QWidget* widget = widgetOf(c.control);
        ASSERT_NE(widget, nullptr) << c.control.name();
        EXPECT_TRUE(widget->inherits(c.qtClass)) << c.control.name() << " is a " << widget->metaObject()->className();
        const Rect& r = c.control.bounds();
        EXPECT_EQ(widget->geometry(), QRect(r.left, r.top, r.width, r.height)) << c.control.name();
        EXPECT_EQ(widget->isVisible(), c.control.isShowing()) << c.control.name();
    }
    // Positions inside a frame are relative to the frame.
    EXPECT_EQ(widgetOf(w.按钮1)->mapTo(widgetOf(w), QPoint(0, 0)), QPoint(232, 272 + 20));
    EXPECT_TRUE(widgetOf(w)->windowFlags() & Qt::FramelessWindowHint);

    EXPECT_EQ(as<QLineEdit>(w.密码编辑框)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(as<QLineEdit>(w.密码编辑框)->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter), '*');
    EXPECT_EQ(as<QPushButton>(w.按钮1)->text(), QString("登录"));
    EXPECT_EQ(as<QPlainTextEdit>(w.制作要求编辑框)->toPlainText(), QString("IMG1（去痘）\n--------"));
    EXPECT_EQ(as<QComboBox>(w.组合框1)->currentText(), QString("否"));
    EXPECT_EQ(as<QProgressBar>(w.进度条1)->value(), 4);
    EXPECT_EQ(as<QListWidget>(w.选择列表框1)->item(0)->checkState(), Qt::Unchecked);

    auto* stack = as<QStackedWidget>(w.超级列表框1);
    auto* icons = qobject_cast<QListWidget*>(stack->currentWidget());
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->viewMode(), QListView::IconMode);
    EXPECT_EQ(icons->iconSize(), QSize(120, 120));
    EXPECT_EQ(icons->count(), 2);
    EXPECT_FALSE(icons->item(0)->icon().isNull());
    auto* rows = qobject_cast<QTreeWidget*>(as<QStackedWidget>(w.超级列表框2)->currentWidget());
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->headerItem()->text(1), QString("顾客姓名"));
    EXPECT_EQ(rows->columnWidth(0), 120);
    EXPECT_EQ(rows->topLevelItem(0)->text(1), QString("张三"));

    auto* tabBar = widgetOf(w.高级选择夹1)->findChild<QTabBar*>();
    ASSERT_NE(tabBar, nullptr);
    EXPECT_EQ(tabBar->count(), 2);
    EXPECT_FALSE(tabBar->isTabEnabled(1));
    EXPECT_FALSE(widgetOf(w.按钮_保存)->isVisible()) << "controls of a tab that is not current stay hidden";

    // The picture box paints its picture fitted and centred on its background colour.
    QImage shot = widgetOf(w.图片框1)->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(50, 30)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(50, 2)), QColor(Qt::black));
    // A draw panel keeps what was drawn on it.
    w.图片框2.setBackColor(colors::White);
    w.图片框2.drawPicture(png(20, 20, Qt::blue), 10, 10);
    shot = widgetOf(w.图片框2)->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(15, 15)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shot.pixel(50, 50)), QColor(Qt::white));

    // State set later reaches the widgets.
    w.按钮1.setCaption("取消");
    w.组合框1.setSelected(1);
    w.进度条1.setPosition(9);
    w.超级列表框1.setItemCaption(0, "IMG_0001｜P。★");
    w.选择列表框1.setChecked(2, true);
    w.外形框2.move(0, 200);
    w.用户名编辑框.disable();
    w.图片框1.setCursor(Cursor::Hand);
    EXPECT_EQ(widgetOf(w.图片框1)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(as<QPushButton>(w.按钮1)->text(), QString("取消"));
    EXPECT_EQ(as<QComboBox>(w.组合框1)->currentIndex(), 1);
    EXPECT_EQ(as<QProgressBar>(w.进度条1)->value(), 9);
    EXPECT_EQ(icons->item(0)->text(), QString("IMG_0001｜P。★"));
    // A long caption wraps under its tile instead of being cut to the first caption's height.
    w.超级列表框1.setItemCaption(1, "IMG_0002｜入册。水晶相册。放大。摆台。★");
    icons->doItemsLayout();
    EXPECT_GT(icons->visualItemRect(icons->item(1)).height(), icons->visualItemRect(icons->item(0)).height());
    EXPECT_EQ(as<QListWidget>(w.选择列表框1)->item(2)->checkState(), Qt::Checked);
    EXPECT_EQ(widgetOf(w.外形框2)->pos(), QPoint(0, 200));
    EXPECT_FALSE(widgetOf(w.用户名编辑框)->isEnabled());
    w.close();
}

TEST_F(QtBackend, ClicksTypingKeysAndMouseReachTheHandlers) {
    auto window = std::make_shared<EveryKind>();
    EveryKind& w = *window;
    host.show(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(w)));
    std::vector<std::string> log;
    w.按钮1.onClick = [&] { log.push_back("登录"); };
    w.用户名编辑框.onChange = [&] { w.密码编辑框.clear(); };
    w.选择框1.onClick = [&] { log.push_back(w.选择框1.isChecked() ? "ticked" : "unticked"); };
    w.组合框1.onSelect = [&](int i) { log.push_back("combo " + std::to_string(i)); };
    w.列表框1.onDoubleClick = [&](int i) { log.push_back("preset " + std::to_string(i)); };
    w.选择列表框1.onSelect = [&](int i) { w.选择列表框1.setChecked(i, !w.选择列表框1.isChecked(i)); };
    w.超级列表框1.onDoubleClick = [&](int i) { log.push_back("open " + std::to_string(i)); };
    w.超级列表框1.onRightClick = [&](int i) { log.push_back("menu " + std::to_string(i)); };
    std::vector<MouseEvent> mouse;
    w.图片框1.onMouseDown = [&](const MouseEvent& e) { mouse.push_back(e); };
    w.图片框1.onMouseUp = [&](const MouseEvent& e) { mouse.push_back(e); };
    w.图片框1.onDoubleClick = [&](const MouseEvent& e) { mouse.push_back(e); };

    QTest::mouseClick(widgetOf(w.按钮1), Qt::LeftButton);
    w.按钮_数据管理.onClick = [&] { log.push_back("数据管理"); };
    w.播放按钮.onClick = [&] { w.播放按钮.disable(); };
    QTest::mouseClick(widgetOf(w.按钮_数据管理), Qt::LeftButton);
    QTest::mouseClick(widgetOf(w.播放按钮), Qt::LeftButton);
    QTest::mouseClick(widgetOf(w.播放按钮), Qt::LeftButton);  // disabled now: nothing happens
    EXPECT_FALSE(widgetOf(w.播放按钮)->isEnabled());
    QTest::mouseClick(widgetOf(w.选择框1), Qt::LeftButton);
    QTest::mouseClick(widgetOf(w.选择框1), Qt::LeftButton);
    EXPECT_TRUE(w.选择框1.click());
    EXPECT_TRUE(as<QCheckBox>(w.选择框1)->isChecked()) << "the widget follows the control";

    QTest::mouseClick(widgetOf(w.以选), Qt::LeftButton);
    EXPECT_TRUE(w.以选.isChecked());
    EXPECT_FALSE(as<QRadioButton>(w.全部)->isChecked());

    // Typing: one changed character empties the password, as the handler says.
    auto* name = as<QLineEdit>(w.用户名编辑框);
    name->setFocus();
    name->end(false);
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(w.用户名编辑框.text(), "admi");
    EXPECT_EQ(w.密码编辑框.text(), "");
    EXPECT_EQ(as<QLineEdit>(w.密码编辑框)->text(), QString());
    EXPECT_TRUE(w.用户名编辑框.hasFocus());

    auto* count = as<QLineEdit>(w.编辑框_应选张数);
    count->setFocus();
    QTest::keyClicks(count, "3a0");
    EXPECT_EQ(w.编辑框_应选张数.text(), "30") << "an integer entry takes digits only";

    auto* req = as<QPlainTextEdit>(w.制作要求编辑框);
    req->setFocus();
    req->moveCursor(QTextCursor::End);
    QTest::keyClick(req, Qt::Key_Return);
    QTest::keyClicks(req, "x2");
    EXPECT_EQ(w.制作要求编辑框.text(), "IMG1（去痘）\r\n--------\r\nx2") << "line breaks are kept as CR LF";

    emit as<QComboBox>(w.组合框1)->activated(1);
    EXPECT_EQ(w.组合框1.selected(), 1);

    auto* presets = as<QListWidget>(w.列表框1);
    QTest::mouseDClick(presets->viewport(), Qt::LeftButton, {}, presets->visualItemRect(presets->item(0)).center());
    auto* checks = as<QListWidget>(w.选择列表框1);
    checks->setFocus();
    EXPECT_FALSE(w.选择列表框1.isChecked(0)) << "the list getting the focus picks nothing";
    QPoint p1 = checks->visualItemRect(checks->item(1)).center();
    QTest::mouseClick(checks->viewport(), Qt::LeftButton, {}, p1);
    EXPECT_TRUE(w.选择列表框1.isChecked(1));
    QTest::mouseClick(checks->viewport(), Qt::LeftButton, {}, p1);
    EXPECT_FALSE(w.选择列表框1.isChecked(1)) << "picking the selected item again reaches the handler";
    // A double click as the user makes one: click, then the double-click press and its release.
    QTest::mouseClick(checks->viewport(), Qt::LeftButton, {}, p1);
    QTest::mouseDClick(checks->viewport(), Qt::LeftButton, {}, p1);
    QTest::mouseRelease(checks->viewport(), Qt::LeftButton, {}, p1);
    EXPECT_TRUE(w.选择列表框1.isChecked(1)) << "a double click is one pick";
    QTest::keyClick(checks, Qt::Key_Down);
    EXPECT_EQ(w.选择列表框1.selected(), 2);
    EXPECT_TRUE(w.选择列表框1.isChecked(2)) << "an arrow key picks the row it moves to";

    auto* icons = qobject_cast<QListWidget*>(as<QStackedWidget>(w.超级列表框1)->currentWidget());
    QPoint item1 = icons->visualItemRect(icons->item(1)).center();
    QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, item1);
    EXPECT_EQ(w.超级列表框1.selected(), 1);
    QTest::mouseDClick(icons->viewport(), Qt::LeftButton, {}, item1);
    QTest::mouseClick(icons->viewport(), Qt::RightButton, {}, icons->visualItemRect(icons->item(0)).center());
    EXPECT_EQ(w.超级列表框1.selected(), 0) << "a right click chooses the entry first";

    QWidget* picture = widgetOf(w.图片框1);
    QTest::mousePress(picture, Qt::RightButton, {}, QPoint(30, 12));
    QTest::mouseRelease(picture, Qt::RightButton, {}, QPoint(31, 13));
    QTest::mouseDClick(picture, Qt::LeftButton, {}, QPoint(5, 6));
    ASSERT_GE(mouse.size(), 3u);
    EXPECT_EQ(mouse[0].button, MouseButton::Right);
    EXPECT_EQ(mouse[0].x, 30);
    EXPECT_EQ(mouse[0].y, 12);
    EXPECT_EQ(mouse[1].x, 31);
    EXPECT_EQ(mouse.back().x, 5);

    // Window keys come first; a key the handler takes never reaches the focused box.
    w.onKeyDown = [&](int key) {
        log.push_back("key " + std::to_string(key));
        return key == key::Left;
    };
    name->setFocus();
    name->setCursorPosition(2);
    QTest::keyClick(name, Qt::Key_Left);
    EXPECT_EQ(name->cursorPosition(), 2);
    QTest::keyClick(name, Qt::Key_0);
    QTest::keyClick(name, Qt::Key_0, Qt::KeypadModifier);

    // An unavailable tab cannot be chosen.
    auto* tabBar = widgetOf(w.高级选择夹1)->findChild<QTabBar*>();
    QTest::mouseClick(tabBar, Qt::LeftButton, {}, tabBar->tabRect(1).center());
    EXPECT_EQ(w.高级选择夹1.current(), 0);

    EXPECT_EQ(log, (std::vector<std::string>{"登录", "数据管理", "ticked", "unticked", "ticked", "combo 1", "preset 0",
                                             "open 1", "menu 0", "key 37", "key 48", "key 96"}));
    w.close();
}

struct Dialog : Window {
    EditBox 编辑框1{*this, "编辑框1", {10, 10, 100, 20}};
    Button 确定按钮{*this, "确定按钮", {10, 40, 80, 25}};
    Dialog() : Window("Dialog", {100, 100, 300, 120}) {
        setCaption("选片顾客基本信息录入");
        确定按钮.setCaption("确定");
        确定按钮.onClick = [this] { close(); };
    }
};

TEST_F(QtBackend, ModalWindowsRunTheirOwnLoopUntilClosed) {
    Dialog d;
    bool destroying = false;
    d.onDestroying = [&] { destroying = true; };
    whenActive<QFrame>([&](QFrame* active) {
        EXPECT_EQ(active, widgetOf(d));
        d.编辑框1.setText("NO-7");
        if (QWidget* ok = widgetOf(d.确定按钮)) QTest::mouseClick(ok, Qt::LeftButton);
        d.close();  // in case the click did not reach it: the test fails below instead of hanging
    });
    host.showModal(d);
    EXPECT_TRUE(destroying);
    EXPECT_FALSE(d.isOpen());
    EXPECT_EQ(d.编辑框1.text(), "NO-7");
    EXPECT_EQ(widgetOf(d), nullptr) << "a closed window has no widgets any more";

    // The window manager's close button closes it through the window's own close.
    Dialog e;
    whenActive<QFrame>([&](QFrame* active) {
        // The first dialog's widgets are deleted now, while the second one runs: that must not take the
        // second one along.
        QPointer<QFrame> alive(active);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(alive.isNull()) << "the second dialog went with the first one's widgets";
        EXPECT_EQ(widgetOf(e), alive.data());
        if (alive) alive->close();
        e.close();
    });
    host.showModal(e);
    EXPECT_FALSE(e.isOpen());
}

TEST_F(QtBackend, BoxesReturnTheButtonTheUserPressed) {
    auto clickBox = [](const char* buttonText) {
        whenActive<QMessageBox>([buttonText](QMessageBox* box) {
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(buttonText)) b->click();
            if (box->isVisible()) box->close();
        });
    };
    clickBox("否(&N)");
    EXPECT_EQ(
        host.messageBox("分片完成！是否打开顾客选片文件夹", "提示信息", MessageIcon::Question, MessageButtons::YesNo),
        MessageResult::No);
    clickBox("是(&Y)");
    EXPECT_EQ(host.messageBox("照片删除后不可恢复，确认要删除吗？", "", MessageIcon::Warning, MessageButtons::YesNo),
              MessageResult::Yes);
    whenActive<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), QString("信息："));
        EXPECT_EQ(box->text(), QString("第一行\n第二行"));
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(host.messageBox("第一行\r\n第二行"), MessageResult::Ok);

    whenActive<QInputDialog>([](QInputDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QString("请输入："));
        dialog->setTextValue("水晶相册");
        dialog->accept();
    });
    EXPECT_EQ(host.inputBox("请输入产品类别名称，例如：水晶相册"), "水晶相册");
    whenActive<QInputDialog>([](QInputDialog* dialog) {
        dialog->setTextValue("typed");
        dialog->reject();
    });
    EXPECT_EQ(host.inputBox("请输入新的修片要求", "修片要求"), "");

    whenActive<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QString("请选择照片存放的文件夹"));
        dialog->reject();
    });
    EXPECT_EQ(host.browseFolder("请选择照片存放的文件夹"), "");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"LOGO1.JPG", "logo2.jpg", "notes.txt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    whenActive<QFileDialog>([&dir](QFileDialog* dialog) {
        EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        QStringList filters = dialog->nameFilters();
        EXPECT_EQ(filters.size(), 1);
        QString filter = filters.value(0);
        EXPECT_TRUE(filter.startsWith("图片文件（*.JPG）")) << filter.toStdString();
        EXPECT_TRUE(filter.contains("*.JPG") && filter.contains("*.jpg")) << "any letter case matches";
        // The user types the file's path (choosing it from the listing depends on its loading in time).
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name) {
            ADD_FAILURE() << "the file dialog has no file name field";
            dialog->close();
            return;
        }
        name->setText(dir.filePath("LOGO1.JPG"));
        QMetaObject::invokeMethod(dialog, "accept");
        if (dialog->isVisible()) dialog->close();
    });
    EXPECT_EQ(host.openFile("图片文件（*.JPG）|*.jpg", dir.path().toStdString()),
              dir.filePath("LOGO1.JPG").toStdString());

    PopupMenu menu;
    std::string picked;
    menu.addItem("访问官网", [&] { picked = "web"; });
    menu.addItem("联系我们", [&] { picked = "contact"; });
    whenActive<QMenu>([](QMenu* qmenu) {
        EXPECT_EQ(qmenu->actions().size(), 2);
        qmenu->setActiveAction(qmenu->actions().value(1));
        QTest::keyClick(qmenu, Qt::Key_Return);
        if (qmenu->isVisible()) qmenu->close();
    });
    EXPECT_EQ(menu.popup(Point{100, 100}), 1);
    EXPECT_EQ(picked, "contact");
}

TEST_F(QtBackend, QtsOwnDialogsSpeakChineseAndQuestionsKeepTheirDefault) {
    if (!QFile::exists(qt::qtTranslationsFolder() + "/" + qt::kQtTranslation + ".qm"))
        GTEST_SKIP() << "Qt's translations are not installed";
    // A dialog made of Qt's own parts: its buttons and the folder browser's columns are Chinese.
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString("取消"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), QString("保存"));

    whenActive<QFileDialog>([](QFileDialog* dialog) {
        auto* view = dialog->findChild<QTreeView*>();
        if (!view) {
            ADD_FAILURE() << "the folder browser has no detail view";
        } else {
            QStringList headers;
            for (int c = 0; c < view->model()->columnCount(); ++c)
                headers << view->model()->headerData(c, Qt::Horizontal).toString();
            EXPECT_TRUE(headers.contains("名称")) << headers.join(",").toStdString();
            EXPECT_TRUE(headers.contains("修改日期")) << headers.join(",").toStdString();
            // Every column shows, the date column wide enough for a date and time.
            QHeaderView* header = view->header();
            const int dateWidth = view->fontMetrics().horizontalAdvance(
                QLocale().toString(QDateTime(QDate(2026, 12, 20), QTime(23, 59)), QLocale::ShortFormat));
            EXPECT_LE(header->length(), view->viewport()->width()) << "no column beyond the view";
            EXPECT_GT(header->sectionSize(header->count() - 1), dateWidth);
        }
        dialog->reject();
    });
    EXPECT_EQ(host.browseFolder("请选择照片存放的文件夹"), "");

    // Enter on the question before a deletion answers 否.
    whenActive<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        QTest::keyClick(box, Qt::Key_Return);
        if (box->isVisible()) box->close();
    });
    EXPECT_EQ(host.messageBox("确定要删除订单吗？", "提示信息", MessageIcon::Question, MessageButtons::YesNo,
                              MessageResult::No),
              MessageResult::No);
}

// Chinese comes through the input method, which commits whole characters.
void typeChinese(QWidget* w, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w, &commit);
}

struct Entry : Window {
    EditBox 编辑框1{*this, "编辑框1", {10, 10, 160, 22}};
    EditBox 编辑框4{*this, "编辑框4", {10, 40, 160, 22}};
    ListView 超级列表框1{*this, "超级列表框1", {10, 70, 400, 300}};
    ListView 超级列表框2{*this, "超级列表框2", {420, 10, 300, 200}};
    Button 确定按钮{*this, "确定按钮", {420, 220, 80, 25}};
    Button 取消按钮{*this, "取消按钮", {510, 220, 80, 25}};
    Entry() : Window("Entry", {20, 20, 740, 400}) {
        // Two bytes for a character beyond ASCII.
        编辑框1.setTextLimit(8, [](std::string_view t) {
            std::size_t n = 0;
            for (unsigned char c : t) n += c < 0x80 ? 1 : (c & 0xC0) == 0xC0 ? 2 : 0;
            return n;
        });
        编辑框4.onFocusIn = [this] {
            编辑框4.setText("2026-12-10");
            编辑框4.selectAll();
        };
        超级列表框2.setMode(ListViewMode::Report);
        超级列表框2.setFullRowSelect(true);
        超级列表框2.addColumn("订单编号", 120);
        for (const char* row : {"NO-1", "NO-2", "NO-3"}) 超级列表框2.addItem(row);
        setDefaultButton(&确定按钮);
        setCancelButton(&取消按钮);
    }
    void fillTiles(int n) {
        auto tiles = std::make_shared<ImageList>(120, 120);
        tiles->add(Image{120, 120, std::vector<std::uint8_t>(120 * 120 * 3, 180)});
        超级列表框1.clear();
        超级列表框1.setImageList(tiles);
        for (int i = 0; i < n; ++i) 超级列表框1.addItem("IMG_" + std::to_string(i), 0, i + 1);
    }
};

TEST_F(QtBackend, TypingStaysWithinTheLimitDatesAreTypedOverAndListsTakeTheirKeys) {
    auto window = std::make_shared<Entry>();
    Entry& w = *window;
    host.show(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(w)));

    auto* number = as<QLineEdit>(w.编辑框1);
    number->setFocus();
    QTest::keyClicks(number, "abcdefg");
    typeChinese(number, "中");
    EXPECT_EQ(w.编辑框1.text(), "abcdefg") << "a double-byte character that would not fit is refused";
    QTest::keyClicks(number, "hi");
    EXPECT_EQ(w.编辑框1.text(), "abcdefgh");
    EXPECT_EQ(number->text(), QString("abcdefgh"));
    number->clear();
    w.编辑框1.clear();
    number->insert("中文中文中文");  // a paste: what fits is kept, whole characters only
    EXPECT_EQ(w.编辑框1.text(), "中文中文");

    // A click into the date field leaves the written date selected, so typing replaces it.
    auto* date = as<QLineEdit>(w.编辑框4);
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::qWait(20);
    EXPECT_EQ(date->selectedText(), QString("2026-12-10"));
    QTest::keyClicks(date, "2026-12-20");
    EXPECT_EQ(w.编辑框4.text(), "2026-12-20");

    // Enter and Esc press the window's buttons.
    std::vector<std::string> pressed;
    w.确定按钮.onClick = [&] { pressed.push_back("确定"); };
    w.取消按钮.onClick = [&] { pressed.push_back("取消"); };
    number->setFocus();
    QTest::keyClick(number, Qt::Key_Return);
    QTest::keyClick(number, Qt::Key_Escape);
    EXPECT_EQ(pressed, (std::vector<std::string>{"确定", "取消"}));

    // One click on a row and the arrows move the choice; Enter opens it as a double click does.
    std::vector<int> opened;
    w.超级列表框2.onDoubleClick = [&](int i) { opened.push_back(i); };
    auto* rows = qobject_cast<QTreeWidget*>(as<QStackedWidget>(w.超级列表框2)->currentWidget());
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->topLevelItem(0)).center());
    EXPECT_EQ(w.超级列表框2.selected(), 0);
    EXPECT_TRUE(rows->hasFocus());
    QTest::keyClick(rows, Qt::Key_Down);
    QTest::keyClick(rows, Qt::Key_Down);
    EXPECT_EQ(w.超级列表框2.selected(), 2);
    QTest::keyClick(rows, Qt::Key_Up);
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<int>{1}));
    EXPECT_EQ(pressed.size(), 2u) << "Enter on the list is no 确定";

    // The program's focus on the tiles reaches the view that takes the arrows.
    w.fillTiles(300);
    auto* icons = qobject_cast<QListWidget*>(as<QStackedWidget>(w.超级列表框1)->currentWidget());
    w.超级列表框1.pickItem(0);
    w.超级列表框1.focus();
    EXPECT_TRUE(icons->hasFocus());
    QTest::keyClick(icons, Qt::Key_Right);
    EXPECT_EQ(w.超级列表框1.selected(), 1);

    // A list filled afresh starts at its top, wherever the last one was scrolled to.
    icons->scrollToBottom();
    ASSERT_GT(icons->verticalScrollBar()->value(), 0);
    w.超级列表框1.hide();  // refilled while hidden, as the photo list is during a load
    w.fillTiles(15);
    w.超级列表框1.show();
    QTest::qWait(20);
    EXPECT_EQ(icons->verticalScrollBar()->value(), 0);
    w.close();
}

TEST_F(QtBackend, WaitsLetTimersRunAndTheLastWindowEndsTheProgram) {
    auto window = std::make_shared<EveryKind>();
    EveryKind& w = *window;
    std::weak_ptr<EveryKind> watch = window;
    int ticks = 0;
    w.时钟1.onTick = [&] { ++ticks; };
    w.onCreated = [&] { w.时钟1.start(10); };
    host.show(window);
    window.reset();
    std::int64_t before = host.tickCount();
    host.waitWithEvents(120);
    EXPECT_GE(host.tickCount() - before, 120);
    EXPECT_GE(ticks, 3) << "a 10 ms timer keeps ticking during a 120 ms wait";
    w.时钟1.stop();
    int stopped = ticks;
    host.waitWithEvents(40);
    EXPECT_EQ(ticks, stopped);

    w.按钮1.onClick = [&] { w.close(); };
    soon([&] { QTest::mouseClick(widgetOf(w.按钮1), Qt::LeftButton); }, 10);
    QTimer::singleShot(3000, widgetOf(w), [&] { w.close(); });  // a click that got lost must not hang run()
    EXPECT_EQ(host.run(), 0) << "run() returns once the last window is destroyed";
    EXPECT_FALSE(host.hasOpenWindows());
    // The host lets go of the window only back in the main loop, when no handler of it can run.
    for (int i = 0; i < 5 && !watch.expired(); ++i) QCoreApplication::processEvents();
    EXPECT_TRUE(watch.expired());
}

struct Parent : Window {
    Parent() : Window("Parent", {0, 0, 600, 400}) { setBorder(BorderStyle::None); }
};
struct ChildWin : Window {
    Button 按钮2{*this, "按钮2", {10, 10, 72, 25}};
    Parent* parent;
    explicit ChildWin(Parent* p) : Window("ChildWin", {50, 40, 300, 200}), parent(p) {
        setCaption("自定义LOGO");
        onCreated = [this] { setParentWindow(parent); };
    }
};

TEST_F(QtBackend, ChildWindowsLieInsideTheirParentAndGoWithIt) {
    auto& parent = host.open<Parent>();
    auto& child = host.open<ChildWin>(&parent);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widgetOf(parent)));
    QWidget* c = widgetOf(child);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->isWindow());
    EXPECT_TRUE(widgetOf(parent)->isAncestorOf(c));
    EXPECT_EQ(c->geometry(), QRect(50, 40, 300, 200));
    EXPECT_TRUE(c->isVisible());
    parent.close();
    EXPECT_FALSE(child.isOpen());
}

}  // namespace
}  // namespace xp::ui
