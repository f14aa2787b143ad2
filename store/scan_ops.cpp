// Whole-table work: marking records deleted (one, or every record a condition selects), purging the
// marked records, and searching with a condition.
#include <cstring>
#include <vector>

#include "store/file_cipher.h"
#include "store/memo_chain.h"
#include "store/store_impl.h"
#include "store/table_recovery.h"

namespace xp {

using namespace format;

namespace {

int64_t batchRecords(int32_t recordLength) { return std::max<int64_t>(1, kBatchBytes / recordLength); }

bool evaluate(const Condition& c) {
    if (!c) raiseFatal(fatal::NotBool);
    return c();
}

bool evaluate(const ValueCondition& c) {
    if (!c) raiseFatal(fatal::NotBool);
    const FieldValue v = c();
    if (v.kind() != FieldValue::Kind::Bool) raiseFatal(fatal::NotBool);
    return v.asBool();
}

}  // namespace

bool RecordStore::deleteRecord() {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) return fail(err::NoCurrentTable);
    if (t->cursor < 0) return fail(err::NoRecord);
    const int64_t pos = t->recordPos(t->cursor);
    if (int r = t->tableLocks.lock(pos, impl_->lockWait); r != 0) return fail(r);
    ByteLockGuard hold(t->tableLocks, pos);
    uint8_t b[4];
    const int64_t r = t->table.readAt(b, 4, pos);
    if (r >= 0 && r < 4) return fail(err::NoRecord);
    if (r < 0) return fail(ioCode(r, err::RecordRead));
    const int32_t serial = getI32(b);
    // A read-only table refuses only a change it would have to write.
    if (serial > 0) {
        if (t->readOnly) return fail(err::AccessDenied);
        putI32(b, -serial);
        if (int64_t w = t->table.writeAt(b, 4, pos); w != 4) return fail(ioCode(w, err::RecordWrite));
    }
    return true;
}

template <class Cond>
bool RecordStore::deleteWhere(const Cond& condition) {
    setLastError(0);
    const std::shared_ptr<OpenTable> keep = impl_->currentShared();
    OpenTable* t = keep.get();
    if (!t) return fail(err::NoCurrentTable);
    if (int r = t->tableLocks.lockWhole(impl_->lockWait); r != 0) return fail(r);
    WholeLockGuard whole(t->tableLocks);
    int32_t count = 0, serial = 0;
    if (int r = Impl::readCountHeld(*t, count, serial); r != 0) return fail(r);
    // The buffer is sized by the records there are, never by the record length alone.
    const int64_t per = std::min<int64_t>(batchRecords(t->recordLength), std::max(count, 1));
    std::vector<uint8_t> batch(count > 0 ? static_cast<size_t>(per * t->recordLength) : 0);
    UnderTestGuard test(*t);
    for (int64_t base = 0; base < count; base += per) {
        const int64_t n = std::min<int64_t>(per, count - base);
        const size_t bytes = static_cast<size_t>(n * t->recordLength);
        if (int64_t r = t->table.readAt(batch.data(), bytes, t->recordPos(base)); r != static_cast<int64_t>(bytes)) {
            return fail(ioCode(r, err::RecordRead));
        }
        for (int64_t j = 0; j < n; ++j) {
            uint8_t* image = batch.data() + j * t->recordLength;
            test.set(image, base + j);
            const bool hit = evaluate(condition);
            test.clear();
            if (!impl_->isStillOpen(t)) return fail(err::TableFileNotOpen);
            const int32_t s = getI32(image);
            if (hit && s > 0) {
                if (t->readOnly) return fail(err::AccessDenied);  // a condition that marks nothing writes nothing
                uint8_t b[4];
                putI32(b, -s);
                if (int64_t w = t->table.writeAt(b, 4, t->recordPos(base + j)); w != 4) {
                    return fail(ioCode(w, err::RecordWrite));
                }
                putI32(image, -s);
            }
        }
    }
    return true;
}

bool RecordStore::deleteRecord(const Condition& condition) { return deleteWhere(condition); }
bool RecordStore::deleteRecord(const ValueCondition& condition) { return deleteWhere(condition); }

template <class Cond>
bool RecordStore::findWhere(const Cond& condition) {
    setLastError(0);
    const std::shared_ptr<OpenTable> keep = impl_->currentShared();
    OpenTable* t = keep.get();
    if (!t) return fail(err::NoCurrentTable);
    if (int r = t->tableLocks.lock(kCountOffset, impl_->lockWait); r != 0) return fail(r);
    ByteLockGuard headerLock(t->tableLocks, kCountOffset);
    int32_t count = 0, serial = 0;
    if (int r = Impl::readCountHeld(*t, count, serial); r != 0) return fail(r);
    const int64_t start = t->cursor < 0 ? 0 : t->cursor;
    if (count < 1 || start >= count) return false;
    std::vector<uint8_t> image(static_cast<size_t>(t->recordLength));
    UnderTestGuard test(*t);
    for (int64_t i = start; i < count; ++i) {
        const int64_t pos = t->recordPos(i);
        if (int r = t->tableLocks.lock(pos, impl_->lockWait); r != 0) return fail(r);
        ByteLockGuard recordLock(t->tableLocks, pos);
        if (int64_t r = t->table.readAt(image.data(), image.size(), pos); r != static_cast<int64_t>(image.size())) {
            return fail(ioCode(r, err::RecordRead));
        }
        test.set(image.data(), i);
        const bool hit = evaluate(condition);
        test.clear();
        if (!impl_->isStillOpen(t)) return fail(err::TableFileNotOpen);
        if (hit) {
            test.keepCursor();
            t->cursor = i;
            return true;
        }
    }
    return false;
}

bool RecordStore::findRecord(const Condition& condition) { return findWhere(condition); }
bool RecordStore::findRecord(const ValueCondition& condition) { return findWhere(condition); }

bool RecordStore::purgeDeleted() {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) return fail(err::NoCurrentTable);
    if (int r = t->tableLocks.lockWhole(impl_->lockWait); r != 0) return fail(r);
    WholeLockGuard whole(t->tableLocks);
    int32_t count = 0, serial = 0;
    if (int r = Impl::readCountHeld(*t, count, serial); r != 0) return fail(r);
    count = std::max(count, 0);
    const int64_t originalLength = t->table.size();
    if (originalLength < 0) return fail(ioCode(originalLength, err::RecordRead));

    const int32_t rl = t->recordLength;
    const int64_t per = std::min<int64_t>(batchRecords(rl), std::max(count, 1));
    std::vector<uint8_t> raw(count > 0 ? static_cast<size_t>(per * rl) : 0);
    std::vector<uint8_t> plain(raw.size());
    std::vector<int32_t> chains;  // memo chains of the dropped records, freed once the table is done
    PurgeJournal journal;
    File& file = t->table.raw();
    int64_t writePos = -1;  // -1 until the first batch with a deleted record
    int error = 0;

    for (int64_t base = 0; base < count && error == 0; base += per) {
        const int64_t n = std::min<int64_t>(per, count - base);
        const size_t bytes = static_cast<size_t>(n * rl);
        const int64_t pos = t->recordPos(base);
        if (int64_t r = file.readAt(raw.data(), bytes, pos); r != static_cast<int64_t>(bytes)) {
            error = ioCode(r, err::RecordRead);
            break;
        }
        std::memcpy(plain.data(), raw.data(), bytes);
        if (t->table.key()) applyCipher(*t->table.key(), plain.data(), bytes, pos);
        if (writePos < 0) {
            bool any = false;
            for (int64_t j = 0; j < n && !any; ++j) any = getI32(plain.data() + j * rl) < 0;
            if (!any) continue;
            // A read-only table purges only when there is nothing to purge.
            if (t->readOnly) {
                error = err::AccessDenied;
                break;
            }
            if (int r = journal.begin(*impl_->fs, t->fullPath, file, pos, originalLength); r != 0) {
                error = r;
                break;
            }
            writePos = pos;
        }
        // Every byte about to be overwritten is in the journal before it is overwritten.
        if (int r = journal.append(raw.data(), bytes); r != 0) {
            error = r;
            break;
        }
        size_t kept = 0;
        for (int64_t j = 0; j < n; ++j) {
            const uint8_t* rec = plain.data() + j * rl;
            if (getI32(rec) < 0) {
                for (const FieldDesc& f : t->fields) {
                    if (isMemoType(f.type) && getI32(rec + f.offset) != 0) chains.push_back(getI32(rec + f.offset));
                }
                continue;
            }
            if (plain.data() + kept * static_cast<size_t>(rl) != rec)
                std::memmove(plain.data() + kept * rl, rec, static_cast<size_t>(rl));
            ++kept;
        }
        const size_t keptBytes = kept * static_cast<size_t>(rl);
        if (keptBytes > 0) {
            if (int64_t w = t->table.writeAt(plain.data(), keptBytes, writePos); w != static_cast<int64_t>(keptBytes)) {
                error = ioCode(w, err::RecordWrite);
                break;
            }
        }
        writePos += static_cast<int64_t>(keptBytes);
    }

    if (error == 0 && writePos >= 0) {
        uint8_t b[4];
        putI32(b, static_cast<int32_t>((writePos - t->firstRecord) / rl));
        if (int64_t w = t->table.writeAt(b, 4, kCountOffset); w != 4) {
            error = ioCode(w, err::RecordWrite);
        } else if (int r = t->table.truncate(writePos); r != 0) {
            error = ioCode(r, err::RecordWrite);
        }
    }
    // A journal that cannot be removed would undo the purge at the next open, so it counts as a failure.
    if (error == 0 && journal.finish() != 0) error = err::RecordWrite;
    if (error != 0) {
        // Nothing is lost: the journal puts every overwritten byte back (or, if even that fails, the next
        // open does).
        journal.rollBack(file);
        return fail(error);
    }
    t->cursor = 0;

    // The records are gone now. Freeing their memo blocks only makes room: a block that cannot be freed
    // stays unused (the table check lists it) and does not make the purge a failure.
    MemoChain chain(t->memo, t->memoLocks, impl_->lockWait);
    for (int32_t first : chains) {
        int32_t none = 0;
        chain.write(first, {}, none);
    }
    return true;
}

}  // namespace xp
