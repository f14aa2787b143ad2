// GBK text files and ini values as UTF-8 texts: the conversion boundary for every file the program
// stores outside its tables.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xp {

// The whole file decoded from GBK; nullopt when it is missing or unreadable.
std::optional<std::string> readTextFile(const std::string& path);
// Replaces the whole file with `text` in GBK, exactly as given (no terminator is added).
bool writeTextFile(const std::string& path, std::string_view text);

// One entry per line; lines end with CR LF (a lone LF is accepted too), and a file that ends with a line
// break has no empty last entry. A missing file has no lines.
std::vector<std::string> readLines(const std::string& path);
// Every entry followed by CR LF. A line break inside an entry becomes a space, so that each entry stays
// one line when read back.
bool writeLines(const std::string& path, const std::vector<std::string>& lines);

// An ini value in GBK as UTF-8; "" when the file, section or key is missing.
std::string readIniText(const std::string& file, std::string_view section, std::string_view key);
bool writeIniText(const std::string& file, std::string_view section, std::string_view key, std::string_view text);

}  // namespace xp
