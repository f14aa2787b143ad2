// Computing the application paths.
#include "appdata/app_paths.h"

#include <unistd.h>

#include <climits>

namespace xp {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string photoTablePath(const std::string& selectionFolder) {
    return selectionFolder.empty() ? std::string() : joinPath(selectionFolder, "data/xpdata");
}

AppPaths AppPaths::compute(const std::string& programFolderIn, const std::string& selectionFolder) {
    std::string dir = programFolderIn;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();

    AppPaths p;
    p.programFolder = dir;
    p.dataFolder = joinPath(dir, "data");
    p.orderTable = joinPath(dir, "data/xpsjk");
    p.userTable = joinPath(dir, "data/yhm");
    p.productTable = joinPath(dir, "data/cpdata");
    p.categoryTable = joinPath(dir, "data/cplbsjk");
    p.sampleFolder = joinPath(dir, "样照欣赏");
    p.designBoardFolder = joinPath(dir, "设计看版");
    p.logoSettings = joinPath(dir, "logo.ini");
    p.storeSettings = joinPath(dir, "data/xtsz");
    p.warmTips = joinPath(dir, "data/wxts");
    p.sampleSetting = joinPath(dir, "yzljsz");
    p.requirementPresets = joinPath(dir, "data/xpyq.ini");
    p.setSelectionFolder(selectionFolder);
    return p;
}

void AppPaths::setSelectionFolder(const std::string& folder) {
    selectionFolder = folder;
    photoTable = photoTablePath(folder);
}

std::string runningProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string exe(buffer, static_cast<size_t>(n));
    size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
}

}  // namespace xp
