// SYSTEM INFO of the real program with 5,000 uninstall entries, each figure
// beside its reference from the same run, as medians:
//  - the software list complete, counted from the tab click, against a plain
//    Win32 loop reading the same display names;
//  - re-activation with nothing changed under the uninstall keys;
//  - the longest the window took to answer a message while it refreshed;
//  - closing the window while it refreshes, until the program has ended.
// Usage: sysinfo_refresh_bench [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/control_ids.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr int kEntries = 5000;

double Now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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

// The reference: the display names read by the plainest Win32 loop.
double PlainLoop() {
    const double start = Now();
    HKEY uninstall = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ, &uninstall);
    int found = 0;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(uninstall, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY entry = nullptr;
        if (RegOpenKeyExA(uninstall, name, 0, KEY_READ, &entry) != ERROR_SUCCESS)
            continue;
        char displayName[1024];
        DWORD size = sizeof(displayName);
        if (RegQueryValueExA(entry, "DisplayName", nullptr, nullptr, reinterpret_cast<BYTE*>(displayName), &size) ==
            ERROR_SUCCESS)
            ++found;
        RegCloseKey(entry);
    }
    RegCloseKey(uninstall);
    if (found != kEntries)
        std::printf("plain loop found %d names\n", found);
    return Now() - start;
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

struct Refresh {
    double listComplete = 0;   // from the click to the whole list and the refresh's end
    double longestAnswer = 0;  // the slowest round of questions to the window meanwhile
};

Refresh TimeRefresh(e2e::Program& program) {
    HWND window = program.Window();
    HWND tabs = program.Control(ids::PageControl1);
    // Clicked as a user would, once the window is ready: every page built
    // (the ABOUT page, built last, has its Label5).
    e2e::PollFor([&] { return program.FindControl(ids::Label(5)) != nullptr; });
    program.WaitUntilIdle();
    Refresh refresh;
    const double click = Now();
    PostMessageA(tabs, TCM_SETCURFOCUS, kSystemInfoTab, 0);
    for (;;) {
        // Every call below waits for the program's window thread to answer.
        const double sent = Now();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
        // Once the page is selected its controls exist. The other facts
        // may still come: the clock measurement alone takes half a second.
        const bool complete =
            program.SelectedPage() == kSystemInfoTab && ItemCount(program.Control(ids::ListView(2))) == kEntries;
        refresh.longestAnswer = std::max(refresh.longestAnswer, Now() - sent);
        if (complete)
            break;
        Sleep(5);
    }
    refresh.listComplete = Now() - click;
    program.WaitForSystemInfo(60000);
    return refresh;
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
    std::vector<double> plain, complete, answers, unchanged, ratios, closing;
    for (int run = 0; run < runs; ++run) {
        e2e::Program program;
        const Refresh first = TimeRefresh(program);
        complete.push_back(first.listComplete);
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
        ratios.push_back(complete.back() / plain.back());
        closing.push_back(TimeClosingWhileRefreshing(program));
    }
    const double reference = Median(plain);
    std::printf("SYSTEM INFO, %d uninstall entries, median of %d:\n", kEntries, runs);
    std::printf(
        "  software list complete from the click: %8.1f ms   (plain Win32 loop: %8.1f ms; ratio %.2f, goal 1.2)\n",
        Median(complete), reference, Median(complete) / reference);
    std::printf("  the same, ratio within each run:        median %.2f (runs:", Median(ratios));
    for (double ratio : ratios)
        std::printf(" %.2f", ratio);
    std::printf(")\n");
    std::printf("  re-activation, nothing changed:        %8.1f ms   (goal 200 ms; ratio %.2f)\n", Median(unchanged),
                Median(unchanged) / 200.0);
    std::printf("  longest wait for an answer meanwhile:  %8.1f ms   (goal 200 ms; ratio %.2f)\n", Median(answers),
                Median(answers) / 200.0);
    std::printf("  closing while it refreshes:            %8.1f ms   (goal 1000 ms; ratio %.2f)\n", Median(closing),
                Median(closing) / 1000.0);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall);
    return 0;
}
