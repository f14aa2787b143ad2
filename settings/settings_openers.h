// Plugs the settings subsystem's windows into the application: the settings window (from the main window
// and, for the requirement presets alone, from the order form) and the logo window.
#pragma once

#include "shell/app_state.h"

namespace xp {

void installSettingsWindows(AppState& app);

}  // namespace xp
