// The program's look on Qt: the Fusion style with a palette for dark window backgrounds and the CJK
// font the windows' texts need.
#pragma once

class QApplication;

namespace xp::ui::qt {

inline constexpr const char* kUiFontFamily = "WenQuanYi Micro Hei";
inline constexpr int kUiFontPixelSize = 12;

void applyTheme(QApplication& app);

}  // namespace xp::ui::qt
