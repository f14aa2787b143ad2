// Case-insensitive resolution of file names: a path whose exact name is missing is matched, component by
// component, against the names that exist in each folder without regard to letter case.
#pragma once

#include <string>

namespace xp {

// Each component that does not exist as written is replaced by the entry of its folder that equals it
// when letter case is ignored (the first in byte order when several do). Components after the first
// one that cannot be resolved are kept as given, so a path to a file not yet created still lands in the
// resolved folder; a path where nothing matches comes back unchanged.
std::string resolvePathCase(const std::string& path);

}  // namespace xp
