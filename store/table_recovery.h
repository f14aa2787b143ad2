// Guards around the two multi-step rewrites, and their recovery when a table is opened again after the
// writing process died half way:
// - a password change first places complete byte copies of the table file and the memo file beside them
//   ("<file>.pwbak"); an open that finds the table's copy puts both copies back in place;
// - a purge first appends every batch it is about to overwrite to a journal ("<table file>.purge"); an
//   open that finds the journal writes the saved bytes back, so the purge never happened.
// A copy is written under a temporary name first ("<file>.pwbak.tmp") and renamed when complete; a change
// killed while copying leaves that temporary copy, which holds the table's content (in plain form when the
// table had no password yet), so recovery removes it as well.
// Recovery runs while the opener holds the whole-table lock, so a live writer's files are never touched.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/file_system.h"

namespace xp {

std::string passwordBackupPath(const std::string& filePath);
std::string backupTempPath(const std::string& filePath);
std::string purgeJournalPath(const std::string& tablePath);

// Every file an interrupted password change or purge of this table can leave behind.
std::vector<std::string> leftoverPaths(const std::string& tablePath, const std::string& memoPath);

// Whether the table's bytes are not what they should be until recovery runs: a purge journal or the
// table file's password copy is present. Other leftovers are stale copies that reading can ignore.
bool recoveryPending(FileSystem& fs, const std::string& tablePath, const std::string& memoPath);

// Whether any leftover exists.
bool hasLeftovers(FileSystem& fs, const std::string& tablePath, const std::string& memoPath);

// Removes every leftover without using it (a table being created anew). 0 or an error code.
int removeLeftovers(FileSystem& fs, const std::string& tablePath, const std::string& memoPath);

// Before the repair on opening cuts bytes off a table file, the whole file as it was is copied to a new
// file beside it, "<table file>.cut-<YYYYMMDD-HHMMSS>" (with "-2", "-3"... when that name is taken), so
// that an administrator can get back what the cut removes. The copy is byte for byte, still under the
// table's key. 0 or an error code.
int saveBeforeCut(FileSystem& fs, File& table, const std::string& tablePath);

// Puts back whatever an interrupted password change or purge left. 0 or an error code.
int recoverInterrupted(FileSystem& fs, const std::string& tablePath, const std::string& memoPath);

// Copies `source` (already open) to a temporary file, syncs it and renames it to `backupPath`.
int writeBackup(FileSystem& fs, File& source, const std::string& backupPath);

// Writes the bytes of `backupPath` over `target` in place, syncs, and removes the backup.
int restoreBackup(FileSystem& fs, File& target, const std::string& backupPath);

// The undo journal of one purge.
class PurgeJournal {
public:
    // Starts the journal: the table's original length, the raw count bytes and where overwriting starts.
    int begin(FileSystem& fs, const std::string& tablePath, File& table, int64_t start, int64_t originalLength);
    // Appends raw bytes that are about to be overwritten; they must follow the previous ones.
    int append(const void* data, size_t n);
    // Restores the table from the journal and removes it.
    int rollBack(File& table);
    // The purge is complete: the journal is removed.
    int finish();
    bool active() const { return active_; }

private:
    FileSystem* fs_ = nullptr;
    std::string path_;
    std::unique_ptr<File> file_;
    int64_t written_ = 0;
    bool active_ = false;
};

}  // namespace xp
