// The program set up on the Qt backend: the themed look, the record store's fatal errors routed to the
// "错误" box, and every subsystem's windows plugged in. The program and its screenshot drivers share it.
#pragma once

#include "shell/app_state.h"
#include "ui/qt/qt_host.h"

namespace xp {

void setUpProgram(AppState& app, ui::qt::QtHost& host);

}  // namespace xp
