// The completion tests' installation: one order with a folder of photos, opened into the photo list as
// the selector would, its photo rows chosen directly (as the selection windows write them), and the
// order form opened through the photo list's seam.
#pragma once

#include <string>
#include <vector>

#include "app/plug_windows.h"
#include "appdata/settings_files.h"
#include "completion/order_form_window.h"
#include "tests/support/order_fixture.h"

namespace xp::test {

class CompletionTest : public OrderFixture {
protected:
    CompletionTest() : OrderFixture(plugWindows) {}

    MainWindow& w() {
        if (!main_) main_ = &openMain();
        return *main_;
    }

    // Order "20151005001" of 王芳 (row 1) with these photos, opened; its package and included count.
    std::string openOrder(const std::vector<std::string>& files, const std::string& package = "相册。放大。",
                          const std::string& included = "2", const std::map<std::string, std::string>& more = {}) {
        folder_ = photoFolder("王芳", files);
        std::map<std::string, std::string> fields = {
            {order_fields::kOrderNumber, kOrder},      {order_fields::kCustomerName, "王芳"},
            {order_fields::kPhone, "13800001111"},     {order_fields::kSelector, "小王"},
            {order_fields::kState, kStateNotSelected}, {order_fields::kSelectionFolder, folder_},
            {order_fields::kIncludedCount, included},  {order_fields::kPackageProducts, package}};
        for (const auto& [k, v] : more) fields[k] = v;
        addOrder(fields);
        app->orderRecordNumber = 1;
        app->orderNumber = kOrder;
        EXPECT_TRUE(w().openOrderPhotos(folder_));
        return folder_;
    }
    // Products and retouch request of the photo in row `recordNo`, as the selection windows write them.
    void pick(int recordNo, const std::string& products, const std::string& retouch = {}) {
        choose(folder_, recordNo, products, retouch);
    }

    OrderFormWindow& form() {
        app->openers.orderForm(w());
        return s.window<OrderFormWindow>();
    }

    std::string orderField(const std::string& field) {
        std::vector<std::string> column = orderColumn(field);
        return column.empty() ? std::string("<no order>") : column.front();
    }

    void expectInfo(const std::string& text) {
        s.expectMessage(text).title("提示信息").icon(ui::MessageIcon::Information);
    }

    static constexpr const char* kOrder = "20151005001";
    std::string folder_;
    MainWindow* main_ = nullptr;
};

}  // namespace xp::test
