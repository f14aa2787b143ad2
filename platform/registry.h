// The stand-in for the current user's registry: string and 32-bit values under a key path, kept in a
// small ini file in the user's config folder, readable by the user only (it holds a password).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xp {

// $XDG_CONFIG_HOME/xuanpian/registry.ini, or ~/.config/xuanpian/registry.ini when XDG_CONFIG_HOME is
// unset or not an absolute path. Empty when no home folder can be found.
std::string registryFilePath();

// Values are bytes (the callers store GBK). The key path is the section name, e.g.
// "Software\\Microsoft\\Windows\\zelvkj"; key paths and value names match without letter case.
// Every write leaves the file with mode 0600 and its folder created with mode 0700.
bool setRegistryString(std::string_view keyPath, std::string_view name, std::string_view value);
bool setRegistryNumber(std::string_view keyPath, std::string_view name, std::uint32_t value);
// True when the value is gone afterwards (also when there was none).
bool deleteRegistryValue(std::string_view keyPath, std::string_view name);

// Reading back: nullopt when the value is missing or has the other type.
std::optional<std::string> registryString(std::string_view keyPath, std::string_view name);
std::optional<std::uint32_t> registryNumber(std::string_view keyPath, std::string_view name);

}  // namespace xp
