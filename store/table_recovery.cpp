// Backups for password changes, the purge journal, and recovery on open.
#include "store/table_recovery.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "store/store_errors.h"
#include "store/table_format.h"

namespace xp {
namespace {

constexpr char kJournalMagic[8] = {'X', 'P', 'P', 'U', 'R', 'G', 'E', '1'};
constexpr int64_t kJournalHeader = 32;  // magic, start, original length, raw count and serial
constexpr size_t kCopyChunk = 1 << 16;

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int codeOf(int64_t r) { return r < 0 ? errorFromErrno(static_cast<int>(-r)) : err::Unknown; }

// Copies `n` bytes from `from` at `fromPos` to `to` at `toPos`.
int copyBytes(File& from, int64_t fromPos, File& to, int64_t toPos, int64_t n) {
    std::vector<uint8_t> buf(kCopyChunk);
    while (n > 0) {
        const size_t take = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(buf.size())));
        const int64_t r = from.readAt(buf.data(), take, fromPos);
        if (r != static_cast<int64_t>(take)) return codeOf(r);
        const int64_t w = to.writeAt(buf.data(), take, toPos);
        if (w != static_cast<int64_t>(take)) return codeOf(w);
        fromPos += static_cast<int64_t>(take);
        toPos += static_cast<int64_t>(take);
        n -= static_cast<int64_t>(take);
    }
    return 0;
}

int restoreJournal(FileSystem& fs, const std::string& journalPath, File& table) {
    int e = 0;
    auto journal = fs.open(journalPath, OpenMode::Read, e);
    if (!journal) return errorFromErrno(e);
    uint8_t head[kJournalHeader];
    const int64_t size = journal->size();
    if (size < 0) return codeOf(size);
    // A journal without its full header was cut short before the purge wrote anything. One that cannot
    // be read stays for a later try.
    const int64_t got = size >= kJournalHeader ? journal->readAt(head, sizeof head, 0) : 0;
    if (got < 0) return codeOf(got);
    if (got == kJournalHeader && std::memcmp(head, kJournalMagic, sizeof kJournalMagic) == 0) {
        const int64_t start = format::getI64(head + 8);
        const int64_t originalLength = format::getI64(head + 16);
        const int64_t saved = size - kJournalHeader;
        if (start < 0 || originalLength < start) return err::OpenFailed;
        if (int r = copyBytes(*journal, kJournalHeader, table, start, std::min(saved, originalLength - start)); r) {
            return r;
        }
        if (table.writeAt(head + 24, 8, format::kCountOffset) != 8) return err::OpenFailed;
        const int64_t now = table.size();
        if (now > originalLength && table.truncate(originalLength) != 0) return err::OpenFailed;
        if (table.sync() != 0) return err::OpenFailed;
    }
    journal.reset();
    const int r = fs.remove(journalPath);
    return r == 0 || r == -ENOENT ? 0 : codeOf(r);
}

}  // namespace

std::string passwordBackupPath(const std::string& filePath) { return filePath + ".pwbak"; }
std::string backupTempPath(const std::string& filePath) { return passwordBackupPath(filePath) + ".tmp"; }
std::string purgeJournalPath(const std::string& tablePath) { return tablePath + ".purge"; }

std::vector<std::string> leftoverPaths(const std::string& tablePath, const std::string& memoPath) {
    return {purgeJournalPath(tablePath), passwordBackupPath(tablePath), backupTempPath(tablePath),
            passwordBackupPath(memoPath), backupTempPath(memoPath)};
}

bool recoveryPending(FileSystem& fs, const std::string& tablePath, const std::string& memoPath) {
    (void)memoPath;  // the memo copy alone is never needed: the table copy is made last
    return fs.exists(purgeJournalPath(tablePath)) || fs.exists(passwordBackupPath(tablePath));
}

bool hasLeftovers(FileSystem& fs, const std::string& tablePath, const std::string& memoPath) {
    for (const std::string& p : leftoverPaths(tablePath, memoPath)) {
        if (fs.exists(p)) return true;
    }
    return false;
}

int removeLeftovers(FileSystem& fs, const std::string& tablePath, const std::string& memoPath) {
    int result = 0;
    for (const std::string& p : leftoverPaths(tablePath, memoPath)) {
        const int r = fs.remove(p);
        if (r != 0 && r != -ENOENT && result == 0) result = codeOf(r);
    }
    return result;
}

int writeBackup(FileSystem& fs, File& source, const std::string& backupPath) {
    const std::string temp = backupPath + ".tmp";  // backupTempPath of the file the copy is of
    int e = 0;
    auto out = fs.open(temp, OpenMode::Create, e);
    if (!out) return errorFromErrno(e);
    const int64_t size = source.size();
    if (size < 0) return codeOf(size);
    int r = copyBytes(source, 0, *out, 0, size);
    if (r == 0 && out->sync() != 0) r = err::Unknown;
    out.reset();
    if (r == 0) {
        const int m = fs.rename(temp, backupPath);
        r = m == 0 ? 0 : codeOf(m);
    }
    if (r != 0) {
        fs.remove(temp);
        return r;
    }
    fs.syncFolder(folderOf(backupPath));
    return 0;
}

int restoreBackup(FileSystem& fs, File& target, const std::string& backupPath) {
    int e = 0;
    auto backup = fs.open(backupPath, OpenMode::Read, e);
    if (!backup) return errorFromErrno(e);
    const int64_t size = backup->size();
    if (size < 0) return codeOf(size);
    if (int r = copyBytes(*backup, 0, target, 0, size); r != 0) return r;
    if (int r = target.truncate(size); r != 0) return codeOf(r);
    if (int r = target.sync(); r != 0) return codeOf(r);
    backup.reset();
    const int r = fs.remove(backupPath);
    return r == 0 || r == -ENOENT ? 0 : codeOf(r);
}

int saveBeforeCut(FileSystem& fs, File& table, const std::string& tablePath) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    const std::string base = tablePath + ".cut-" + stamp;
    std::string path;
    std::unique_ptr<File> out;
    int e = 0;
    for (int k = 1; k <= 1000 && !out; ++k) {
        path = k == 1 ? base : base + "-" + std::to_string(k);
        out = fs.open(path, OpenMode::CreateNew, e);
        if (!out && e != EEXIST) return errorFromErrno(e);
    }
    if (!out) return errorFromErrno(e);
    const int64_t size = table.size();
    int r = size < 0 ? codeOf(size) : copyBytes(table, 0, *out, 0, size);
    if (r == 0 && out->sync() != 0) r = err::Unknown;
    out.reset();
    if (r != 0) {
        fs.remove(path);
        return r;
    }
    fs.syncFolder(folderOf(path));
    return 0;
}

int recoverInterrupted(FileSystem& fs, const std::string& tablePath, const std::string& memoPath) {
    const std::string journal = purgeJournalPath(tablePath);
    const std::string tableBackup = passwordBackupPath(tablePath);
    const std::string memoBackup = passwordBackupPath(memoPath);
    const bool hasJournal = fs.exists(journal);
    const bool hasTableBackup = fs.exists(tableBackup);
    const bool hasMemoBackup = fs.exists(memoBackup);
    // A copy still under its temporary name was never complete, so nothing was rewritten after it.
    for (const std::string& temp : {backupTempPath(tablePath), backupTempPath(memoPath)}) {
        const int r = fs.remove(temp);
        if (r != 0 && r != -ENOENT) return codeOf(r);
    }
    if (!hasJournal && !hasTableBackup && !hasMemoBackup) return 0;

    int e = 0;
    auto table = fs.open(tablePath, OpenMode::ReadWrite, e);
    if (!table) return errorFromErrno(e);
    if (hasJournal) {
        if (int r = restoreJournal(fs, journal, *table); r != 0) return r;
    }
    if (hasTableBackup) {
        // The memo copy is made first and the table copy last, so the table copy says both are complete.
        if (hasMemoBackup) {
            auto memo = fs.open(memoPath, OpenMode::ReadWrite, e);
            if (!memo) return errorFromErrno(e);
            if (int r = restoreBackup(fs, *memo, memoBackup); r != 0) return r;
        }
        if (int r = restoreBackup(fs, *table, tableBackup); r != 0) return r;
    } else if (hasMemoBackup) {
        // Left from before the table copy existed (nothing was rewritten yet) or after the change had
        // completed: either way the files are consistent and the copy is stale.
        fs.remove(memoBackup);
    }
    return 0;
}

int PurgeJournal::begin(FileSystem& fs, const std::string& tablePath, File& table, int64_t start,
                        int64_t originalLength) {
    fs_ = &fs;
    path_ = purgeJournalPath(tablePath);
    int e = 0;
    file_ = fs.open(path_, OpenMode::Create, e);
    if (!file_) return errorFromErrno(e);
    uint8_t head[kJournalHeader] = {};
    std::memcpy(head, kJournalMagic, sizeof kJournalMagic);
    format::putI64(head + 8, start);
    format::putI64(head + 16, originalLength);
    if (table.readAt(head + 24, 8, format::kCountOffset) != 8 ||
        file_->writeAt(head, sizeof head, 0) != kJournalHeader) {
        file_.reset();
        fs.remove(path_);
        return err::Unknown;
    }
    written_ = kJournalHeader;
    active_ = true;
    return 0;
}

int PurgeJournal::append(const void* data, size_t n) {
    const int64_t w = file_->writeAt(data, n, written_);
    if (w != static_cast<int64_t>(n)) return codeOf(w);
    written_ += static_cast<int64_t>(n);
    return 0;
}

int PurgeJournal::rollBack(File& table) {
    if (!active_) return 0;
    file_.reset();
    active_ = false;
    return restoreJournal(*fs_, path_, table);
}

int PurgeJournal::finish() {
    if (!active_) return 0;
    file_.reset();
    const int r = fs_->remove(path_);
    if (r != 0 && r != -ENOENT) return codeOf(r);
    active_ = false;
    return 0;
}

}  // namespace xp
