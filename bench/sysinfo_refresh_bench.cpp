// Times the SYSTEM INFO refresh with 5,000 uninstall entries: the whole
// refresh, and the part besides the clock probe's sleeps. Prints each run and
// the medians. Usage: sysinfo_refresh_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sysinfo/sysinfo_page.h"

namespace {

const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr int kEntries = 5000;

double Seconds(int64_t ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

int64_t Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The real timing, adding up how long its sleeps really took.
class SleepTimedTiming : public platform::Timing {
public:
    int64_t slept = 0;
    DWORD ProcessPriorityClass() override { return real_.ProcessPriorityClass(); }
    void SetProcessPriorityClass(DWORD value) override { real_.SetProcessPriorityClass(value); }
    int ThreadPriority() override { return real_.ThreadPriority(); }
    void SetThreadPriority(int value) override { real_.SetThreadPriority(value); }
    void Sleep(DWORD milliseconds) override {
        const int64_t start = Now();
        real_.Sleep(milliseconds);
        slept += Now() - start;
    }
    uint64_t TimeStamp() override { return real_.TimeStamp(); }
    int64_t PerformanceCounter() override { return real_.PerformanceCounter(); }
    int64_t PerformanceFrequency() override { return real_.PerformanceFrequency(); }

private:
    platform::Timing& real_ = platform::RealTiming();
};

void CreateEntries() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall);
    for (int i = 0; i < kEntries; ++i) {
        const std::string key = std::string(kUninstall) + "\\{entry-" + std::to_string(i) + "}";
        const std::string name = "Program " + std::to_string((i * 7919) % kEntries);
        const std::string command = "C:\\Program Files\\" + name + "\\uninstall.exe /quiet";
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName", REG_SZ, name.c_str(),
                        static_cast<DWORD>(name.size() + 1));
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), "UninstallString", REG_SZ, command.c_str(),
                        static_cast<DWORD>(command.size() + 1));
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 7);
    CreateEntries();
    HWND window = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 480, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ui::Hints hints;
    SleepTimedTiming timing;
    SysInfoPage page(platform::RealSystemInfo(), platform::RealNetBios(), timing);
    page.Create(Page::SystemInfo, PageContext{window, ui::Dpi(), nullptr, &hints});

    std::vector<double> totals, besides, software;
    for (int run = 0; run < runs; ++run) {
        timing.slept = 0;
        const int64_t start = Now();
        page.Refresh();
        const double total = Seconds(Now() - start) * 1000;
        const int64_t listStart = Now();
        page.Button35Click();
        const double list = Seconds(Now() - listStart) * 1000;
        totals.push_back(total);
        besides.push_back(total - Seconds(timing.slept) * 1000);
        software.push_back(list);
        std::printf("run %d: refresh %.1f ms, besides sleep %.1f ms, installed software alone %.1f ms, items %zu\n",
                    run + 1, total, besides.back(), list, page.Software().Captions().size());
    }
    std::printf("median of %d: refresh %.1f ms, besides sleep %.1f ms, installed software alone %.1f ms\n", runs,
                Median(totals), Median(besides), Median(software));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall);
    DestroyWindow(window);
    return 0;
}
