// The new order dialog as the selector fills it in: the lists it offers, the package, the date fields,
// the folder browser, the required fields, and a confirmed order stored and opened.
#include <gtest/gtest.h>

#include <initializer_list>

#include "appdata/text_helpers.h"
#include "orders/new_order_dialog.h"
#include "platform/file_system.h"
#include "tests/orders/orders_fixture.h"

namespace xp::test {
namespace {

using ui::MessageIcon;

class NewOrderDialogTest : public OrdersTest {
protected:
    // Opens the dialog from the main window and runs `script` while it is open.
    void withDialog(std::function<void(NewOrderDialog&)> script) {
        bool ran = false;
        s.whenModal<NewOrderDialog>([&](NewOrderDialog& d) {
            ran = true;
            script(d);
        });
        w().按钮_导入选片数据.click();
        EXPECT_TRUE(ran) << "the dialog did not open";
    }
    void fillIn(NewOrderDialog& d, const std::string& folder) {
        d.编辑框1.setText("20151005001");
        d.编辑框2.setText("张伟");
        d.编辑框3.setText("13800138000");
        d.编辑框7.setText(folder);
        d.编辑框_应选张数.setText("10");
        d.组合框1.pickItem(d.组合框1.indexOf("小李"));
        d.列表框1.pickItem(0);
        d.按钮_加入.click();
    }
    static std::vector<std::string> items(const ui::ListBox& box) { return box.items(); }
};

TEST_F(NewOrderDialogTest, OffersTheSelectorsWithoutAdminAndTheProductsOfTheChosenCategory) {
    withDialog([&](NewOrderDialog& d) {
        EXPECT_EQ(d.caption(), "选片顾客基本信息录入");
        EXPECT_EQ(d.width(), 604);
        EXPECT_EQ(d.height(), 413);
        EXPECT_EQ(d.组合框1.items(), (std::vector<std::string>{"小王", "Admin", "小李"}));
        EXPECT_EQ(d.组合框1.selected(), -1);
        EXPECT_EQ(d.组合框2.items(), (std::vector<std::string>{"相册类", "摆台类"}));
        EXPECT_EQ(d.组合框2.selected(), 0);
        EXPECT_EQ(items(d.列表框1), (std::vector<std::string>{"12寸相册", "10寸杂志册"}));
        EXPECT_EQ(d.组合框_是否加急.selectedText(), "否");
        EXPECT_EQ(d.编辑框8.text(), todayText());
        EXPECT_FALSE(w().按钮_导入选片数据.isEnabled());
        EXPECT_EQ(app->store.tableCount(), 0);

        d.组合框2.pickItem(1);
        EXPECT_EQ(items(d.列表框1), (std::vector<std::string>{"7寸摆台"}));
    });
    EXPECT_TRUE(w().按钮_导入选片数据.isEnabled());
}

TEST_F(NewOrderDialogTest, WithoutCategoriesNothingIsOfferedAndNoOrderCanBeConfirmed) {
    setRows(app->paths.categoryTable, {});
    withDialog([&](NewOrderDialog& d) {
        EXPECT_EQ(d.组合框2.itemCount(), 0);
        EXPECT_EQ(d.列表框1.itemCount(), 0);
        fillIn(d, temp.path());
        EXPECT_EQ(d.列表框2.itemCount(), 0);
        expectInfo("带（*）号的为必填项 请完整填写信息");
        d.确定按钮.click();
        EXPECT_TRUE(d.isOpen());
    });
}

TEST_F(NewOrderDialogTest, ThePackageTheDateFieldsAndTheFolderBrowser) {
    withDialog([&](NewOrderDialog& d) {
        d.按钮_移除.click();
        EXPECT_EQ(d.列表框2.itemCount(), 0);
        d.按钮_加入.click();
        EXPECT_EQ(d.列表框2.itemCount(), 0) << "nothing chosen, nothing added";
        d.列表框1.pickItem(1);
        d.按钮_加入.click();
        d.按钮_加入.click();
        d.列表框1.pickItem(0);
        d.按钮_加入.click();
        EXPECT_EQ(items(d.列表框2), (std::vector<std::string>{"10寸杂志册", "10寸杂志册", "12寸相册"}));
        d.列表框2.pickItem(1);
        d.按钮_移除.click();
        EXPECT_EQ(items(d.列表框2), (std::vector<std::string>{"10寸杂志册", "12寸相册"}));
        EXPECT_EQ(d.列表框2.selected(), 0);
        EXPECT_EQ(d.packageText(), "10寸杂志册。12寸相册。");

        for (ui::EditBox* date : {&d.编辑框4, &d.编辑框5}) {
            date->focus();
            EXPECT_EQ(date->text(), todayText());
            EXPECT_TRUE(date->isAllSelected()) << "the date is there to be typed over";
            date->typeText("2026-12-20");
            EXPECT_EQ(date->text(), "2026-12-20");
            date->setText("2015-10-5");
            d.编辑框1.focus();
            EXPECT_EQ(date->text(), "2015-10-5");
            date->focus();
            EXPECT_EQ(date->text(), todayText());
        }

        s.expectFolder("请选择照片存放的文件夹").answer("/photos/张伟");
        d.图片框1.mouseUp(ui::MouseButton::Left, 5, 5);
        EXPECT_EQ(d.编辑框7.text(), "/photos/张伟");
        d.图片框1.mouseUp(ui::MouseButton::Right, 5, 5);
        s.expectFolder().cancel();
        d.图片框1.mouseUp(ui::MouseButton::Left, 5, 5);
        EXPECT_EQ(d.编辑框7.text(), "");
    });
}

TEST_F(NewOrderDialogTest, EveryRequiredFieldMustBeFilledAndTheDialogKeepsWhatWasTyped) {
    struct Case {
        const char* what;
        std::function<void(NewOrderDialog&)> undo;
    };
    const std::vector<Case> cases = {
        {"订单编号", [](NewOrderDialog& d) { d.编辑框1.clear(); }},
        {"顾客姓名", [](NewOrderDialog& d) { d.编辑框2.clear(); }},
        {"联系电话", [](NewOrderDialog& d) { d.编辑框3.clear(); }},
        {"选片目录", [](NewOrderDialog& d) { d.编辑框7.clear(); }},
        {"应选张数", [](NewOrderDialog& d) { d.编辑框_应选张数.clear(); }},
        {"选片人", [](NewOrderDialog& d) { d.组合框1.setSelected(-1); }},
        {"套系产品", [](NewOrderDialog& d) { d.列表框2.clear(); }},
    };
    const std::string folder = photoFolder("order", {"p.jpg"});
    withDialog([&](NewOrderDialog& d) {
        fillIn(d, folder);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            fillIn(d, folder);
            c.undo(d);
            expectInfo("带（*）号的为必填项 请完整填写信息");
            d.确定按钮.click();
            EXPECT_TRUE(d.isOpen());
            EXPECT_EQ(d.编辑框_应选张数.text().empty(), std::string(c.what) == "应选张数");
        }
        // Dates and the urgent flag are not required.
        fillIn(d, folder);
        d.确定按钮.click();
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(orderColumn("订单编号"), (std::vector<std::string>{"20151005001"}));
}

TEST_F(NewOrderDialogTest, AConfirmedOrderIsStoredBecomesCurrentAndItsPhotosAppear) {
    order("older", "someone", "OK");
    const std::string folder = photoFolder("张伟", {"IMG_1.jpg", "IMG_2.jpg"});
    std::int64_t confirmedAt = -1;
    withDialog([&](NewOrderDialog& d) {
        fillIn(d, folder);
        d.编辑框4.setText("2015-10-20");
        d.编辑框5.setText("2015-11-1");
        d.组合框_是否加急.pickItem(1);
        d.列表框1.pickItem(1);
        d.按钮_加入.click();
        confirmedAt = s.now();
        d.确定按钮.click();
    });
    const std::map<std::string, std::string> expected = {
        {"订单编号", "20151005001"},
        {"顾客姓名", "张伟"},
        {"联系电话", "13800138000"},
        {"选片日期", todayText()},
        {"看样日期", "2015-10-20"},
        {"取件日期", "2015-11-1"},
        {"选片人", "小李"},
        {"选片状态", "未选"},
        {"是否加急", "加急"},
        {"选片目录", folder},
        {"应选张数", "10"},
        {"套系产品", "12寸相册。10寸杂志册。"},
        {"加选张数", ""},
        {"加选金额", ""},
        {"制作要求", ""},
    };
    for (const auto& [field, text] : expected) EXPECT_EQ(orderColumn(field).back(), text) << field;
    EXPECT_EQ(orderColumn("订单编号").size(), 2u);
    EXPECT_EQ(app->orderRecordNumber, 2);
    EXPECT_EQ(app->orderNumber, "20151005001");

    EXPECT_EQ(app->selectionFolder(), folder);
    EXPECT_EQ(s.now() - confirmedAt, 50) << "events run for 50 ms before the photos load";
    EXPECT_EQ(w().超级列表框1.itemCount(), 2);
    EXPECT_TRUE(w().外形框_超级列表框1.isVisible());
    EXPECT_FALSE(w().外形框_加载.isVisible());
    EXPECT_TRUE(w().按钮_导入选片数据.isEnabled());
    EXPECT_EQ(app->store.tableName(), "xpdata");
    EXPECT_EQ(storedPhotos(folder).size(), 2u);
}

TEST_F(NewOrderDialogTest, AnOrderNumberInUseIsRefusedAndNothingLoadsWithoutConfirmation) {
    order("20151005001", "someone", "OK");
    const std::string folder = photoFolder("order", {"p.jpg"});
    withDialog([&](NewOrderDialog& d) {
        fillIn(d, folder);
        expectInfo("订单编号“20151005001”已存在，请使用其他订单编号");
        d.确定按钮.click();
        EXPECT_TRUE(d.isOpen());
        EXPECT_EQ(d.编辑框2.text(), "张伟");
        d.取消按钮.click();
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(orderColumn("订单编号").size(), 1u);
    EXPECT_FALSE(app->newOrderConfirmed);
    EXPECT_FALSE(w().外形框_超级列表框1.isVisible());
    EXPECT_FALSE(folderExists(folder + "/data"));

    // A dialog closed by its window's close box after an earlier confirmation loads nothing either.
    app->newOrderConfirmed = true;
    withDialog([&](NewOrderDialog& d) { fillIn(d, folder); });
    EXPECT_FALSE(folderExists(folder + "/data"));
    EXPECT_TRUE(w().按钮_导入选片数据.isEnabled());
}

TEST_F(NewOrderDialogTest, AFolderAnotherOrderNamesIsAskedAboutFirst) {
    const std::string folder = photoFolder("shared", {"p.jpg"});
    order("A1", "李娜", "未选", folder);
    // The same folder as typed in other letters and with a trailing "/".
    const std::string typed = (temp / "SHARED") + "/";
    const std::string question =
        "订单“A1”（顾客：李娜）已使用这个选片目录：\r\n" + typed +
        "\r\n\r\n两个订单使用同一个选片目录时，它们的选片数据会互相覆盖。\r\n确定仍要保存此订单吗？";
    withDialog([&](NewOrderDialog& d) {
        fillIn(d, typed);
        s.expectMessage(question)
            .title("提示信息")
            .icon(MessageIcon::Question)
            .buttons(ui::MessageButtons::YesNo)
            .defaultButton(ui::MessageResult::No)
            .answer(ui::MessageResult::No);
        d.确定按钮.click();
        EXPECT_TRUE(d.isOpen()) << "否 keeps the dialog with its content";
        EXPECT_EQ(d.编辑框1.text(), "20151005001");
        EXPECT_EQ(d.编辑框7.text(), typed);
        EXPECT_EQ(orderColumn("订单编号"), (std::vector<std::string>{"A1"}));

        s.expectMessage(question).answer(ui::MessageResult::Yes);
        d.确定按钮.click();
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(orderColumn("订单编号"), (std::vector<std::string>{"A1", "20151005001"}));

    // A folder no other order names is stored without a question.
    const std::string own = photoFolder("own", {"q.jpg"});
    withDialog([&](NewOrderDialog& d) {
        fillIn(d, own);
        d.编辑框1.setText("20151005002");
        d.确定按钮.click();
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_EQ(orderColumn("订单编号").size(), 3u);
}

TEST_F(NewOrderDialogTest, EveryBoxHoldsNoMoreThanItsFieldInGbkBytes) {
    withDialog([&](NewOrderDialog& d) {
        struct Case {
            ui::EditBox& box;
            std::size_t bytes;
        };
        for (const Case& c :
             {Case{d.编辑框1, 64}, Case{d.编辑框2, 64}, Case{d.编辑框3, 64}, Case{d.编辑框4, 64}, Case{d.编辑框5, 64},
              Case{d.编辑框7, 1024}, Case{d.编辑框8, 32}, Case{d.编辑框_应选张数, 32}}) {
            SCOPED_TRACE(c.box.name());
            c.box.clear();
            c.box.typeText(std::string(c.bytes + 1, '1'));
            EXPECT_EQ(c.box.text(), std::string(c.bytes, '1')) << "the byte past the field is refused";
            // One byte short of full: a double-byte character no longer fits and is refused whole.
            c.box.setText(std::string(c.bytes - 1, '1'));
            c.box.typeText("张");
            EXPECT_EQ(c.box.text(), std::string(c.bytes - 1, '1'));
            c.box.setText(std::string(c.bytes - 2, '1'));
            c.box.typeText("张");
            EXPECT_EQ(c.box.text(), std::string(c.bytes - 2, '1') + "张");
        }

        // A chosen folder whose path the field cannot hold is refused whole, never cut into another.
        d.编辑框7.setText("/photos/张伟");
        s.expectFolder().answer("/photos/" + std::string(1100, 'x'));
        expectInfo("所选文件夹的路径太长，请选择路径较短的文件夹");
        d.图片框1.mouseUp(ui::MouseButton::Left, 5, 5);
        EXPECT_EQ(d.编辑框7.text(), "/photos/张伟");

        // The package holds 1024 bytes: "12寸相册。" takes 10, so the 103rd is refused.
        d.列表框1.pickItem(0);
        for (int i = 0; i < 102; ++i) d.按钮_加入.click();
        expectInfo("套系产品太多，无法再加入“12寸相册”");
        d.按钮_加入.click();
        EXPECT_EQ(d.列表框2.itemCount(), 102);
        d.取消按钮.click();
    });
}

TEST_F(NewOrderDialogTest, EnterConfirmsEscCancelsAndTheLoadTakesNoClicks) {
    const std::string folder = photoFolder("张伟", {"IMG_1.jpg", "IMG_2.jpg"});
    withDialog([&](NewOrderDialog& d) {
        d.编辑框1.focus();
        expectInfo("带（*）号的为必填项 请完整填写信息");
        EXPECT_TRUE(d.keyDown(ui::key::Return));
        EXPECT_TRUE(d.isOpen());
        EXPECT_TRUE(d.keyDown(ui::key::Escape));
        EXPECT_FALSE(d.isOpen());
    });
    EXPECT_TRUE(orderColumn("订单编号").empty());
    EXPECT_FALSE(w().外形框_超级列表框1.isVisible());

    // Confirmed with Enter; a click in the pause before the photos load reaches nothing.
    std::vector<std::string> reached;
    withDialog([&](NewOrderDialog& d) {
        fillIn(d, folder);
        s.after(10, [&] {
            EXPECT_TRUE(w().外形框_加载.isVisible());
            EXPECT_EQ(w().标签4.caption(), "正在加载图片请稍候(0)");
            for (ui::Clickable* b :
                 std::initializer_list<ui::Clickable*>{&w().按钮_数据管理, &w().按钮_系统设置, &w().关闭按钮})
                if (b->click()) reached.push_back(b->name());
        });
        d.编辑框3.focus();
        EXPECT_TRUE(d.keyDown(ui::key::Return));
    });
    EXPECT_TRUE(reached.empty()) << reached.front();
    EXPECT_EQ(orderColumn("订单编号"), (std::vector<std::string>{"20151005001"}));
    EXPECT_EQ(w().超级列表框1.itemCount(), 2);
    EXPECT_EQ(w().超级列表框1.selected(), 0);
    EXPECT_TRUE(w().按钮_系统设置.isEnabled());
    EXPECT_TRUE(w().按钮_导入选片数据.isEnabled());
}

}  // namespace
}  // namespace xp::test
