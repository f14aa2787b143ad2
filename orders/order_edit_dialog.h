// The order edit dialog (客户资料查看修改): the current order's stored details in the new order dialog's
// layout, changed and stored again; a product taken out of the package is taken off the order's photos
// at once.
#pragma once

#include <string>

#include "orders/order_dialog.h"

namespace xp {

class OrderEditDialog : public OrderDialog {
public:
    explicit OrderEditDialog(AppState& app);

private:
    void created();
    void categoryChanged();
    void removeProduct();
    // Takes `product` off every photo of the photo table that is current; the number of rows written,
    // or -1 when a write failed.
    int removeFromPhotos(const std::string& product);
    void confirm();
    // Writes every control's field on the current order's row; "" or what went wrong.
    std::string storeChanges();
    void cancel();
    void destroying();

    bool orderShown_ = false;
    std::string shownNumber_;  // the order number as the dialog read it
};

}  // namespace xp
