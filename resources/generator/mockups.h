// Quick mock-ups of the login window, the main window and the viewer at 1366 x 768, composed from
// the generated picture files at the windows' designed positions: a check that the look holds
// together before the real windows exist. Not embedded in the program.
#pragma once

#include <QString>

namespace xp::gen {

// Reads the pictures from folder and writes mockup_login.png, mockup_main.png, mockup_viewer.png
// and mockup_sheet.png (every small picture on dark and on silver) there; returns false when a
// picture is missing.
bool writeMockups(const QString& folder);

}  // namespace xp::gen
