// The new order dialog (选片顾客基本信息录入): a customer's order with its folder of photos and its
// package. Confirming stores the order and, as the dialog goes, loads the order's photos.
#pragma once

#include "orders/order_dialog.h"

namespace xp {

class NewOrderDialog : public OrderDialog {
public:
    explicit NewOrderDialog(AppState& app);

private:
    void created();
    void removeProduct();
    void confirm();
    // Stores the order; false, after saying why, when it could not be stored.
    bool storeOrder();
    void destroying();
};

}  // namespace xp
