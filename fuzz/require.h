#pragma once
// What a fuzz target holds of its reader's answer: a broken promise stops
// the run at once, and the fuzzer keeps the input that broke it.

namespace kbt2::fuzzing {

inline void require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace kbt2::fuzzing
