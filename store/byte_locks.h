// The byte-range locks one open table holds on one file, with nesting counts: locking a byte already
// held only raises its count, and only the last unlock releases it. The whole-table lock is taken around
// the single bytes already held, so releasing it later leaves those bytes locked.
#pragma once

#include <cstdint>
#include <vector>

#include "store/file_system.h"

namespace xp {

// How long a lock request keeps retrying: 0 not at all, -1 forever, otherwise milliseconds.
int retryLock(File& file, int64_t start, int64_t length, bool exclusive, int waitMs);

// Takes the sharing markers of an open on `markers`: a shared lock on each kind of access the open uses,
// an exclusive one on each it denies to others (shareMode 1 others may read and write, 2 not read, 3 not
// write, 4 neither). 0, or the sharing conflict -12.
int takeShareMarkers(File& markers, bool readOnly, int shareMode, int waitMs);

// Sleeps for the retry pause: 20 ms plus the millisecond tick modulo 20.
void lockRetryPause();

class ByteLocks {
public:
    // `enabled` false (a table opened exclusively) keeps the counts but makes no system calls.
    // `exclusive` false for files opened read-only, which can only take shared locks.
    void attach(File* file, bool enabled, bool exclusive);

    // 0, or the store's lock error code (-13) when the byte stays held by another process.
    int lock(int64_t pos, int waitMs);
    void unlock(int64_t pos);
    int lockWhole(int waitMs);
    void unlockWhole();
    bool holdsWhole() const { return whole_ > 0; }
    // Forgets every count (the file is being closed, which drops its locks).
    void clear();

private:
    struct Held {
        int64_t pos;
        int count;
    };
    Held* find(int64_t pos);
    // The parts of the whole-table range not covered by a held byte.
    std::vector<std::pair<int64_t, int64_t>> gaps() const;
    static bool inWholeRange(int64_t pos);

    File* file_ = nullptr;
    bool enabled_ = true;
    bool exclusive_ = true;
    std::vector<Held> held_;
    int whole_ = 0;
};

}  // namespace xp
