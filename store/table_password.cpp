// setTablePassword: re-enciphers the table file and the memo file in place under the new key.
//
// The in-place rewrite cannot be made atomic, so before it starts a complete byte copy of each file (still
// under the old key, so no secret is written anywhere new) is synced and renamed to a fixed backup name
// beside it: the memo file's copy first, the table file's copy last. The copies are removed, table copy
// first, only after both rewritten files and the new header are synced. An open that finds the table's
// copy puts both copies back (see table_recovery.h), so an interrupted change leaves a table that opens
// under the old password with its data intact, and a completed one opens under the new password. A change
// that fails with a file error puts the copies back at once and reports -79.
#include <cstring>
#include <vector>

#include "store/file_cipher.h"
#include "store/store_impl.h"
#include "store/table_recovery.h"

namespace xp {

using namespace format;

namespace {

constexpr size_t kChunk = 10240;

// Rewrites bytes 4 .. end of `file` from the old key to the new one, chunk by chunk.
int rekey(File& file, const CipherKey* oldKey, const CipherKey* newKey) {
    const int64_t size = file.size();
    if (size < 0) return err::PasswordUpdate;
    std::vector<uint8_t> buf(kChunk);
    for (int64_t pos = 4; pos < size; pos += static_cast<int64_t>(kChunk)) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(kChunk), size - pos));
        if (file.readAt(buf.data(), n, pos) != static_cast<int64_t>(n)) return err::PasswordUpdate;
        if (oldKey) applyCipher(*oldKey, buf.data(), n, pos);
        if (newKey) applyCipher(*newKey, buf.data(), n, pos);
        if (file.writeAt(buf.data(), n, pos) != static_cast<int64_t>(n)) return err::PasswordUpdate;
    }
    return 0;
}

}  // namespace

bool RecordStore::setTablePassword(const std::string& password) {
    setLastError(0);
    OpenTable* t = impl_->currentTable();
    if (!t) return fail(err::NoCurrentTable);
    if (password == "?") return fail(err::BadPasswordText);
    if (t->readOnly) return fail(err::PasswordUpdate);  // the files cannot be rewritten
    if (int r = t->tableLocks.lockWhole(impl_->lockWait); r != 0) return fail(r);
    WholeLockGuard whole(t->tableLocks);
    FileSystem& fs = *impl_->fs;

    const auto oldKey = t->table.key();
    const auto newKey = cipherKey(password);
    const bool rewrite = password != t->password;
    const std::string tableBackup = passwordBackupPath(t->fullPath);
    const std::string memoBackup = passwordBackupPath(t->memoPath);
    bool backedUp = false;

    // Puts the old files back after a failure; the copies stay for the next open if even that fails.
    auto undo = [&]() {
        if (backedUp) {
            if (t->memo.isOpen()) restoreBackup(fs, t->memo.raw(), memoBackup);
            restoreBackup(fs, t->table.raw(), tableBackup);
        }
        return fail(err::PasswordUpdate);
    };

    if (rewrite) {
        if (t->memo.isOpen() && writeBackup(fs, t->memo.raw(), memoBackup) != 0) return fail(err::PasswordUpdate);
        if (writeBackup(fs, t->table.raw(), tableBackup) != 0) {
            if (t->memo.isOpen()) fs.remove(memoBackup);
            return fail(err::PasswordUpdate);
        }
        backedUp = true;
        if (rekey(t->table.raw(), oldKey.get(), newKey.get()) != 0) return undo();
        if (t->memo.isOpen() && rekey(t->memo.raw(), oldKey.get(), newKey.get()) != 0) return undo();
    }

    // The header: plain magic, and the password block through the new key.
    uint8_t block[kPasswordBlockSize] = {};
    if (!password.empty()) std::memcpy(block, passwordCheck(password).data(), 32);
    const char* magic = password.empty() ? "WEDB" : "WCDB";
    t->table.setKey(newKey);
    if (t->memo.isOpen()) t->memo.setKey(newKey);
    auto restoreKeys = [&]() {
        t->table.setKey(oldKey);
        if (t->memo.isOpen()) t->memo.setKey(oldKey);
    };
    if (t->table.writeAt(block, sizeof block, kPasswordOffset) != kPasswordBlockSize ||
        t->table.raw().writeAt(magic, 4, 0) != 4) {
        restoreKeys();
        return undo();
    }
    if (rewrite) {
        if (t->table.sync() != 0 || (t->memo.isOpen() && t->memo.sync() != 0)) {
            restoreKeys();
            return undo();
        }
        // Until the table's copy is gone the next open would undo the change, so a copy that cannot be
        // removed means the change did not happen.
        if (fs.remove(tableBackup) != 0) {
            restoreKeys();
            return undo();
        }
        if (t->memo.isOpen()) fs.remove(memoBackup);  // a stale memo copy alone is ignored and removed on open
    }
    std::memcpy(t->header, magic, 4);
    std::memcpy(t->header + kPasswordOffset, block, sizeof block);
    t->password = password;
    return true;
}

}  // namespace xp
