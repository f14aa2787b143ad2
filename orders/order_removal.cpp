// Moving a deleted order's data aside.
#include "orders/order_removal.h"

#include <ctime>
#include <vector>

#include "appdata/app_paths.h"
#include "appdata/selection_files.h"
#include "platform/file_system.h"

namespace xp {

namespace {

bool startsWithNoCase(const std::string& name, const std::string& prefix) {
    if (name.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (fold(static_cast<unsigned char>(name[i])) != fold(static_cast<unsigned char>(prefix[i]))) return false;
    }
    return true;
}

bool sameNoCase(const std::string& a, const std::string& b) { return a.size() == b.size() && startsWithNoCase(a, b); }

std::string backupName() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    char text[64];
    std::snprintf(text, sizeof text, "删除备份_%04d%02d%02d_%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

}  // namespace

SetAsideResult setAsideOrderData(const std::string& selectionFolder) {
    SetAsideResult result;
    const std::string data = selectionDataFolder(selectionFolder);
    if (selectionFolder.empty() || !folderExists(data)) return result;
    std::vector<std::string> moving;
    for (const std::string& name : listFiles(data))
        if (startsWithNoCase(name, "xpdata.") || sameNoCase(name, "save") || sameNoCase(name, "pszs"))
            moving.push_back(name);
    if (moving.empty()) return result;

    std::string folder = joinPath(data, backupName());
    for (int n = 2; pathExists(folder); ++n) folder = joinPath(data, backupName() + "_" + std::to_string(n));
    if (!createFolder(folder)) {
        result.ok = false;
        result.problem = "无法创建备份文件夹 " + folder;
        return result;
    }
    result.folder = folder;
    for (const std::string& name : moving) {
        if (!moveFile(joinPath(data, name), joinPath(folder, name))) {
            result.ok = false;
            result.problem = "无法移动 " + joinPath(data, name);
        }
    }
    return result;
}

}  // namespace xp
