// The order table as the order windows use it: rows found by a field's exact value, a row's fields by
// name, a new order appended whatever the order of the installation's fields, and the lists the order
// dialogs offer (selectors, categories, products of a category).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_store.h"

namespace xp {

// From the first record of the current table, the first record whose text field equals `value` exactly
// (its bytes); the cursor then stands on it, and on the first record when none does.
bool findFirstEqual(RecordStore& store, std::string_view field, std::string_view value);

// Appends a row to the current table with the given field texts (UTF-8 field name → text); every other
// field gets its empty value. The fields may stand in any order in the table.
bool appendNamedRow(RecordStore& store, const std::map<std::string, std::string>& texts);

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
