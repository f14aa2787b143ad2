// Tick count from CLOCK_MONOTONIC; sleep that survives signal interruptions.
#include "platform/clock.h"

#include <cerrno>
#include <ctime>

namespace xp {

std::int64_t tickCount() {
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void sleepMs(int ms) {
    if (ms <= 0) return;
    timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {}
}

}  // namespace xp
