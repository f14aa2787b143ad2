// The order windows on the real Qt widgets (offscreen), driven by the keyboard: the arrows move through
// the order list and Enter opens the chosen order into a photo grid that has the keys at once; Enter and
// Esc press the order dialogs' buttons.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "app/plug_windows.h"
#include "appdata/installation.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "orders/new_order_dialog.h"
#include "orders/order_edit_dialog.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "tests/support/photo_fixtures.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_host.h"

namespace xp::test {
namespace {

using ui::qt::widgetOf;

// Runs fn on the modal window or box that is active next (within two seconds), or closes what is up.
template <class T>
void whenActive(std::function<void(T*)> fn, int tries = 200) {
    QTimer::singleShot(10, qApp, [fn = std::move(fn), tries]() mutable {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            fn(w);
            return;
        }
        if (tries > 0) return whenActive<T>(std::move(fn), tries - 1);
        ADD_FAILURE() << "no " << T::staticMetaObject.className() << " became active";
        if (QWidget* active = QApplication::activeModalWidget()) active->close();
    });
}

// The offscreen platform does not always hand the activation to a modal window as a window manager
// does; the user's keys go to the window in front.
void activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

class OrdersOnQt : public ::testing::Test {
protected:
    OrdersOnQt() {
        InstallResult made = createInstallation(temp / "studio");
        if (!made.ok) ADD_FAILURE() << made.message;
        app = std::make_unique<AppState>(host, made.folder);
        plugWindows(*app);
    }
    ~OrdersOnQt() override {
        while (host.hasOpenWindows()) host.openWindows().back()->close();
    }

    void addOrder(const std::string& number, const std::string& folder) {
        RecordStore store;
        ASSERT_TRUE(openAppTable(store, app->paths.orderTable));
        ASSERT_TRUE(appendNamedRow(store, {{order_fields::kOrderNumber, number},
                                           {order_fields::kCustomerName, "顾客" + number},
                                           {order_fields::kSelectionFolder, folder},
                                           {order_fields::kState, kStateNotSelected}}));
    }
    std::string photoFolder(const std::string& name, int photos) {
        const std::string folder = temp / name;
        std::filesystem::create_directories(folder);
        for (int i = 0; i < photos; ++i)
            testing::writeFile(folder + "/IMG_" + std::to_string(i) + ".jpg",
                               testing::jpeg(testing::solid(48, 32, testing::kBlue)));
        return folder;
    }
    MainWindow& openMain() {
        auto& w = host.open<MainWindow>(*app);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(widgetOf(w)));
        return w;
    }

    TempDir temp;
    std::unique_ptr<AppState> app;  // outlives the windows the host still holds
    ui::qt::QtHost host;
};

TEST_F(OrdersOnQt, ArrowsMoveThroughTheOrdersAndEnterOpensOneIntoAGridThatHasTheKeys) {
    addOrder("A", photoFolder("A", 1));
    addOrder("B", photoFolder("B", 3));
    addOrder("C", photoFolder("C", 1));
    MainWindow& w = openMain();
    QTest::mouseClick(widgetOf(w.按钮_数据管理), Qt::LeftButton);
    auto* rows = qobject_cast<QTreeWidget*>(qobject_cast<QStackedWidget*>(widgetOf(w.超级列表框2))->currentWidget());
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->topLevelItemCount(), 3);

    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->topLevelItem(0)).center());
    QTest::keyClick(rows, Qt::Key_Down);
    EXPECT_EQ(w.超级列表框2.selected(), 1);
    EXPECT_EQ(app->orderRecordNumber, 2) << "the arrow chose the order as a click does";
    QTest::keyClick(rows, Qt::Key_Return);
    EXPECT_EQ(app->orderNumber, "B");
    ASSERT_TRUE(w.外形框_超级列表框1.isVisible());
    EXPECT_TRUE(w.按钮_系统设置.isEnabled()) << "the load gave the buttons back";

    auto* tiles = qobject_cast<QListWidget*>(qobject_cast<QStackedWidget*>(widgetOf(w.超级列表框1))->currentWidget());
    ASSERT_NE(tiles, nullptr);
    EXPECT_EQ(tiles->count(), 3);
    EXPECT_TRUE(tiles->hasFocus());
    EXPECT_EQ(tiles->currentRow(), 0);
    QTest::keyClick(tiles, Qt::Key_Right);
    EXPECT_EQ(w.超级列表框1.selected(), 1);
}

TEST_F(OrdersOnQt, EnterAndEscPressTheOrderDialogsButtons) {
    addOrder("A", photoFolder("A", 1));
    MainWindow& w = openMain();

    // The new order dialog: Esc is 取消.
    bool cancelled = false;
    whenActive<QWidget>([&](QWidget* dialog) {
        activate(dialog);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, Qt::Key_Escape);
        cancelled = !dialog->isVisible();
        if (dialog->isVisible()) dialog->close();
    });
    QTest::mouseClick(widgetOf(w.按钮_导入选片数据), Qt::LeftButton);
    EXPECT_TRUE(cancelled);

    // The order edit dialog: Enter in a box stores the order, as 确定 does.
    QTest::mouseClick(widgetOf(w.按钮_数据管理), Qt::LeftButton);
    auto* rows = qobject_cast<QTreeWidget*>(qobject_cast<QStackedWidget*>(widgetOf(w.超级列表框2))->currentWidget());
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->topLevelItem(0)).center());
    QString confirmation;
    whenActive<QWidget>([&](QWidget* dialog) {
        auto* phone = dialog->findChild<QLineEdit*>(QStringLiteral("编辑框3"));
        if (!phone) {
            ADD_FAILURE() << "no 编辑框3";
            dialog->close();
            return;
        }
        activate(dialog);
        phone->setFocus();
        QTest::keyClicks(phone, "139");
        whenActive<QMessageBox>([&](QMessageBox* box) {
            confirmation = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::keyClick(phone, Qt::Key_Return);
    });
    QTest::mouseClick(widgetOf(w.按钮_顾客资料), Qt::LeftButton);
    EXPECT_EQ(confirmation, QString("顾客资料修改成功！"));
    RecordStore store;
    ASSERT_TRUE(openAppTable(store, app->paths.orderTable));
    store.firstRecord();
    EXPECT_EQ(readText(store, order_fields::kPhone), "139");
}

}  // namespace
}  // namespace xp::test
