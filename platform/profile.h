// Profile (ini) strings: read and write a value by file, section and key, on the file's own bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xp {

// An ini file held as its lines, so that a rewrite keeps comments, other sections and the order of keys.
// Sections and keys match without letter case (GBK-aware); the first of several equal keys wins.
class IniDocument {
public:
    static IniDocument parse(std::string_view bytes);

    // The value after "=", with the blanks around it removed; nullopt when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Sets the value, adding the key at the end of its section and the section at the end of the file
    // when missing. Line breaks in the value become spaces: they would otherwise start new keys.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key; false when there was none.
    bool remove(std::string_view section, std::string_view key);

    // The file's bytes, every line ended by CR LF.
    std::string serialize() const;

private:
    struct Line {
        std::string text;     // the line as stored, without its line break
        std::string section;  // section this line belongs to (for keys) or opens (for headers)
        std::string key;      // key of a key line
        bool isSection = false;
        bool isKey = false;
    };
    static Line parseLine(std::string text, const std::string& currentSection);
    std::vector<Line> lines_;
};

// The value of `key` in `section` of the ini file; "" when the file, section or key is missing. A value in
// matching single or double quotes is returned without them.
std::string readProfileString(const std::string& file, std::string_view section, std::string_view key);

// Writes the value, creating the file and section when missing; the file is rewritten whole.
bool writeProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace xp
