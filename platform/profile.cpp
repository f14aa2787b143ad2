// The ini reader and writer behind the profile-string functions.
#include "platform/profile.h"

#include "platform/file_system.h"
#include "store/text_rules.h"

namespace xp {
namespace {

std::string_view trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string withoutLineBreaks(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

IniDocument::Line IniDocument::parseLine(std::string text, const std::string& currentSection) {
    Line line;
    line.text = std::move(text);
    line.section = currentSection;
    std::string_view t = trim(line.text);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        size_t close = t.find(']');
        std::string_view name = t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        line.isSection = true;
        line.section = std::string(trim(name));
        return line;
    }
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return line;
    line.isKey = true;
    line.key = std::string(trim(t.substr(0, eq)));
    return line;
}

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument doc;
    std::string section;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        std::string_view raw = bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        Line line = parseLine(std::string(raw), section);
        if (line.isSection) section = line.section;
        doc.lines_.push_back(std::move(line));
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return doc;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
    for (const Line& line : lines_) {
        if (!line.isKey || !equalsIgnoreCase(line.section, section) || !equalsIgnoreCase(line.key, key)) continue;
        std::string_view t = trim(line.text);
        return std::string(trim(t.substr(t.find('=') + 1)));
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string text = std::string(key) + "=" + withoutLineBreaks(value);
    size_t lastInSection = std::string::npos;  // last header or key line of the section
    for (size_t i = 0; i < lines_.size(); ++i) {
        Line& line = lines_[i];
        if (!equalsIgnoreCase(line.section, section)) continue;
        if (line.isKey && equalsIgnoreCase(line.key, key)) {
            line = parseLine(line.key + "=" + withoutLineBreaks(value), line.section);
            return;
        }
        if (line.isKey || line.isSection) lastInSection = i;
    }
    if (lastInSection == std::string::npos) {
        Line header = parseLine("[" + std::string(section) + "]", "");
        lines_.push_back(header);
        lines_.push_back(parseLine(text, header.section));
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastInSection) + 1,
                  parseLine(text, lines_[lastInSection].section));
}

bool IniDocument::remove(std::string_view section, std::string_view key) {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.isKey && equalsIgnoreCase(line.section, section) && equalsIgnoreCase(line.key, key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::string IniDocument::serialize() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

std::string readProfileString(const std::string& file, std::string_view section, std::string_view key) {
    std::optional<std::string> bytes = readFile(file);
    if (!bytes) return {};
    std::string value = IniDocument::parse(*bytes).value(section, key).value_or("");
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool writeProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::optional<std::string> bytes = readFile(file);
    if (!bytes && fileExists(file)) return false;  // unreadable: never replace what we could not read
    IniDocument doc = IniDocument::parse(bytes.value_or(""));
    doc.set(section, key, value);
    return writeFile(file, doc.serialize());
}

}  // namespace xp
