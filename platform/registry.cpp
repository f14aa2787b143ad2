// The registry substitute: typed values in an ini file, strings quoted and escaped, numbers as dword:hex.
#include "platform/registry.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace xp {
namespace {

constexpr mode_t kFileMode = 0600;
constexpr mode_t kFolderMode = 0700;

std::string configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config";
    if (passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return std::string(pw->pw_dir) + "/.config";
    return {};
}

// Strings are stored in double quotes with \\, \", \r and \n escaped, so that any bytes round-trip and
// a string can never be mistaken for a number.
std::string quote(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> unquote(std::string_view raw) {
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') return std::nullopt;
    std::string out;
    for (size_t i = 1; i + 1 < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\\' && i + 2 < raw.size()) {
            char e = raw[++i];
            out += e == 'r' ? '\r' : e == 'n' ? '\n' : e;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> rawValue(std::string_view keyPath, std::string_view name) {
    std::string file = registryFilePath();
    if (file.empty()) return std::nullopt;
    std::optional<std::string> bytes = readFile(file);
    if (!bytes) return std::nullopt;
    return IniDocument::parse(*bytes).value(keyPath, name);
}

template <class Change>
bool update(Change change) {
    std::string file = registryFilePath();
    if (file.empty()) return false;
    std::optional<std::string> bytes = readFile(file);
    if (!bytes && fileExists(file)) return false;  // unreadable: never replace what we could not read
    IniDocument doc = IniDocument::parse(bytes.value_or(""));
    if (!change(doc)) return true;  // nothing to change
    std::string folder = file.substr(0, file.find_last_of('/'));
    if (!folderExists(folder)) {
        if (!createFolders(folder)) return false;
        ::chmod(folder.c_str(), kFolderMode);
    }
    return writeFile(file, doc.serialize(), WriteOptions{kFileMode});
}

}  // namespace

std::string registryFilePath() {
    std::string home = configHome();
    return home.empty() ? home : home + "/xuanpian/registry.ini";
}

bool setRegistryString(std::string_view keyPath, std::string_view name, std::string_view value) {
    return update([&](IniDocument& doc) {
        doc.set(keyPath, name, quote(value));
        return true;
    });
}

bool setRegistryNumber(std::string_view keyPath, std::string_view name, std::uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "dword:%08x", value);
    return update([&](IniDocument& doc) {
        doc.set(keyPath, name, text);
        return true;
    });
}

bool deleteRegistryValue(std::string_view keyPath, std::string_view name) {
    return update([&](IniDocument& doc) { return doc.remove(keyPath, name); });
}

std::optional<std::string> registryString(std::string_view keyPath, std::string_view name) {
    std::optional<std::string> raw = rawValue(keyPath, name);
    return raw ? unquote(*raw) : std::nullopt;
}

std::optional<std::uint32_t> registryNumber(std::string_view keyPath, std::string_view name) {
    std::optional<std::string> raw = rawValue(keyPath, name);
    if (!raw || raw->size() != 14 || raw->rfind("dword:", 0) != 0) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : raw->substr(6)) {
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
        if (digit < 0) return std::nullopt;
        v = v * 16 + static_cast<std::uint32_t>(digit);
    }
    return v;
}

}  // namespace xp
