// A consistency check of a table file and its memo file, read directly from disk: header, descriptors,
// record count against the file length, serials, every memo chain and the free list.
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
    bool ok() const { return problems.empty(); }
};

// `path` with or without its extension; `password` "" for an unprotected table.
TableCheckReport checkTable(const std::string& path, const std::string& password);

}  // namespace xp
