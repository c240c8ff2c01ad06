#pragma once
// The seed of a run of random inputs: QOR_SEED repeats an earlier run;
// otherwise each run takes a new one. Either way it is printed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

inline unsigned RandomSeed(const char* what) {
    const char* given = std::getenv("QOR_SEED");
    const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : GetTickCount();
    std::printf("%s: seed %u (set QOR_SEED=%u to repeat)\n", what, seed, seed);
    return seed;
}
