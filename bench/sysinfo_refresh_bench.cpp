// SYSTEM INFO of the real program with 5,000 uninstall entries, each figure
// beside its reference from the same run, as medians:
//  - the software list complete, counted from the tab click, against a plain
//    Win32 loop reading the same display names and uninstall commands from
//    the same three places;
//  - re-activation with nothing changed under the uninstall keys;
//  - the longest the window took to answer a message while it refreshed;
//  - closing the window while it refreshes, until the program has ended.
// Usage: sysinfo_refresh_bench [runs]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
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

// The reference: the same two values from the same three places the program
// reads, by the plainest loop on one thread.
double PlainLoop() {
    const double start = Now();
    const int found = ReadPlainly(HKEY_LOCAL_MACHINE, 0) + ReadPlainly(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY) +
                      ReadPlainly(HKEY_CURRENT_USER, 0);
    const double ms = Now() - start;
    if (found != kEntries)
        std::printf("plain loop found %d names\n", found);
    return ms;
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
    bench::PrintFigure("  software list complete from the click", Median(complete), "plain Win32 loop", reference, 1.2);
    std::printf("  the same, ratio within each run:        median %.2f (runs:", Median(ratios));
    for (double ratio : ratios)
        std::printf(" %.2f", ratio);
    std::printf(")\n");
    bench::PrintLimit("  re-activation, nothing changed", Median(unchanged), 200);
    bench::PrintLimit("  longest wait for an answer meanwhile", Median(answers), 200);
    bench::PrintLimit("  closing while it refreshes", Median(closing), 1000);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstall);
    return 0;
}
