// The one boundary between the program's UTF-8 texts and the GBK bytes that every stored file holds.
#pragma once

#include <string>
#include <string_view>

namespace xp {

// UTF-8 to GBK bytes. Encodes as GB18030, the superset of GBK: every GBK character gets its GBK bytes and
// a character outside GBK keeps its four-byte form instead of being lost. Invalid UTF-8 becomes "?".
std::string toGbk(std::string_view utf8);

// GBK (GB18030) bytes to UTF-8. Bytes that form no character, such as a double-byte character cut at
// the end of a fixed-width field, become U+FFFD.
std::string fromGbk(std::string_view gbk);

}  // namespace xp
