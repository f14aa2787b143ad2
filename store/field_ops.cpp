// Field reads and writes on the current record, and appending records.
#include <cstring>
#include <optional>
#include <vector>

#include "store/field_codec.h"
#include "store/memo_chain.h"
#include "store/store_impl.h"

namespace xp {

using namespace format;

namespace {

// A Memo field holds a text, which ends at its first NUL.
std::string_view memoText(const FieldDesc& f, const FieldValue& v) {
    if (f.type == static_cast<int32_t>(FieldType::Bytes)) return v.asBytes();
    const std::string& s = v.asText();
    return std::string_view(s.data(), std::min(s.size(), std::strlen(s.c_str())));
}

FieldValue memoValue(const FieldDesc& f, std::string&& bytes) {
    if (f.type == static_cast<int32_t>(FieldType::Bytes)) return FieldValue::bytes(std::move(bytes));
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    return FieldValue::text(std::move(bytes));
}

// Bytes of one field, on the stack unless the field is unusually large.
class FieldBuffer {
public:
    explicit FieldBuffer(size_t n) {
        if (n > sizeof small_) big_.resize(n);
    }
    uint8_t* data() { return big_.empty() ? small_ : big_.data(); }

private:
    uint8_t small_[1024];
    std::vector<uint8_t> big_;
};

}  // namespace

FieldValue RecordStore::readField(const FieldRef& field, const std::string& table) {
    setLastError(0);
    OpenTable* t = impl_->tableFor(table);
    if (!t) raiseFatal(fatal::NoTable);
    const FieldDesc* f = Impl::findField(*t, field);
    if (!f) raiseFatal(fatal::NoField);
    const FieldType type = static_cast<FieldType>(f->type);
    auto failed = [&](int code) {
        setLastError(code);
        return FieldValue::empty(type);
    };

    FieldBuffer buf(static_cast<size_t>(f->size));
    const uint8_t* bytes;
    if (t->underTest) {
        bytes = t->underTest + f->offset;
    } else {
        if (t->cursor < 0) return failed(err::NoRecord);
        const int64_t pos = t->recordPos(t->cursor);
        if (int r = t->tableLocks.lock(pos, impl_->lockWait); r != 0) return failed(r);
        const int64_t r = t->table.readAt(buf.data(), static_cast<size_t>(f->size), pos + f->offset);
        t->tableLocks.unlock(pos);
        if (r == 0) return failed(err::SeekFailed);
        if (r != f->size) return failed(ioCode(r, err::FieldRead));
        bytes = buf.data();
    }
    if (!isMemoType(f->type)) return decodeField(*f, bytes);

    const int32_t first = getI32(bytes);
    std::string value;
    MemoChain chain(t->memo, t->memoLocks, impl_->lockWait);
    if (int r = chain.read(first, value); r != 0) return failed(r);
    return memoValue(*f, std::move(value));
}

bool RecordStore::writeField(const FieldRef& field) { return writeField(field, std::string(), std::nullopt); }

bool RecordStore::writeField(const FieldRef& field, const FieldValue& value) {
    return writeField(field, std::string(), std::optional<FieldValue>(value));
}

bool RecordStore::writeField(const FieldRef& field, const std::string& table, const std::optional<FieldValue>& value) {
    setLastError(0);
    OpenTable* t = impl_->tableFor(table);
    if (!t) return fail(err::TableNotOpen);
    const FieldDesc* f = Impl::findField(*t, field);
    if (!f) return fail(err::NoField);
    const FieldValue emptyValue = value ? FieldValue() : FieldValue::empty(static_cast<FieldType>(f->type));
    const FieldValue& prepared = value ? *value : emptyValue;
    if (!valueFits(*f, prepared)) return fail(err::TypeMismatch);
    if (t->cursor < 0) return fail(err::NoRecord);
    const int64_t pos = t->recordPos(t->cursor);
    if (int r = t->tableLocks.lock(pos, impl_->lockWait); r != 0) return fail(r);
    ByteLockGuard hold(t->tableLocks, pos);
    // A write past the last record would grow the file: refuse it. The missing record is the answer
    // also on a read-only table, whose mode only matters once there is a record to write.
    const int64_t size = t->table.size();
    if (size < 0) return fail(ioCode(size, err::FieldWrite));
    if (size < pos + t->recordLength) return fail(err::NoRecord);
    if (t->readOnly) return fail(err::AccessDenied);

    FieldBuffer buf(static_cast<size_t>(f->size));
    if (isMemoType(f->type)) {
        uint8_t old[4];
        const int64_t r = t->table.readAt(old, 4, pos + f->offset);
        if (r != 4) return fail(ioCode(r, err::FieldRead));
        int32_t first = 0;
        MemoChain chain(t->memo, t->memoLocks, impl_->lockWait);
        if (int m = chain.write(getI32(old), memoText(*f, prepared), first); m != 0) return fail(m);
        putI32(buf.data(), first);
    } else {
        encodeField(*f, prepared, buf.data());
    }
    const int64_t w = t->table.writeAt(buf.data(), static_cast<size_t>(f->size), pos + f->offset);
    if (w != f->size) return fail(ioCode(w, err::FieldWrite));
    return true;
}

bool RecordStore::appendRecord(const std::vector<FieldValue>& values) {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) return fail(err::NoCurrentTable);
    const size_t m = std::min(values.size(), t->fields.size());
    for (size_t k = 0; k < m; ++k) {
        if (!valueFits(t->fields[k], values[k])) return fail(err::TypeMismatch);
    }
    const std::vector<FieldValue>& prepared = values;
    if (t->readOnly) return fail(err::AccessDenied);

    if (int r = t->tableLocks.lock(kCountOffset, impl_->lockWait); r != 0) return fail(r);
    ByteLockGuard headerLock(t->tableLocks, kCountOffset);
    int32_t count = 0, serial = 0;
    if (int r = Impl::readCountHeld(*t, count, serial); r != 0) return fail(r);
    count = std::max(count, 0);
    serial = std::max(serial, 1);
    // Limits of the format: the next serial must stay representable, and the file must end inside the
    // lockable range. Reaching either is refused before anything is written, so the table stays usable.
    if (serial == INT32_MAX || t->recordPos(count) + t->recordLength > kMaxFileLength) {
        return fail(err::RecordWrite);
    }
    const int64_t pos = t->recordPos(count);
    if (int r = t->tableLocks.lock(pos, impl_->lockWait); r != 0) return fail(r);
    ByteLockGuard recordLock(t->tableLocks, pos);

    thread_local std::vector<uint8_t> record;
    record.assign(static_cast<size_t>(t->recordLength), 0);
    putI32(record.data(), serial);
    std::vector<int32_t> chains;  // given back if the record cannot be written
    MemoChain chain(t->memo, t->memoLocks, impl_->lockWait);
    // A row with several memo values takes the memo header lock once for all of them. Each value's
    // write still holds it from reading to rewriting the memo header, as the lock rules ask; in between
    // it simply stays held, and since the locks of one open table nest, each value's own lock and
    // unlock of that byte cost no system call. Another process's memo write waits (or fails with its
    // lock wait) until the row is done, exactly as it would during one value's write.
    int memoValues = 0;
    for (size_t k = 0; k < m; ++k) {
        if (isMemoType(t->fields[k].type) && !memoText(t->fields[k], prepared[k]).empty()) ++memoValues;
    }
    std::optional<ByteLockGuard> memoHeaderLock;
    if (memoValues > 1) {
        if (int r = t->memoLocks.lock(0, impl_->lockWait); r != 0) return fail(r);
        memoHeaderLock.emplace(t->memoLocks, 0);
    }
    auto giveBack = [&]() {
        for (int32_t first : chains) {
            int32_t none = 0;
            chain.write(first, {}, none);
        }
    };
    for (size_t k = 0; k < m; ++k) {
        const FieldDesc& f = t->fields[k];
        uint8_t* out = record.data() + f.offset;
        if (isMemoType(f.type)) {
            int32_t first = 0;
            if (int r = chain.write(0, memoText(f, prepared[k]), first); r != 0) {
                giveBack();
                return fail(r);
            }
            if (first != 0) chains.push_back(first);
            putI32(out, first);
        } else {
            encodeField(f, prepared[k], out);
        }
    }
    memoHeaderLock.reset();  // the memo values are written: released where the last value's write released it
    const int64_t w = t->table.writeAt(record.data(), record.size(), pos);
    if (w != static_cast<int64_t>(record.size())) {
        // Nothing counts the partial record; the next open cuts it off.
        giveBack();
        return fail(ioCode(w, err::RecordWrite));
    }
    uint8_t counts[8];
    putI32(counts, count + 1);
    putI32(counts + 4, serial + 1);
    if (int64_t c = t->table.writeAt(counts, sizeof counts, kCountOffset); c != 8) {
        giveBack();
        return fail(ioCode(c, err::RecordWrite));
    }
    t->cursor = count;
    return true;
}

int32_t RecordStore::nextSerial() {
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
    return serial;
}

int32_t RecordStore::recordSerial() {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) {
        setLastError(err::NoCurrentTable);
        return 0;
    }
    if (t->underTest) return getI32(t->underTest);
    if (t->cursor < 0) {
        setLastError(err::NoRecord);
        return 0;
    }
    const int64_t pos = t->recordPos(t->cursor);
    if (int r = t->tableLocks.lock(pos, impl_->lockWait); r != 0) {
        setLastError(r);
        return 0;
    }
    uint8_t b[4];
    const int64_t r = t->table.readAt(b, 4, pos);
    t->tableLocks.unlock(pos);
    if (r != 4) {
        setLastError(r == 0 ? err::SeekFailed : ioCode(r, err::RecordRead));
        return 0;
    }
    return getI32(b);
}

}  // namespace xp
