// The settings files beside the program, read and written in their stored forms: logo.ini,
// data/xtsz (store details), data/wxts (warm tips), yzljsz (sample folder) and data/xpyq.ini (presets).
#pragma once

#include <string>
#include <vector>

#include "appdata/app_paths.h"

namespace xp {

// logo.ini, section "LOGO": paths of the login banner, the main window's logo and its background.
struct LogoSettings {
    std::string logo1;
    std::string logo2;
    std::string logo3;
    bool operator==(const LogoSettings&) const = default;
};
bool logoSettingsExist(const AppPaths& paths);
LogoSettings readLogoSettings(const AppPaths& paths);
bool writeLogoSettings(const AppPaths& paths, const LogoSettings& logos);

// data/xtsz, section "XTSZ": the store details printed on the order form.
struct StoreDetails {
    std::string name;         // DM
    std::string phone;        // DH
    std::string address;      // DZ
    std::string webSite;      // WZ
    std::string reportTitle;  // XPBB
    bool operator==(const StoreDetails&) const = default;
};
StoreDetails readStoreDetails(const AppPaths& paths);
bool writeStoreDetails(const AppPaths& paths, const StoreDetails& details);

// data/wxts: the warm-tips text, stored whole without terminator ("" when missing).
std::string readWarmTips(const AppPaths& paths);
bool writeWarmTips(const AppPaths& paths, const std::string& text);

// yzljsz, section "yz", key "lj": the sample-photo folder chosen in the settings.
std::string readSampleFolderSetting(const AppPaths& paths);
bool writeSampleFolderSetting(const AppPaths& paths, const std::string& folder);

// data/xpyq.ini: production-requirement presets, one per line, each ended by CR LF. Reading creates the
// file empty when it is missing, as the windows that show the presets expect.
std::vector<std::string> readRequirementPresets(const AppPaths& paths);
bool writeRequirementPresets(const AppPaths& paths, const std::vector<std::string>& presets);

}  // namespace xp
