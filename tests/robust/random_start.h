#pragma once
// Where a run of random inputs starts: the same fixed value on every run, so
// that a failure repeats; QOR_RANDOM_START chooses another. Either way it is
// printed.
#include <cstdio>
#include <cstdlib>

inline unsigned RandomStart(const char* what) {
    const char* given = std::getenv("QOR_RANDOM_START");
    const unsigned start = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261207u;
    std::printf("%s: random start %u (set QOR_RANDOM_START to choose another)\n", what, start);
    return start;
}
