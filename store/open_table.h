// The in-memory state of one open table: its files, names, header copy, field descriptors, cursor,
// lock tables and the record under test, plus small guards that release locks on every exit path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/byte_locks.h"
#include "store/ciphered_file.h"
#include "store/table_format.h"

namespace xp {

struct OpenTable {
    std::string fullPath;
    std::string memoPath;
    std::string name;  // file name without folder and extension
    std::string alias;
    std::string password;  // the key the files are under now ("" = plain)
    bool readOnly = false;
    bool exclusive = false;  // share mode 4: no byte locks on the table file
    int shareMode = 1;

    CipheredFile table;
    CipheredFile memo;              // open when the table has Bytes or Memo fields
    std::unique_ptr<File> markers;  // holds the sharing markers
    ByteLocks tableLocks;
    ByteLocks memoLocks;

    uint8_t header[112] = {};
    std::vector<format::FieldDesc> fields;
    int64_t firstRecord = 0;
    int32_t recordLength = 0;
    bool hasMemo = false;

    int64_t cursor = 0;
    const uint8_t* underTest = nullptr;  // set only while a condition is evaluated
    int64_t underTestIndex = -1;

    int64_t recordPos(int64_t index) const { return firstRecord + index * recordLength; }
};

// Holds one byte lock until the end of the scope.
class ByteLockGuard {
public:
    ByteLockGuard(ByteLocks& locks, int64_t pos) : locks_(&locks), pos_(pos) {}
    ~ByteLockGuard() { release(); }
    void release() {
        if (locks_) locks_->unlock(pos_);
        locks_ = nullptr;
    }
    ByteLockGuard(const ByteLockGuard&) = delete;
    ByteLockGuard& operator=(const ByteLockGuard&) = delete;

private:
    ByteLocks* locks_;
    int64_t pos_;
};

// Holds the whole-table lock until the end of the scope.
class WholeLockGuard {
public:
    explicit WholeLockGuard(ByteLocks& locks) : locks_(&locks) {}
    ~WholeLockGuard() {
        if (locks_) locks_->unlockWhole();
    }
    WholeLockGuard(const WholeLockGuard&) = delete;
    WholeLockGuard& operator=(const WholeLockGuard&) = delete;

private:
    ByteLocks* locks_;
};

// Sets the record under test and the cursor for one evaluation scope, and restores both afterwards, also
// when a fatal error unwinds through the condition.
class UnderTestGuard {
public:
    explicit UnderTestGuard(OpenTable& t)
        : t_(t), savedImage_(t.underTest), savedIndex_(t.underTestIndex), savedCursor_(t.cursor) {}
    ~UnderTestGuard() {
        clear();
        if (restoreCursor_) t_.cursor = savedCursor_;
    }
    void set(const uint8_t* image, int64_t index) {
        t_.underTest = image;
        t_.underTestIndex = index;
        t_.cursor = index;
    }
    void clear() {
        t_.underTest = savedImage_;
        t_.underTestIndex = savedIndex_;
    }
    // The cursor is left where the caller put it instead of being restored.
    void keepCursor() { restoreCursor_ = false; }
    UnderTestGuard(const UnderTestGuard&) = delete;
    UnderTestGuard& operator=(const UnderTestGuard&) = delete;

private:
    OpenTable& t_;
    const uint8_t* savedImage_;
    int64_t savedIndex_;
    int64_t savedCursor_;
    bool restoreCursor_ = true;
};

}  // namespace xp
