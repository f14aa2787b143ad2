// Where each subsystem hands its windows to the main window (AppState::openers) and adds its controls to
// the main window's panels (AppState::mainWindowBuilders): the program and its screenshot drivers plug
// in the same set.
#pragma once

#include "shell/app_state.h"

namespace xp {

void plugWindows(AppState& app);

}  // namespace xp
