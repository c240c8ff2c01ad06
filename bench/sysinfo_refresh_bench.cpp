// SYSTEM INFO of the real program with 5,000 uninstall entries, each figure
// beside its reference from the same run, as medians:
//  - the software list complete, counted from the tab click, against a plain
//    Win32 loop reading the same display names and uninstall commands from
//    the same three places, also while the program is watched as during its
//    refresh;
//  - re-activation with nothing changed under the uninstall keys;
//  - the longest the window took to answer a message while it refreshed;
//  - closing the window while it refreshes, until the program has ended.
// Usage: sysinfo_refresh_bench [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "figure.h"
#include "ui/control_ids.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr int kEntries = 5000;

using bench::Median;
using bench::Now;

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

// The entries of one place read by the plainest Win32 loop: the display name
// and the uninstall command of each. Returns how many names it found.
int ReadPlainly(HKEY root, REGSAM view) {
    HKEY uninstall = nullptr;
    if (RegOpenKeyExA(root, kUninstall, 0, KEY_READ | view, &uninstall) != ERROR_SUCCESS)
        return 0;
    int found = 0;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(uninstall, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY entry = nullptr;
        if (RegOpenKeyExA(uninstall, name, 0, KEY_READ | view, &entry) != ERROR_SUCCESS)
            continue;
        char value[1024];
        DWORD size = sizeof(value);
        if (RegQueryValueExA(entry, "DisplayName", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS)
            ++found;
        size = sizeof(value);
        RegQueryValueExA(entry, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(entry);
    }
    RegCloseKey(uninstall);
    return found;
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

struct Watched {
    double elapsed = 0;        // from the start to `done`
    double longestAnswer = 0;  // the slowest round of questions to the window meanwhile
};

// Asks the program's window the same round of questions every 5 ms, as a
// user's clicks would wait on it, until `done`. The questions go through the
// Wine server, as the registry reads do, so both sides of a figure are
// watched this same way.
Watched WatchUntil(e2e::Program& program, double start, const std::function<bool()>& done) {
    Watched watched;
    for (;;) {
        // Every call below waits for the program's window thread to answer.
        const double sent = Now();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
        const bool finished = done();
        watched.longestAnswer = std::max(watched.longestAnswer, Now() - sent);
        if (finished)
            break;
        Sleep(5);
    }
    watched.elapsed = Now() - start;
    return watched;
}

// The reference: the same two values from the same three places the program
// reads, by the plainest loop on one thread.
int ReadPlainlyEverywhere() {
    return ReadPlainly(HKEY_LOCAL_MACHINE, 0) + ReadPlainly(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY) +
           ReadPlainly(HKEY_CURRENT_USER, 0);
}

void CheckFound(int found) {
    if (found != kEntries)
        std::printf("plain loop found %d names\n", found);
}

double PlainLoop() {
    const double start = Now();
    CheckFound(ReadPlainlyEverywhere());
    return Now() - start;
}

// The same loop while the idle program is watched as during its own refresh.
double WatchedPlainLoop(e2e::Program& program) {
    std::atomic<bool> finished{false};
    int found = 0;
    const double start = Now();
    std::thread loop([&] {
        found = ReadPlainlyEverywhere();
        finished = true;
    });
    // The same questions as during the refresh, whose answers hold by now.
    const double ms = WatchUntil(program, start, [&] {
                          const bool listed = program.SelectedPage() == kSystemInfoTab &&
                                              ItemCount(program.Control(ids::ListView(2))) == kEntries;
                          return listed && finished;
                      }).elapsed;
    loop.join();
    CheckFound(found);
    return ms;
}

// From the tab click until the list holds every entry.
Watched TimeRefresh(e2e::Program& program) {
    HWND tabs = program.Control(ids::PageControl1);
    // Clicked as a user would, once the window is ready: every page built
    // (the ABOUT page, built last, has its Label5).
    e2e::PollFor([&] { return program.FindControl(ids::Label(5)) != nullptr; });
    program.WaitUntilIdle();
    const double click = Now();
    PostMessageA(tabs, TCM_SETCURFOCUS, kSystemInfoTab, 0);
    // Once the page is selected its controls exist. The other facts may
    // still come: the clock measurement alone takes half a second.
    const Watched watched = WatchUntil(program, click, [&] {
        return program.SelectedPage() == kSystemInfoTab && ItemCount(program.Control(ids::ListView(2))) == kEntries;
    });
    program.WaitForSystemInfo(60000);
    return watched;
}

// Closes the window right after a refresh started that reads every entry
// again (one changed) and measures its clock: from WM_CLOSE to the process's end.
double TimeClosingWhileRefreshing(e2e::Program& program) {
    program.SelectPage(0);
    const std::string key = std::string(kUninstall) + "\\{entry-0}";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayName", REG_SZ, "Program 0", sizeof("Program 0"));
    program.SelectPage(kSystemInfoTab);
    if (IsWindowEnabled(program.Control(ids::Button(35))))
        std::printf("the refresh was over before the window was closed\n");
    const double start = Now();
    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    if (!program.WaitForExit(60000))
        std::printf("the program did not end\n");
    return Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = std::max(3, argc > 1 ? std::atoi(argv[1]) : 5);
    CreateEntries();
    std::vector<double> plain, watchedPlain, complete, answers, unchanged, ratios, closing;
    for (int run = 0; run < runs; ++run) {
        e2e::Program program;
        const Watched first = TimeRefresh(program);
        complete.push_back(first.elapsed);
        answers.push_back(first.longestAnswer);
        program.SelectPage(kWinIniTab);
        const double start = Now();
        program.SelectPage(kSystemInfoTab);  // returns once the page handled the click
        unchanged.push_back(Now() - start);
        if (ItemCount(program.Control(ids::ListView(2))) != kEntries)
            std::printf("re-activation lost items\n");
        program.WaitForSystemInfo(60000);
        // The reference in the same surroundings: beside the program, idle now.
        plain.push_back(PlainLoop());
        watchedPlain.push_back(WatchedPlainLoop(program));
        ratios.push_back(complete.back() / plain.back());
        closing.push_back(TimeClosingWhileRefreshing(program));
    }
    const double reference = Median(plain);
    std::printf("SYSTEM INFO, %d uninstall entries, median of %d:\n", kEntries, runs);
    bench::PrintFigure("  software list complete from the click", Median(complete), "plain Win32 loop", reference, 1.2);
    std::printf("  the same, ratio within each run:        median %.2f (runs:", Median(ratios));
    for (double ratio : ratios)
        std::printf(" %.2f", ratio);
    std::printf(")\n");
    std::printf("  the plain loop watched as the program is: %8.1f ms, ratio %.2f\n", Median(watchedPlain),
                Median(complete) / Median(watchedPlain));
    bench::PrintLimit("  re-activation, nothing changed", Median(unchanged), 200);
    bench::PrintLimit("  longest wait for an answer meanwhile", Median(answers), 200);
    bench::PrintLimit("  closing while it refreshes", Median(closing), 1000);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall);
    return 0;
}
