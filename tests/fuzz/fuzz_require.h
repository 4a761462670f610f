// What a fuzz target expects of a reader: a broken expectation aborts, which libFuzzer reports with
// the input that broke it.
#pragma once

#include <cstdlib>

namespace fuzzing {

inline void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace fuzzing
