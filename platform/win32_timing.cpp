#include "platform/timing.h"

#include <intrin.h>

namespace platform {
namespace {

class Win32Timing : public Timing {
public:
    int ThreadPriority() override { return GetThreadPriority(GetCurrentThread()); }
    void SetThreadPriority(int priority) override { ::SetThreadPriority(GetCurrentThread(), priority); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
    uint64_t TimeStamp() override { return __rdtsc(); }
    int64_t PerformanceCounter() override {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    int64_t PerformanceFrequency() override {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart;
    }
};

}  // namespace

Timing& RealTiming() {
    // Never destroyed: a worker thread still running at exit may call it.
    static Win32Timing* const timing = new Win32Timing;
    return *timing;
}

}  // namespace platform
