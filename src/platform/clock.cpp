#include "platform/clock.h"

#include <chrono>

namespace zephran {

std::int64_t SystemClock::SteadyMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::time_t SystemClock::WallTime() const {
    return std::time(nullptr);
}

}  // namespace zephran
