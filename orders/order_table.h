// The order table as the order windows use it: the fields the order list shows, and the lists the order
// dialogs offer (selectors, categories, products of a category).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"

namespace xp {

// The nine order-table fields the order list shows, in column order.
const std::vector<std::string>& orderListFields();

// The bytes each Text field of a table holds, by field name (UTF-8). Fields of other kinds have no
// entry: they take any length.
std::map<std::string, std::size_t> textFieldWidths(const std::vector<FieldDef>& fields);
// The order table's, read from the table itself: the current table when that is the order table,
// otherwise opened with the table password and closed by name again; the layout an installation creates
// when it cannot be opened.
std::map<std::string, std::size_t> orderFieldWidths(RecordStore& store, const std::string& orderTable);

// Whether two paths name one file or folder, their names resolved without letter case as everywhere
// else. Paths that do not exist are compared as written, after that resolution.
bool samePath(const std::string& a, const std::string& b);

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
