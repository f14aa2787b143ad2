// Plugs order completion into the application: the order form behind the photo list's "保存选片数据",
// auto-split behind the main window's 超级按钮_自动分片, and the order form's presets refresh.
#pragma once

#include "shell/app_state.h"

namespace xp {

void installCompletionWindows(AppState& app);

}  // namespace xp
