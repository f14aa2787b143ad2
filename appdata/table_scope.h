// A table opened for the length of a handler: opened with the table password, and given back on every
// path out of the handler, so that no early return leaves it open or leaves another table current.
#pragma once

#include <string>

#include "store/record_store.h"

namespace xp {

class TableScope {
public:
    // What happens to the store when the scope ends.
    enum class OnExit {
        // The table is closed by name and the open order's photo table ("xpdata") is current again;
        // with no photo table open every table is closed.
        RestorePhotoTable,
        // Every table is closed (the windows that run while no order is open).
        CloseAll,
    };

    // `path` is one of the application's tables without extension (AppPaths::orderTable, ...).
    TableScope(RecordStore& store, const std::string& path, OnExit onExit = OnExit::RestorePhotoTable);
    ~TableScope();
    TableScope(const TableScope&) = delete;
    TableScope& operator=(const TableScope&) = delete;

    // False when the table did not open (the store's lastError says why); the scope then changes nothing
    // on its way out.
    bool opened() const { return opened_; }
    explicit operator bool() const { return opened_; }
    // The table's name as the store knows it (the file name without folder and extension).
    const std::string& name() const { return name_; }

private:
    RecordStore& store_;
    std::string name_;
    OnExit onExit_;
    bool opened_ = false;
};

}  // namespace xp
