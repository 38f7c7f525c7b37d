#pragma once
// The clock that the start-up runner and its probes share: CLOCK_MONOTONIC is
// the same for every process of the machine.

#include <ctime>

namespace kbt2::bench {

inline long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace kbt2::bench
