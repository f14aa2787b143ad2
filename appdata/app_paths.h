// Where the application keeps its data: the program folder, the tables beside it, the gallery folders,
// the settings files and the photo table that follows the current selection folder.
#pragma once

#include <string>

namespace xp {

// Title of the program's message boxes.
inline constexpr char kMessageTitle[] = "提示信息";

// Passed to openTable for every table of the system, and set on every new photo table.
inline constexpr char kTablePassword[] = "Kx7mQp2vRt9Lw";

struct AppPaths {
    std::string programFolder;  // without a trailing "/"

    // Tables beside the program, named without extension (the store adds ".EDB").
    std::string orderTable;     // data/xpsjk
    std::string userTable;      // data/yhm
    std::string productTable;   // data/cpdata
    std::string categoryTable;  // data/cplbsjk

    std::string dataFolder;         // data
    std::string sampleFolder;       // 样照欣赏
    std::string designBoardFolder;  // 设计看版

    // Settings files.
    std::string logoSettings;        // logo.ini
    std::string storeSettings;       // data/xtsz
    std::string warmTips;            // data/wxts
    std::string sampleSetting;       // yzljsz
    std::string requirementPresets;  // data/xpyq.ini

    // The current selection folder and the photo table in it (selection folder + /data/xpdata); both
    // empty while no order is open.
    std::string selectionFolder;
    std::string photoTable;

    // The one routine that computes every value from the program folder and the selection folder.
    static AppPaths compute(const std::string& programFolder, const std::string& selectionFolder = {});

    // Changes the current selection folder and recomputes the photo-table path with it.
    void setSelectionFolder(const std::string& folder);
};

// The folder of the running program (from /proc/self/exe), without a trailing "/".
std::string runningProgramFolder();

// `folder` + "/" + `name`, with exactly one "/" between them whatever `folder` ends with.
std::string joinPath(const std::string& folder, const std::string& name);

// The photo-table path of a selection folder: folder + /data/xpdata ("" for no folder).
std::string photoTablePath(const std::string& selectionFolder);

}  // namespace xp
