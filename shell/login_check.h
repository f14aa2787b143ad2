// The login check behind "登录": the typed name and password against the user table, and the hand-over
// bookkeeping (tables closed, last login written to the registry) when they match.
#pragma once

#include <string>

#include "shell/app_state.h"

namespace xp {

inline constexpr char kLoginEmptyMessage[] = "用户名或密码不能接受空数据";
inline constexpr char kLoginWrongMessage[] = "用户名或密码错误！";
// When the user table is missing or not a user table at all.
inline constexpr char kLoginNoUserTableMessage[] =
    "无法打开用户数据表，登录无法进行。\r\n请确认程序目录下的 data 文件夹完整，或重新创建安装后再试。";

// Shows the check's message when it refuses. On a match all tables are closed and the registry holds
// the typed name and password; the caller then opens the main window. Returns whether they matched.
bool checkLogin(AppState& app, const std::string& userName, const std::string& password);

}  // namespace xp
