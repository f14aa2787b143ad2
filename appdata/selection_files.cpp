// Paths and small files of a selection folder.
#include "appdata/selection_files.h"

#include "appdata/app_paths.h"
#include "appdata/text_files.h"
#include "platform/file_system.h"

namespace xp {

std::string selectionDataFolder(const std::string& sel) { return joinPath(sel, "data"); }
std::string photoTableFile(const std::string& sel) { return joinPath(sel, "data/xpdata.edb"); }
std::string shotCountFile(const std::string& sel) { return joinPath(sel, "data/pszs"); }
std::string saveMarkerFile(const std::string& sel) { return joinPath(sel, "data/save"); }
std::string selectionTempFolder(const std::string& sel) { return joinPath(sel, "temp"); }
std::string splitOutputFolder(const std::string& sel) { return joinPath(sel, "以选"); }
std::string selectionReportFile(const std::string& sel) { return joinPath(sel, "以选/选片报表.txt"); }
std::string requirementsReportFile(const std::string& sel) { return joinPath(sel, "以选/制作要求.txt"); }

std::string readShotCount(const std::string& sel) { return readTextFile(shotCountFile(sel)).value_or(""); }

bool writeShotCount(const std::string& sel, int count) { return writeFile(shotCountFile(sel), std::to_string(count)); }

std::string readSaveMarker(const std::string& sel) { return readTextFile(saveMarkerFile(sel)).value_or(""); }

bool writeSaveMarker(const std::string& sel) { return writeFile(saveMarkerFile(sel), kSaveMarkerText); }

bool isSelectionSaved(const std::string& sel) { return readSaveMarker(sel) == kSaveMarkerText; }

}  // namespace xp
