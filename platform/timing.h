#pragma once
// Timing: the calling thread's priority, sleeping and the two clocks the
// processor clock probe compares.
#include <windows.h>

#include <cstdint>

namespace platform {

class Timing {
public:
    virtual ~Timing() = default;
    virtual int ThreadPriority() = 0;
    virtual void SetThreadPriority(int priority) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    // The processor's time-stamp counter (RDTSC).
    virtual uint64_t TimeStamp() = 0;
    // The performance counter and its ticks per second.
    virtual int64_t PerformanceCounter() = 0;
    virtual int64_t PerformanceFrequency() = 0;
};

Timing& RealTiming();

}  // namespace platform
