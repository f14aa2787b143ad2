// The private state of RecordStore: the file layer, the table list with its current table, the settings,
// and the helpers the operations share (table and field look-up, counted reads of the header).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/file_system.h"
#include "store/open_table.h"
#include "store/record_store.h"
#include "store/store_errors.h"

namespace xp {

struct RecordStore::Impl {
    std::shared_ptr<FileSystem> fs;
    std::vector<std::shared_ptr<OpenTable>> tables;  // in opening order; scans keep theirs alive
    int current = -1;
    int lockWait = 0;
    PasswordPrompt prompt;

    OpenTable* currentTable() const { return current >= 0 ? tables[static_cast<size_t>(current)].get() : nullptr; }
    std::shared_ptr<OpenTable> currentShared() const {
        return current >= 0 ? tables[static_cast<size_t>(current)] : nullptr;
    }
    bool isStillOpen(const OpenTable* t) const {
        for (const auto& p : tables) {
            if (p.get() == t) return true;
        }
        return false;
    }

    // Name look-up: aliases, then table names, then full paths, each pass from the newest table back.
    int lookup(const std::string& name) const;
    OpenTable* tableFor(const std::string& name) const {
        if (name.empty()) return currentTable();
        const int k = lookup(name);
        return k >= 0 ? tables[static_cast<size_t>(k)].get() : nullptr;
    }
    void closeAt(int index);

    // The field named or numbered by `ref`; nullptr when there is none. Raises the fatal error for an
    // argument that is neither text nor number.
    static const format::FieldDesc* findField(const OpenTable& t, const FieldRef& ref);

    // The wait recordCount uses: 2000 ms unless the lock wait is longer.
    int countWait() const { return lockWait > 2000 ? lockWait : 2000; }

    // Reads the record count and the next serial under the header lock (taken with `waitMs`).
    int readCount(OpenTable& t, int32_t& count, int32_t& serial, int waitMs);
    // The same read for a caller that already holds the header lock.
    static int readCountHeld(OpenTable& t, int32_t& count, int32_t& serial);

    // Open steps shared by openTable's password tries.
    int openOnce(const std::string& fullPath, const OpenOptions& options, const std::string& password,
                 std::unique_ptr<OpenTable>& out);
};

// Sets lastError and gives false, for the operations' early returns.
inline bool fail(int code) {
    setLastError(code);
    return false;
}

// The store code for a failed read or write result (a negated errno) or `fallback` for a short transfer
// or an errno without a code of its own.
int ioCode(int64_t result, int fallback);

}  // namespace xp
