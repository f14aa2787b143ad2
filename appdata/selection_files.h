// The files of a selection folder: the photo table, the shot count, the save marker, the rotation's
// working folder and the auto-split output with its two reports.
#pragma once

#include <string>

namespace xp {

// Paths inside the selection folder `sel`.
std::string selectionDataFolder(const std::string& sel);     // data/
std::string photoTableFile(const std::string& sel);          // data/xpdata.edb
std::string shotCountFile(const std::string& sel);           // data/pszs
std::string saveMarkerFile(const std::string& sel);          // data/save
std::string selectionTempFolder(const std::string& sel);     // temp/
std::string splitOutputFolder(const std::string& sel);       // 以选/
std::string selectionReportFile(const std::string& sel);     // 以选/选片报表.txt
std::string requirementsReportFile(const std::string& sel);  // 以选/制作要求.txt

// The shot count as stored: decimal text without terminator; "" when the file is missing.
std::string readShotCount(const std::string& sel);
bool writeShotCount(const std::string& sel, int count);

// The save marker holds exactly "100" once the order form was saved.
inline constexpr char kSaveMarkerText[] = "100";
std::string readSaveMarker(const std::string& sel);  // "" when missing
bool writeSaveMarker(const std::string& sel);
bool isSelectionSaved(const std::string& sel);

}  // namespace xp
