// Case-insensitive path resolution: each missing component is looked up in its folder's listing.
#include "store/path_case.h"

#include <dirent.h>
#include <sys/stat.h>

#include <optional>
#include <vector>

namespace xp {
namespace {

// File names on Linux are UTF-8, whose multi-byte sequences never contain ASCII bytes, so folding every
// ASCII letter byte by byte is exact (the store's GBK-aware rule would misread UTF-8 bytes as GBK lead bytes).
bool fileNamesEqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` equal to `name` without letter case; the first in byte order when several are.
std::optional<std::string> findInFolder(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> best;
    while (dirent* entry = ::readdir(dir)) {
        std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (fileNamesEqualIgnoringCase(candidate, name) && (!best || candidate < *best)) best = std::move(candidate);
    }
    ::closedir(dir);
    return best;
}

}  // namespace

std::string resolvePathCase(const std::string& path) {
    if (path.empty() || exists(path)) return path;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    // `resolved` is the path built so far; an absolute path starts with an empty first part.
    std::string resolved;
    bool resolving = true;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string next = i == 0 ? part : resolved + "/" + part;
        if (resolving && !part.empty() && part != "." && part != ".." && !exists(next)) {
            if (auto match = findInFolder(i == 0 ? std::string(".") : (resolved.empty() ? "/" : resolved), part)) {
                next = i == 0 ? *match : resolved + "/" + *match;
            } else {
                resolving = false;  // the rest cannot exist; keep it as given
            }
        }
        resolved = std::move(next);
    }
    return resolved;
}

}  // namespace xp
