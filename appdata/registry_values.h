// The three registry values of the login: the last user name and password, and the remember-me flag.
#pragma once

#include <optional>
#include <string>

namespace xp {

inline constexpr char kRegistryKey[] = "Software\\Microsoft\\Windows\\zelvkj";
inline constexpr char kRegistryUserName[] = "yhm";      // string
inline constexpr char kRegistryPassword[] = "mm";       // string, plain text
inline constexpr char kRegistryRememberMe[] = "jzyhm";  // 32-bit number, 1 while ticked

// Writes yhm and mm (GBK) after a successful login.
bool saveLastLogin(const std::string& userName, const std::string& password);
// Ticked writes jzyhm = 1; unticked deletes it.
bool saveRememberMe(bool ticked);

// Reading back (the program itself never does; tools and tests do).
std::optional<std::string> lastLoginUserName();
std::optional<std::string> lastLoginPassword();
bool rememberMeSet();

}  // namespace xp
