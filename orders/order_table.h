// The order table as the order windows use it: the fields the order list shows, and the lists the order
// dialogs offer (selectors, categories, products of a category).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"

namespace xp {

// The nine order-table fields the order list shows, in column order.
const std::vector<std::string>& orderListFields();

// The reference lists, each read from its table (opened with the table password and closed by name
// afterwards); a table that cannot be opened gives an empty list.
// Every "用户名" of the user table except the account "admin" (compared exactly).
std::vector<std::string> selectorNames(RecordStore& store, const std::string& userTable);
std::vector<std::string> categoryNames(RecordStore& store, const std::string& categoryTable);
// The "产品名称" of every product whose "产品类别" equals `category`, in table order; false (and no
// names) when the product table cannot be opened.
bool productsOfCategory(RecordStore& store, const std::string& productTable, std::string_view category,
                        std::vector<std::string>& names);

}  // namespace xp
