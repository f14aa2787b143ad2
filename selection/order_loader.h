// Opening an order's photos: the photo table created on first use (one row per photo) or reconciled
// with the folder, a thumbnail per photo, the photo list filled, the photo table left open and current.
#pragma once

#include "shell/app_state.h"

namespace xp {

// Loads the photos of the current selection folder into the main window's photo list. Problems are
// reported in message boxes; true when the order's photos were loaded (the photo table is then open and
// current). Callers show the loading panel before and the photo-list panel after a successful load.
// While one load runs (it lets window events run between photos) a second one is refused.
bool loadOrder(AppState& app);

}  // namespace xp
