// A consistency check of a table file and its memo file, read directly from disk under the table's locks:
// header, descriptors, record count against the file length, serials, every memo chain and the free list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xp {

struct TableCheckReport {
    std::vector<std::string> problems;  // damage: the files break the format or would mislead a reader
    std::vector<std::string> notes;     // harmless findings, such as memo blocks that belong to nothing
    int32_t records = 0;
    int32_t memoBlocks = 0;
    // An interrupted purge or password change left its journal or copies: the files are not checked,
    // because the next open that may write puts them right first.
    bool recoveryPending = false;
    // The store's error code that goes with the first problem (a damaged table file -22, a wrong size
    // -48, a damaged memo file -37, ...), the code of a failed open or lock, or -21 while recovery is
    // pending; 0 when the table is sound.
    int code = 0;
    bool ok() const { return problems.empty() && !recoveryPending; }
};

// `path` with or without its extension; `password` "" for an unprotected table. The check opens the files
// for reading only, takes the sharing marker of a reader and the whole-table locks (waiting up to
// `lockWaitMs` for writers to finish), and never changes a file.
TableCheckReport checkTable(const std::string& path, const std::string& password, int lockWaitMs = 5000);

}  // namespace xp
