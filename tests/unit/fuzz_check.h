#pragma once
// A failed property ends the fuzz run like a crash, so libFuzzer keeps the input that caused it.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ww::fuzzing {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "PROPERTY FAILED: %s\n", what.c_str());
    std::abort();
}

} // namespace ww::fuzzing
