// Tick count and sleep.
#pragma once

#include <cstdint>

namespace xp {

// Milliseconds on a monotonic clock (time since boot): only differences between two readings mean
// anything. Unaffected by changes of the wall-clock time.
std::int64_t tickCount();

// Blocks the calling thread for `ms` milliseconds (nothing for 0 or less).
void sleepMs(int ms);

}  // namespace xp
