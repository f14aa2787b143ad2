// Field layouts of the tables and the check that an existing table has the expected fields.
#include "appdata/table_schema.h"

#include <algorithm>

#include "appdata/text_codec.h"
#include "store/text_rules.h"

namespace xp {
namespace {

constexpr int kText = static_cast<int>(FieldType::Text);
constexpr int kMemo = static_cast<int>(FieldType::Memo);
constexpr int kInt = static_cast<int>(FieldType::Int);

FieldDef text(const char* name, int width) { return {toGbk(name), kText, width}; }
FieldDef memo(const char* name) { return {toGbk(name), kMemo, 0}; }

// Whether the order of the fields is part of the layout: rows of these tables are appended with their
// values in field order.
bool orderMatters(AppTable table) { return table != AppTable::Orders; }

}  // namespace

std::vector<FieldDef> tableFields(AppTable table) {
    using namespace order_fields;
    switch (table) {
        case AppTable::Orders:
            return {text(kOrderNumber, 64),       text(kCustomerName, 64),  text(kPhone, 64),
                    text(kSelectionDate, 32),     text(kViewingDate, 64),   text(kPickupDate, 64),
                    text(kSelector, 64),          text(kState, 16),         text(kUrgent, 16),
                    text(kSelectionFolder, 1024), text(kIncludedCount, 32), text(kPackageProducts, 1024),
                    text(kExtraCount, 32),        text(kExtraAmount, 64),   memo(kRequirements)};
        case AppTable::Users: return {text(user_fields::kUserName, 64), text(user_fields::kPassword, 64)};
        case AppTable::Products: return {text(product_fields::kName, 128), text(product_fields::kCategory, 128)};
        case AppTable::Categories: return {text(category_fields::kName, 128)};
    }
    return {};
}

std::vector<FieldDef> photoTableCreationRequest() {
    using namespace photo_fields;
    std::vector<FieldDef> request{
        memo(kFileName),  memo(kProducts), memo(kRetouch), memo(kFilePath), {toGbk(kRecordNumber), kInt, 0},
        memo(kFileLength)};
    request.resize(20, FieldDef{"", kMemo, 0});
    return request;
}

std::string schemaProblem(const RecordStore& store, AppTable table) {
    std::vector<FieldDef> have = store.tableFields();
    std::vector<FieldDef> want = tableFields(table);
    auto isTextKind = [](int type) { return type == kText || type == kMemo; };
    for (size_t i = 0; i < want.size(); ++i) {
        std::string name = fromGbk(want[i].name);
        auto found = std::find_if(have.begin(), have.end(),
                                  [&](const FieldDef& f) { return equalsIgnoreCase(f.name, want[i].name); });
        if (found == have.end()) return "has no field \"" + name + "\"";
        if (!isTextKind(found->type)) return "field \"" + name + "\" is not a text field";
        if (orderMatters(table) && found - have.begin() != static_cast<std::ptrdiff_t>(i))
            return "field \"" + name + "\" is not field " + std::to_string(i + 1);
    }
    return {};
}

}  // namespace xp
