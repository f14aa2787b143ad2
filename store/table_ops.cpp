// Table-level operations: create, open (with its checks and repairs), select, close, and the name
// look-up of the table list.
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "store/field_codec.h"
#include "store/file_cipher.h"
#include "store/path_case.h"
#include "store/store_impl.h"
#include "store/table_recovery.h"
#include "store/text_rules.h"

namespace xp {

using namespace format;

int ioCode(int64_t result, int fallback) {
    if (result >= 0) return fallback;
    const int code = errorFromErrno(static_cast<int>(-result));
    return code == err::Unknown ? fallback : code;
}

namespace {

std::string fullPathOf(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec) return path;
    return p.lexically_normal().string();
}

bool isTextOrMemoFree(const std::vector<FieldDesc>& fields) {
    for (const FieldDesc& f : fields) {
        if (isMemoType(f.type)) return false;
    }
    return true;
}

}  // namespace

RecordStore::RecordStore(std::shared_ptr<FileSystem> files) : impl_(std::make_unique<Impl>()) {
    impl_->fs = files ? std::move(files) : FileSystem::posix();
}

// Closing at the end leaves the thread's last error as the last operation set it.
RecordStore::~RecordStore() { impl_->tables.clear(); }

int FieldRef::toNumber(double v) {
    if (!std::isfinite(v) || v >= 2147483648.0 || v <= -2147483649.0) return 0;
    return static_cast<int>(v);
}

FieldRef FieldRef::fromValue(const FieldValue& value) {
    if (value.kind() == FieldValue::Kind::Text) return FieldRef(value.asText());
    if (value.isNumeric()) return FieldRef(value.asDouble());
    return neither();
}

int RecordStore::Impl::lookup(const std::string& name) const {
    if (name.empty()) return -1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int k = static_cast<int>(tables.size()) - 1; k >= 0; --k) {
            const OpenTable& t = *tables[static_cast<size_t>(k)];
            const std::string& candidate = pass == 0 ? t.alias : pass == 1 ? t.name : t.fullPath;
            if (!candidate.empty() && equalsIgnoreCase(candidate, name)) return k;
        }
    }
    return -1;
}

void RecordStore::Impl::closeAt(int index) {
    tables.erase(tables.begin() + index);  // closing the files drops their locks
    if (current == index) {
        current = -1;
    } else if (current > index) {
        --current;
    }
}

const FieldDesc* RecordStore::Impl::findField(const OpenTable& t, const FieldRef& ref) {
    if (ref.isName()) {
        for (const FieldDesc& f : t.fields) {
            if (equalsIgnoreCase(f.name, ref.name())) return &f;
        }
        return nullptr;
    }
    if (ref.isNumber()) {
        const int n = ref.number();
        if (n >= 1 && n <= static_cast<int>(t.fields.size())) return &t.fields[static_cast<size_t>(n - 1)];
        return nullptr;
    }
    raiseFatal(fatal::BadArgument);
}

int RecordStore::Impl::readCountHeld(OpenTable& t, int32_t& count, int32_t& serial) {
    uint8_t b[8];
    const int64_t r = t.table.readAt(b, sizeof b, kCountOffset);
    if (r != 8) return ioCode(r, err::CountRead);
    count = getI32(b);
    serial = getI32(b + 4);
    return 0;
}

int RecordStore::Impl::readCount(OpenTable& t, int32_t& count, int32_t& serial, int waitMs) {
    if (int r = t.tableLocks.lock(kCountOffset, waitMs); r != 0) return r;
    ByteLockGuard hold(t.tableLocks, kCountOffset);
    return readCountHeld(t, count, serial);
}

bool RecordStore::createTable(const std::string& fileName, const std::vector<FieldDef>& defs) {
    setLastError(0);
    if (fileName.empty()) return fail(err::NotFound);
    std::vector<FieldDesc> fields;
    int32_t offset = 4;
    for (const FieldDef& d : defs) {
        if (d.name.empty()) break;
        if (d.name.size() > static_cast<size_t>(kMaxFieldName) || !followsNameRule(d.name)) {
            return fail(err::BadFieldName);
        }
        if (!isValidFieldType(d.type)) return fail(err::BadFieldType);
        if (d.type == 10 && (d.length < 1 || d.length > kMaxTextLength)) return fail(err::BadFieldSize);
        for (const FieldDesc& f : fields) {
            if (equalsIgnoreCase(f.name, d.name)) return fail(err::DuplicateField);
        }
        FieldDesc f;
        f.name = d.name;
        f.type = d.type;
        f.length = d.type == 10 ? d.length : 0;
        f.size = fieldSize(f.type, f.length);
        f.offset = offset;
        offset += f.size;
        fields.push_back(std::move(f));
    }
    if (fields.empty()) return fail(err::NoFieldCount);

    const std::string path = resolvePathCase(withDefaultExtension(fileName));
    const double now = currentDateTime();
    std::vector<uint8_t> image(
        static_cast<size_t>(kDescriptorsOffset + kDescriptorSize * static_cast<int64_t>(fields.size())), 0);
    std::memcpy(image.data(), "WEDB", 4);
    putI32(&image[4], kVersion);
    putF64(&image[8], now);
    putI32(&image[16], 0);
    putI32(&image[20], 1);
    putI32(&image[24], offset);
    putI32(&image[static_cast<size_t>(kFieldCountOffset)], static_cast<int32_t>(fields.size()));
    for (size_t k = 0; k < fields.size(); ++k) {
        encodeDescriptor(fields[k],
                         &image[static_cast<size_t>(kDescriptorsOffset) + k * static_cast<size_t>(kDescriptorSize)]);
    }
    // The file is opened without truncation and taken exclusively (both sharing markers, then the
    // whole-table lock) before anything is replaced, so a table open in this process or another one keeps
    // its bytes and the call fails with the sharing conflict.
    FileSystem& fs = *impl_->fs;
    const std::string memoPath = resolvePathCase(memoPathFor(path));
    int e = 0;
    auto file = fs.open(path, OpenMode::OpenOrCreate, e);
    if (!file) return fail(errorFromErrno(e));
    if (int r = takeShareMarkers(*file, false, 4, impl_->lockWait); r != 0) return fail(r);
    ByteLocks locks;
    locks.attach(file.get(), true, true);
    if (int r = locks.lockWhole(impl_->lockWait); r != 0) return fail(r);
    WholeLockGuard whole(locks);

    // Nothing of an earlier table of this name may come back: its purge journal or password copies would
    // be "recovered" into the new table by the next open, and its memo file would outlive it.
    if (int r = removeLeftovers(fs, path, memoPath); r != 0) return fail(r);
    const bool needsMemo = !isTextOrMemoFree(fields);
    if (!needsMemo && fs.exists(memoPath)) {
        if (int r = fs.remove(memoPath); r != 0 && r != -ENOENT) return fail(ioCode(r, err::CreateFailed));
    }
    if (file->truncate(0) != 0 || file->writeAt(image.data(), image.size(), 0) != static_cast<int64_t>(image.size())) {
        return fail(err::CreateFailed);
    }

    if (needsMemo) {
        uint8_t block[kMemoBlockSize] = {};
        std::memcpy(block, "WEDT", 4);
        putI32(block + 4, kVersion);
        putF64(block + 8, now);
        putI32(block + 16, 1);
        auto memo = fs.open(memoPath, OpenMode::OpenOrCreate, e);
        if (!memo || memo->truncate(0) != 0 || memo->writeAt(block, sizeof block, 0) != kMemoBlockSize) {
            return fail(err::MemoCreateFailed);
        }
    }
    return true;
}

bool RecordStore::openTable(const std::string& fileName, const std::string& password) {
    OpenOptions options;
    options.password = password;
    return openTable(fileName, options);
}

bool RecordStore::openTable(const std::string& fileName, const OpenOptions& options) {
    setLastError(0);
    if (fileName.empty()) return fail(err::NotFound);
    const std::string full = fullPathOf(resolvePathCase(withDefaultExtension(fileName)));
    for (const auto& t : impl_->tables) {
        if (equalsIgnoreCase(t->fullPath, full)) return fail(err::AlreadyOpen);
    }
    if (!options.alias.empty() && !followsNameRule(options.alias)) return fail(err::BadAlias);

    std::unique_ptr<OpenTable> table;
    int r;
    if (options.password && *options.password == "?") {
        r = err::BadPassword;
        for (int attempt = 1; attempt <= 3; ++attempt) {
            std::optional<std::string> typed = impl_->prompt ? impl_->prompt(attempt) : std::nullopt;
            if (!typed) break;
            r = impl_->openOnce(full, options, *typed, table);
            if (r != err::BadPassword) break;
        }
    } else {
        r = impl_->openOnce(full, options, options.password.value_or(""), table);
    }
    if (r != 0) return fail(r);
    impl_->tables.push_back(std::move(table));
    impl_->current = static_cast<int>(impl_->tables.size()) - 1;
    return true;
}

int RecordStore::Impl::openOnce(const std::string& fullPath, const OpenOptions& options, const std::string& password,
                                std::unique_ptr<OpenTable>& out) {
    auto t = std::make_unique<OpenTable>();
    t->fullPath = fullPath;
    t->name = tableNameOf(fullPath);
    t->alias = options.alias;
    t->readOnly = options.readOnly;
    t->shareMode = options.shareMode >= 1 && options.shareMode <= 4 ? options.shareMode : 1;
    t->exclusive = t->shareMode == 4;
    t->password = password;
    const auto key = cipherKey(password);
    const OpenMode mode = t->readOnly ? OpenMode::Read : OpenMode::ReadWrite;

    int e = 0;
    auto file = fs->open(fullPath, mode, e);
    if (!file) return errorFromErrno(e);
    t->markers = fs->open(fullPath, OpenMode::ReadWrite, e);
    if (!t->markers) t->markers = fs->open(fullPath, OpenMode::Read, e);
    if (!t->markers) return errorFromErrno(e);
    if (int r = takeShareMarkers(*t->markers, t->readOnly, t->shareMode, lockWait); r != 0) return r;

    t->table = CipheredFile(std::move(file), nullptr);
    t->tableLocks.attach(&t->table.raw(), !t->exclusive, !t->readOnly);
    if (int r = t->tableLocks.lockWhole(lockWait); r != 0) return r;
    WholeLockGuard whole(t->tableLocks);

    t->memoPath = resolvePathCase(memoPathFor(fullPath));
    if (t->readOnly) {
        // Until an interrupted purge or password change is put right the bytes are not the table's, and a
        // read-only open may not write to finish it.
        if (recoveryPending(*fs, fullPath, t->memoPath)) return err::OpenFailed;
    } else if (int r = recoverInterrupted(*fs, fullPath, t->memoPath); r != 0) {
        return err::OpenFailed;
    }

    // Header: the magic is plain; the rest is read through the key the magic calls for.
    uint8_t* h = t->header;
    const int64_t hr = t->table.raw().readAt(h, kHeaderSize, 0);
    if (hr < 0) return err::OpenFailed;
    if (hr != kHeaderSize) return err::NotATable;
    if (std::memcmp(h, "WEDB", 4) == 0) {
        if (!password.empty()) return err::BadPassword;
    } else if (std::memcmp(h, "WCDB", 4) == 0) {
        if (password.empty()) return err::BadPassword;
        applyCipher(*key, h, kHeaderSize, 0);
        const std::string check = passwordCheck(password);
        if (!equalsIgnoreCase(std::string_view(reinterpret_cast<const char*>(h + kPasswordOffset), 32), check)) {
            return err::BadPassword;
        }
        t->table.setKey(key);
    } else {
        return err::NotATable;
    }
    const int32_t version = getI32(h + 4);
    const int32_t count = getI32(h + 16);
    const int32_t serial = getI32(h + 20);
    t->recordLength = getI32(h + 24);
    if (t->recordLength <= 0 || count < 0 || serial < 1) return err::NotATable;
    if (version > kVersion) return err::VersionTooHigh;

    const int64_t length = t->table.size();
    if (length < 0) return err::OpenFailed;
    uint8_t nb[4];
    if (t->table.readAt(nb, 4, kFieldCountOffset) != 4) return err::NotATable;
    const int32_t n = getI32(nb);
    if (n <= 0 || kDescriptorsOffset + kDescriptorSize * static_cast<int64_t>(n) > length) return err::NotATable;
    std::vector<uint8_t> desc(static_cast<size_t>(kDescriptorSize) * static_cast<size_t>(n));
    if (t->table.readAt(desc.data(), desc.size(), kDescriptorsOffset) != static_cast<int64_t>(desc.size())) {
        return err::NotATable;
    }
    t->firstRecord = kDescriptorsOffset + kDescriptorSize * static_cast<int64_t>(n);
    // The header and the descriptors must agree with each other before anything is repaired, so a file
    // that is not a table, or whose layout is damaged, is never written to: the record length is the
    // serial plus the packed fields, and the counted records fit below the end of the lockable range.
    t->fields.resize(static_cast<size_t>(n));
    for (int32_t k = 0; k < n; ++k) {
        FieldDesc& f = t->fields[static_cast<size_t>(k)];
        if (!decodeDescriptor(&desc[static_cast<size_t>(k) * static_cast<size_t>(kDescriptorSize)], f)) {
            return err::NotATable;
        }
        t->hasMemo = t->hasMemo || isMemoType(f.type);
    }
    if (!layoutMatches(t->fields, t->recordLength)) return err::NotATable;
    if (t->recordPos(std::max(count, 1)) > kMaxFileLength) return err::NotATable;

    // Refusals come before any repair.
    if (options.indexFiles.size() > 10) return err::TooManyIndexes;
    // Index files are not supported: naming one fails the open rather than ignoring it silently.
    if (!options.indexFiles.empty()) return -30;

    // Repair: the count never exceeds the whole records present, and nothing follows the last record.
    // What the cut removes is first kept in a copy beside the table.
    const int64_t present = (length - t->firstRecord) / t->recordLength;
    int32_t kept = count;
    if (present < count) {
        if (t->readOnly) return err::SizeError;
        kept = static_cast<int32_t>(present);
    }
    if (t->hasMemo) {
        auto memo = fs->open(t->memoPath, mode, e);
        if (!memo) return err::MemoReadFailed;
        t->memo = CipheredFile(std::move(memo), t->table.key());
        t->memoLocks.attach(&t->memo.raw(), true, !t->readOnly);
        if (int r = t->memoLocks.lockWhole(lockWait); r != 0) return r;
        WholeLockGuard memoWhole(t->memoLocks);
        uint8_t mh[kMemoHeaderSize];
        if (t->memo.readAt(mh, sizeof mh, 0) != kMemoHeaderSize || std::memcmp(mh, "WEDT", 4) != 0) {
            return err::MemoReadFailed;
        }
        const int32_t blocks = getI32(mh + 16);
        const int32_t freeCount = getI32(mh + 20);
        const int32_t freeHead = getI32(mh + 24);
        if (blocks <= 0 || blocks > kMaxMemoBlocks || freeCount < 0 || freeCount >= blocks || freeHead < 0 ||
            freeHead >= blocks) {
            return err::MemoReadFailed;
        }
        if (getI32(mh + 4) != version) return err::MemoVersion;
        const int64_t memoLength = t->memo.size();
        if (memoLength < 0) return err::MemoReadFailed;
        if (memoLength / kMemoBlockSize < blocks) {
            if (t->readOnly) return err::MemoDamaged;
            uint8_t bb[4];
            putI32(bb, static_cast<int32_t>(memoLength / kMemoBlockSize));
            if (t->memo.writeAt(bb, 4, 16) != 4) return err::MemoReadFailed;
        }
    }

    // Only now that the memo file passed too is anything of the table file rewritten.
    const int64_t keptLength = t->recordPos(kept);
    if (!t->readOnly && length > keptLength) {
        if (saveBeforeCut(*fs, t->table.raw(), fullPath) != 0) return err::OpenFailed;
    }
    if (kept != count) {
        uint8_t cb[4];
        putI32(cb, kept);
        if (t->table.writeAt(cb, 4, kCountOffset) != 4) return err::OpenFailed;
        putI32(h + 16, kept);
    }
    if (!t->readOnly && length != keptLength) {
        if (t->table.truncate(keptLength) != 0) return err::OpenFailed;
    }


    t->cursor = 0;
    out = std::move(t);
    return 0;
}

bool RecordStore::selectTable(const std::string& aliasOrName) {
    setLastError(0);
    const int k = impl_->lookup(aliasOrName);
    if (k < 0) return fail(err::TableNotOpen);
    impl_->current = k;
    return true;
}

void RecordStore::closeTable(const std::string& aliasOrName) {
    setLastError(0);
    if (aliasOrName.empty()) {
        if (impl_->current >= 0) impl_->closeAt(impl_->current);
        return;
    }
    const int k = impl_->lookup(aliasOrName);
    if (k >= 0) impl_->closeAt(k);
}

void RecordStore::closeAllTables() {
    setLastError(0);
    impl_->tables.clear();
    impl_->current = -1;
}

void RecordStore::setLockWaitTime(int ms) { impl_->lockWait = ms < 0 ? -1 : ms; }
int RecordStore::lockWaitTime() const { return impl_->lockWait; }
void RecordStore::setPasswordPrompt(PasswordPrompt prompt) { impl_->prompt = std::move(prompt); }

bool RecordStore::hasCurrentTable() const { return impl_->currentTable() != nullptr; }
int RecordStore::tableCount() const { return static_cast<int>(impl_->tables.size()); }

std::vector<FieldDef> RecordStore::tableFields() const {
    std::vector<FieldDef> out;
    if (const OpenTable* t = impl_->currentTable()) {
        for (const FieldDesc& f : t->fields) out.push_back({f.name, f.type, f.length});
    }
    return out;
}

std::string RecordStore::tablePath() const {
    const OpenTable* t = impl_->currentTable();
    return t ? t->fullPath : std::string();
}

std::string RecordStore::tableName() const {
    const OpenTable* t = impl_->currentTable();
    return t ? t->name : std::string();
}

}  // namespace xp
