// The order windows' tests: an installation with selectors, categories and products, and orders added
// by field name.
#pragma once

#include "app/plug_windows.h"
#include "orders/order_list_panel.h"
#include "tests/support/order_fixture.h"

namespace xp::test {

class OrdersTest : public OrderFixture {
protected:
    OrdersTest() : OrderFixture(plugWindows) {
        setRows(app->paths.userTable, {{"admin", "tovex"}, {"小王", "1"}, {"Admin", "2"}, {"小李", "3"}});
        setRows(app->paths.categoryTable, {{"相册类"}, {"摆台类"}});
        setRows(app->paths.productTable, {{"12寸相册", "相册类"}, {"7寸摆台", "摆台类"}, {"10寸杂志册", "相册类"}});
    }

    MainWindow& w() {
        if (!main_) main_ = &openMain();
        return *main_;
    }
    OrderListPanel& orders() { return *OrderListPanel::of(w()); }
    ui::ListView& list() { return w().超级列表框2; }

    // An order with these essentials (and "选片目录" when a folder is given).
    void order(const std::string& number, const std::string& customer, const std::string& state,
               const std::string& folder = {}, const std::string& package = {}) {
        addOrder({{order_fields::kOrderNumber, number},
                  {order_fields::kCustomerName, customer},
                  {order_fields::kState, state},
                  {order_fields::kSelectionFolder, folder},
                  {order_fields::kPackageProducts, package}});
    }
    // Column 0 of every row of the order list.
    std::vector<std::string> listed() {
        std::vector<std::string> out;
        for (int i = 0; i < list().itemCount(); ++i) out.push_back(list().caption(i));
        return out;
    }
    void expectInfo(const std::string& text) {
        s.expectMessage(text).title("提示信息").icon(ui::MessageIcon::Information);
    }

    MainWindow* main_ = nullptr;
};

}  // namespace xp::test
