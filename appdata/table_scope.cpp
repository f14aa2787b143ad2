// Opening and giving back a table around a handler.
#include "appdata/table_scope.h"

#include "appdata/table_schema.h"
#include "appdata/table_text.h"

namespace xp {

TableScope::TableScope(RecordStore& store, const std::string& path, OnExit onExit) : store_(store), onExit_(onExit) {
    const std::size_t slash = path.rfind('/');
    name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    opened_ = openAppTable(store_, path);
}

TableScope::~TableScope() {
    if (!opened_) return;
    if (onExit_ == OnExit::CloseAll) {
        store_.closeAllTables();
        return;
    }
    store_.closeTable(name_);
    if (!store_.selectTable(kPhotoTableName)) store_.closeAllTables();
}

}  // namespace xp
