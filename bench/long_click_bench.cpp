// The file page's long clicks on an 8 MB WIN.INI and its backup, under the
// same Wine as their references:
//  - Compare, from the click to the window showing its first lines, beside
//    GNU diff on the same pair (timed by bench/run.sh, given as argument 1);
//  - how long the main window took at most to answer a message during each
//    of Compare, closing the Compare window, Save, Restore and Back Up, and a
//    page change to an 8 MB CONFIG.SYS, each until its editor holds all of it.
// Usage: long_click_bench pair (writes the pair, for GNU diff to be timed on
// first), then long_click_bench GNU_DIFF_MS [runs].
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "figure.h"
#include "sysfiles/compare_window.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "ui/control_ids.h"

namespace {

const char kFile[] = "c:\\windows\\win.ini";
const char kBackUp[] = "c:\\windows\\winBU.ini";
const char kBigPageFile[] = "c:\\config.sys";
constexpr int kConfigSysPage = 5;
constexpr char kCompareTitle[] = "Compare - c:\\windows\\win.ini with c:\\windows\\winBU.ini";
constexpr int kLines = 130000;
constexpr int kChangedEvery = 1000;  // 130 changed lines

// An INI file of 130,000 distinct lines in sections, about 7.8 MB.
std::string Pair(bool backUp) {
    std::string text;
    for (int i = 0; i < kLines; ++i) {
        if (i % 20 == 0) {
            text += "[Section " + std::to_string(i / 20) + "]\r\n";
            continue;
        }
        const bool changed = backUp && i % kChangedEvery == 7;
        text += "Key" + std::to_string(i) + "=" +
                (changed ? "an older value of the setting in this section "
                         : "a value of the setting in this section of the file ") +
                std::to_string(i * 7919 % 100003) + ",0,1\r\n";
    }
    return text;
}

// Asks the window to answer every few milliseconds on a thread of its own
// and keeps the longest wait since the last Reset.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const double sent = bench::Now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
                  const double waited = bench::Now() - sent;
                  double longest = longest_.load();
                  while (waited > longest && !longest_.compare_exchange_weak(longest, waited)) {
                  }
                  Sleep(2);
              }
          }) {}
    ~AnswerProbe() {
        stop_ = true;
        thread_.join();
    }
    void Reset() { longest_ = 0; }
    double Longest() const { return longest_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

HWND CompareWindowOf(e2e::Program& program) {
    for (HWND found = FindWindowA(nullptr, kCompareTitle); found;
         found = FindWindowExA(nullptr, found, nullptr, kCompareTitle)) {
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        if (process == program.ProcessId() && IsWindowVisible(found))
            return found;
    }
    return nullptr;
}

// The Compare window shows lines: its list has them and has painted.
bool ShowsLines(HWND window) {
    HWND list = GetDlgItem(window, CompareWindow::kListId);
    return list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0 && !GetUpdateRect(list, nullptr, FALSE);
}

// Waits until the editor holds all of its text: it is read-only while
// pieces of a long text still go in.
void WaitForWholeText(e2e::Program& program, int memo) {
    HWND editor = program.Control(ids::Memo(memo));
    e2e::PollFor([&] { return (GetWindowLongA(editor, GWL_STYLE) & ES_READONLY) == 0; }, 120000, 5);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "pair") {
        drive_c::WriteBytes(kFile, Pair(false));
        drive_c::WriteBytes(kBackUp, Pair(true));
        return 0;
    }
    const double gnuDiff = argc > 1 ? std::atof(argv[1]) : 0;
    const int runs = std::max(3, argc > 2 ? std::atoi(argv[2]) : 5);

    std::vector<double> compare;
    std::map<std::string, std::vector<double>> answers;
    drive_c::WriteBytes(kBigPageFile, Pair(false));
    for (int run = 0; run < runs; ++run) {
        e2e::Program program;
        HWND window = program.Window();
        e2e::PollFor([&] { return program.FindControl(ids::Label(5)) != nullptr; }, 60000);
        WaitForWholeText(program, 1);
        program.WaitUntilIdle(60000);
        AnswerProbe probe(window);
        const auto during = [&](const char* click, const std::function<void()>& work) {
            program.WaitUntilIdle(60000);
            probe.Reset();
            work();
            program.WaitUntilIdle(60000);
            answers[click].push_back(probe.Longest());
        };
        during("Compare", [&] {
            const double start = bench::Now();
            PostMessageA(program.Control(ids::Button(42)), BM_CLICK, 0, 0);
            HWND shown = nullptr;
            e2e::PollFor([&] { return (shown = CompareWindowOf(program)) && ShowsLines(shown); }, 60000, 1);
            compare.push_back(bench::Now() - start);
        });
        during("closing the Compare window", [&] {
            HWND shown = CompareWindowOf(program);
            PostMessageA(shown, WM_CLOSE, 0, 0);
            e2e::PollFor([&] { return !IsWindow(shown); }, 60000, 1);
        });
        during("Save", [&] { program.Click(ids::Button(2)); });
        during("Restore", [&] {
            program.Click(ids::Button(41));
            WaitForWholeText(program, 1);
        });
        during("Back Up", [&] { program.Click(ids::Button(1)); });
        during("a page change to an 8 MB file", [&] {
            program.SelectPage(kConfigSysPage);
            WaitForWholeText(program, 6);
        });
        if (!program.MessageBoxes().empty())
            std::printf("a message box was shown: the clicks did not all do their work\n");
    }
    drive_c::Remove(kBigPageFile);
    std::printf("Long clicks on an 8 MB WIN.INI (%d lines, %d changed in the backup), median of %d:\n", kLines,
                kLines / kChangedEvery, runs);
    if (gnuDiff > 0)
        bench::PrintFigure("  Compare, click to the first lines shown", bench::Median(compare), "GNU diff", gnuDiff,
                           2.0);
    for (const auto& [click, longest] : answers)
        bench::PrintLimit(("  longest answer during " + click).c_str(), bench::Median(longest), 200);
    return 0;
}
