// The cursor: counting, moving and numbering records of the current table.
#include <algorithm>

#include "store/store_impl.h"

namespace xp {

int RecordStore::recordCount() {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) {
        setLastError(err::NoCurrentTable);
        return 0;
    }
    int32_t count = 0, serial = 0;
    if (int r = impl_->readCount(*t, count, serial, impl_->countWait()); r != 0) {
        setLastError(r);
        return 0;
    }
    return count < 0 ? 0 : count;
}

void RecordStore::firstRecord() {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) {
        setLastError(err::NoCurrentTable);
        return;
    }
    t->cursor = 0;
}

bool RecordStore::skipRecords(int n) {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) return fail(err::NoCurrentTable);
    if (n == 0) return true;
    const int64_t c = recordCount();
    if (lastError() != 0) return false;
    if (n > 0) {
        if (c == 0 || t->cursor >= c) return fail(err::PastLast);
        t->cursor = std::min<int64_t>(t->cursor + n, c);
    } else {
        if (c == 0 || t->cursor < 0) return fail(err::BeforeFirst);
        t->cursor = std::max<int64_t>(t->cursor + n, -1);
    }
    return true;
}

bool RecordStore::goToRecord(int n) {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) return fail(err::NoCurrentTable);
    const int64_t c = recordCount();
    if (lastError() != 0) return false;
    t->cursor = c == 0 ? 0 : std::clamp<int64_t>(static_cast<int64_t>(n) - 1, 0, c - 1);
    return true;
}

int RecordStore::recordNumber() {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) {
        setLastError(err::NoCurrentTable);
        return 0;
    }
    // While a condition runs, the number is that of the record under test, even if the condition moved
    // the cursor (a nested search does).
    return static_cast<int>((t->underTest ? t->underTestIndex : t->cursor) + 1);
}

}  // namespace xp
