// Readers and writers of the settings files. Files with several keys are rewritten in one go, so a
// failure never leaves half of a save behind.
#include "appdata/settings_files.h"

#include <utility>

#include "appdata/text_codec.h"
#include "appdata/text_files.h"
#include "platform/file_system.h"
#include "platform/profile.h"

namespace xp {
namespace {

using KeyValues = std::vector<std::pair<const char*, const std::string*>>;

bool writeIniSection(const std::string& file, const char* section, const KeyValues& values) {
    std::optional<std::string> bytes = readFile(file);
    if (!bytes && fileExists(file)) return false;  // unreadable: never replace what we could not read
    IniDocument doc = IniDocument::parse(bytes.value_or(""));
    for (const auto& [key, value] : values) doc.set(section, key, toGbk(*value));
    return writeFile(file, doc.serialize());
}

}  // namespace

bool logoSettingsExist(const AppPaths& paths) { return fileExists(paths.logoSettings); }

LogoSettings readLogoSettings(const AppPaths& paths) {
    const std::string& f = paths.logoSettings;
    return {readIniText(f, "LOGO", "LOGO1"), readIniText(f, "LOGO", "LOGO2"), readIniText(f, "LOGO", "LOGO3")};
}

bool writeLogoSettings(const AppPaths& paths, const LogoSettings& logos) {
    return writeIniSection(paths.logoSettings, "LOGO",
                           {{"LOGO1", &logos.logo1}, {"LOGO2", &logos.logo2}, {"LOGO3", &logos.logo3}});
}

StoreDetails readStoreDetails(const AppPaths& paths) {
    const std::string& f = paths.storeSettings;
    return {readIniText(f, "XTSZ", "DM"), readIniText(f, "XTSZ", "DH"), readIniText(f, "XTSZ", "DZ"),
            readIniText(f, "XTSZ", "WZ"), readIniText(f, "XTSZ", "XPBB")};
}

bool writeStoreDetails(const AppPaths& paths, const StoreDetails& d) {
    return writeIniSection(
        paths.storeSettings, "XTSZ",
        {{"DM", &d.name}, {"DH", &d.phone}, {"DZ", &d.address}, {"WZ", &d.webSite}, {"XPBB", &d.reportTitle}});
}

std::string readWarmTips(const AppPaths& paths) { return readTextFile(paths.warmTips).value_or(""); }

bool writeWarmTips(const AppPaths& paths, const std::string& text) { return writeTextFile(paths.warmTips, text); }

std::string readSampleFolderSetting(const AppPaths& paths) { return readIniText(paths.sampleSetting, "yz", "lj"); }

bool writeSampleFolderSetting(const AppPaths& paths, const std::string& folder) {
    return writeIniText(paths.sampleSetting, "yz", "lj", folder);
}

std::vector<std::string> readRequirementPresets(const AppPaths& paths) {
    if (!pathExists(paths.requirementPresets)) writeFile(paths.requirementPresets, "");
    return readLines(paths.requirementPresets);
}

bool writeRequirementPresets(const AppPaths& paths, const std::vector<std::string>& presets) {
    return writeLines(paths.requirementPresets, presets);
}

}  // namespace xp
