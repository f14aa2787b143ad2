// Printing the order form: the 16 × 6 sign-off form laid out in the order form's grid and shown in the
// print preview, from which the user prints or saves a PDF.
#pragma once

#include <string>
#include <vector>

#include "appdata/settings_files.h"
#include "ui/print_grid.h"

namespace xp {

class OrderFormWindow;

// What the form prints. The order's own fields are printed only when `orderFields` is set (the order
// table's row still holds the open order).
struct OrderFormPrint {
    std::string today;
    std::string orderNumber;
    std::string customerName;
    bool orderFields = false;
    std::string phone, urgent, viewingDate, pickupDate, shouldSelect, extraCount, extraAmount, requirements, selector;
    // The order form's product summary rows: name, count, photo list.
    struct Product {
        std::string name, count, photos;
    };
    std::vector<Product> products;
    StoreDetails store;
    std::string warmTips;
};

// The product content cell: every product as name + "： " + count + "张 __文件名：" + photos + CR LF CR LF.
std::string productContent(const std::vector<OrderFormPrint::Product>& products);

// Lays the form out in `grid` (sized 17 × 7, row 0 and column 0 unused), the columns `gridWidth` / 6.001
// wide. Every cell the form fills is written again; cells of order fields stay as they were when
// `form.orderFields` is not set.
void layOutOrderForm(ui::PrintGrid& grid, int gridWidth, const OrderFormPrint& form);

// "打印表单": refuses an unsaved selection, reads the saved order row, lays the form out in the window's
// 高级表格1 and opens the print preview. False when no preview was shown.
bool printOrderForm(OrderFormWindow& window);

}  // namespace xp
