// Byte-level text rules of the store: GBK character boundaries, case-insensitive comparison that folds
// ASCII letters only, and the name rule for field names and aliases.
#pragma once

#include <string>
#include <string_view>

namespace xp {

// A byte that starts a GBK double-byte character.
inline bool isGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Compares without ASCII letter case; a double-byte character is compared as one unit, so its second
// byte is never folded even when it falls in the ASCII letter range.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// The name rule: first character an ASCII letter, an underscore or a double-byte character other than a
// full-width digit; every further character an ASCII letter, digit or underscore, or a double-byte
// full-width letter or digit, Chinese character or kana.
bool followsNameRule(std::string_view name);

}  // namespace xp
