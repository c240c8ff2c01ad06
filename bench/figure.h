#pragma once
// How every benchmark prints a figure: beside its reference from the same
// run, with the ratio and its goal, and "over goal" where the ratio exceeds it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline double Now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "what: 123.4 ms   (reference: 100.0 ms; ratio 1.23, goal 1.2) over goal"
inline void PrintFigure(const char* what, double ms, const char* reference, double referenceMs, double goal) {
    const double ratio = ms / referenceMs;
    std::printf("%-52s %8.1f ms   (%s: %8.1f ms; ratio %.2f, goal %.2f)%s\n", what, ms, reference, referenceMs, ratio,
                goal, ratio > goal ? " over goal" : "");
}

// A time whose goal is a fixed number of milliseconds.
inline void PrintLimit(const char* what, double ms, double goalMs) {
    std::printf("%-52s %8.1f ms   (goal %.0f ms; ratio %.2f)%s\n", what, ms, goalMs, ms / goalMs,
                ms > goalMs ? " over goal" : "");
}

}  // namespace bench
