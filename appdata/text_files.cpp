// GBK text files, line files and ini values.
#include "appdata/text_files.h"

#include "appdata/text_codec.h"
#include "platform/file_system.h"
#include "platform/profile.h"

namespace xp {

std::optional<std::string> readTextFile(const std::string& path) {
    std::optional<std::string> bytes = readFile(path);
    if (!bytes) return std::nullopt;
    return fromGbk(*bytes);
}

bool writeTextFile(const std::string& path, std::string_view text) { return writeFile(path, toGbk(text)); }

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::optional<std::string> text = readTextFile(path);
    if (!text) return lines;
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        std::string line = text->substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        for (char c : line) text += (c == '\r' || c == '\n') ? ' ' : c;
        text += "\r\n";
    }
    return writeTextFile(path, text);
}

std::string readIniText(const std::string& file, std::string_view section, std::string_view key) {
    return fromGbk(readProfileString(file, toGbk(section), toGbk(key)));
}

bool writeIniText(const std::string& file, std::string_view section, std::string_view key, std::string_view text) {
    return writeProfileString(file, toGbk(section), toGbk(key), toGbk(text));
}

}  // namespace xp
