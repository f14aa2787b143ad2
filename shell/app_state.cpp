// The application-wide state: paths and the logo pictures read at start.
#include "shell/app_state.h"

#include <utility>

#include "appdata/settings_files.h"
#include "platform/file_system.h"

namespace xp {

namespace {

std::vector<std::uint8_t> readPicture(const std::string& path) {
    if (path.empty()) return {};
    std::optional<std::string> bytes = readFile(path);
    if (!bytes) return {};
    return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

}  // namespace

AppState::AppState(ui::Host& h, std::string programFolder) : host(h), programFolder_(std::move(programFolder)) {
    computePaths();
}

AppState::~AppState() = default;

void AppState::computePaths() { paths = AppPaths::compute(programFolder_, paths.selectionFolder); }

void AppState::loadLogos() {
    logo1.clear();
    logo2.clear();
    logo3Path.clear();
    if (!logoSettingsExist(paths)) return;
    LogoSettings logos = readLogoSettings(paths);
    logo1 = readPicture(logos.logo1);
    logo2 = readPicture(logos.logo2);
    logo3Path = logos.logo3;
}

}  // namespace xp
