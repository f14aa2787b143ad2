// Order-table rows and the reference lists of the order dialogs.
#include "orders/order_table.h"

#include <filesystem>
#include <system_error>

#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "platform/file_system.h"

namespace xp {

const std::vector<std::string>& orderListFields() {
    namespace of = order_fields;
    static const std::vector<std::string> fields = {of::kOrderNumber,   of::kCustomerName, of::kPhone,
                                                    of::kSelectionDate, of::kViewingDate,  of::kPickupDate,
                                                    of::kSelector,      of::kState,        of::kUrgent};
    return fields;
}

std::map<std::string, std::size_t> textFieldWidths(const std::vector<FieldDef>& fields) {
    std::map<std::string, std::size_t> widths;
    for (const FieldDef& f : fields)
        if (f.type == static_cast<int>(FieldType::Text) && f.length > 0)
            widths[fromGbk(f.name)] = static_cast<std::size_t>(f.length);
    return widths;
}

std::map<std::string, std::size_t> orderFieldWidths(RecordStore& store, const std::string& orderTable) {
    if (store.tableName() == kOrderTableName) return textFieldWidths(store.tableFields());
    if (!openAppTable(store, orderTable)) return textFieldWidths(tableFields(AppTable::Orders));
    std::map<std::string, std::size_t> widths = textFieldWidths(store.tableFields());
    store.closeTable(kOrderTableName);
    return widths;
}

bool samePath(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    const std::string ra = resolvePath(a), rb = resolvePath(b);
    std::error_code ec;
    if (fs::equivalent(ra, rb, ec)) return true;
    auto normal = [](const std::string& p) {
        std::string n = fs::path(p).lexically_normal().string();
        while (n.size() > 1 && n.back() == '/') n.pop_back();
        return n;
    };
    return normal(ra) == normal(rb);
}

namespace {

// Every value of one field, in table order, from a table opened and closed here.
std::vector<std::string> columnOf(RecordStore& store, const std::string& path, const char* tableName,
                                  std::string_view field, bool& opened) {
    std::vector<std::string> out;
    opened = openAppTable(store, path);
    if (!opened) return out;
    store.firstRecord();
    const int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        out.push_back(readText(store, field));
        store.skipRecords(1);
    }
    store.closeTable(tableName);
    return out;
}

}  // namespace

std::vector<std::string> selectorNames(RecordStore& store, const std::string& userTable) {
    bool opened = false;
    std::vector<std::string> names;
    for (std::string& name : columnOf(store, userTable, kUserTableName, user_fields::kUserName, opened))
        if (name != kAdminUser) names.push_back(std::move(name));
    return names;
}

std::vector<std::string> categoryNames(RecordStore& store, const std::string& categoryTable) {
    bool opened = false;
    return columnOf(store, categoryTable, kCategoryTableName, category_fields::kName, opened);
}

bool productsOfCategory(RecordStore& store, const std::string& productTable, std::string_view category,
                        std::vector<std::string>& names) {
    names.clear();
    if (!openAppTable(store, productTable)) return false;
    const std::string wanted = toGbk(category);
    const FieldRef categoryField(toGbk(product_fields::kCategory));
    store.firstRecord();
    const int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        if (store.readField(categoryField).asText() == wanted) names.push_back(readText(store, product_fields::kName));
        store.skipRecords(1);
    }
    store.closeTable(kProductTableName);
    return true;
}

}  // namespace xp
