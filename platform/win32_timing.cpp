#include "platform/timing.h"

#include <intrin.h>

namespace platform {
namespace {

class Win32Timing : public Timing {
public:
    DWORD ProcessPriorityClass() override { return GetPriorityClass(GetCurrentProcess()); }
    void SetProcessPriorityClass(DWORD priorityClass) override { SetPriorityClass(GetCurrentProcess(), priorityClass); }
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
    static Win32Timing timing;
    return timing;
}

}  // namespace platform
