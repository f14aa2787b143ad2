// File-name comparison without letter case: the listing order and the wildcard match. File names are
// UTF-8, whose multi-byte sequences hold no ASCII byte, so every ASCII letter byte can be folded.
#pragma once

#include <string_view>

namespace xp {

// Orders names by their bytes with ASCII letters folded to upper case; names that fold alike are ordered by
// their exact bytes, so the order is total and a folder always lists the same way.
bool lessNoCase(std::string_view a, std::string_view b);

// Wildcard match of a file name: "*" matches any run of characters (also none), "?" exactly one byte,
// everything else compares without ASCII letter case. "*.jpg" matches "a.JPG" and "a.b.jpg".
bool matchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace xp
