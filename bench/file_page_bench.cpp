// Start-up and 8 MB file page timings of qorsysed.exe under the same Wine,
// each beside its reference, as medians of several runs taken in turns.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "figure.h"
#include "support/drive_c.h"
#include "ui/control_ids.h"
#include "ui/controls.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

constexpr int kRuns = 5;
// The 8 MB layout takes seconds, and the machine's load changes over that
// time: more turns, each measuring the page and its reference in turn-about
// order, keep a drift from weighing on one side only.
constexpr int kPageTurns = 9;
// A start-up takes a fraction of a second and varies much with the load of a
// shared machine: many turns keep its median steady.
constexpr int kStartUpTurns = 30;
const char kBigFile[] = "c:\\config.sys";

double Milliseconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MedianOf(const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(run());
    return Median(times);
}

std::string Folder() {
    std::string path = e2e::ProgramPath();
    return path.substr(0, path.find_last_of('\\'));
}

// Starts `commandLine` and returns the process once a visible top-level
// window of it answers a message and `ready` holds. Looked for every
// millisecond: the start-ups measured take only some hundred.
PROCESS_INFORMATION StartAndWait(std::string commandLine, const std::function<bool(HWND)>& ready) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    e2e::PollFor(
        [&] {
            for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                DWORD_PTR result;
                if (owner == process.dwProcessId && IsWindowVisible(window) && ready(window) &&
                    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result))
                    return true;
            }
            return false;
        },
        120000, 1);
    return process;
}

void Stop(PROCESS_INFORMATION& process) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool Any(HWND) { return true; }

BOOL CALLBACK FindFilledWinIniEditor(HWND child, LPARAM found) {
    if (GetDlgCtrlID(child) != ids::Memo(1) || SendMessageA(child, WM_GETTEXTLENGTH, 0, 0) == 0)
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// The sight the program's start-up is over at: WIN.INI's text in its editor.
bool HoldsWinIni(HWND window) {
    bool found = false;
    EnumChildWindows(window, FindFilledWinIniEditor, reinterpret_cast<LPARAM>(&found));
    return found;
}

double TimeStart(const std::string& commandLine, const std::function<bool(HWND)>& ready) {
    PROCESS_INFORMATION process{};
    const double ms = Milliseconds([&] { process = StartAndWait(commandLine, ready); });
    Stop(process);
    return ms;
}

struct StartUp {
    double shown = 0;     // the window showing WIN.INI answers
    double finished = 0;  // the program waits for input: start-up steps done, every page built
};

StartUp TimeStartUp(const std::string& commandLine) {
    StartUp times;
    PROCESS_INFORMATION process{};
    times.shown = Milliseconds([&] { process = StartAndWait(commandLine, HoldsWinIni); });
    times.finished = times.shown + Milliseconds([&] { WaitForInputIdle(process.hProcess, 60000); });
    Stop(process);
    return times;
}

// Pieces of a long text go into an editor while it is read-only.
void WaitForWholeText(HWND editor) {
    e2e::PollFor([&] { return (GetWindowLongA(editor, GWL_STYLE) & ES_READONLY) == 0; }, 120000, 1);
}

bool HasText(HWND window) {
    HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
    return edit && SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) > 0;
}

// The same text given the same way to a program of its own that holds only
// such an edit control: sent a message, as the page is sent its click.
double EditProgram() {
    PROCESS_INFORMATION process = StartAndWait("\"" + Folder() + "\\bench\\edit_window.exe\" " + kBigFile, Any);
    HWND window = FindWindowA("EditWindow", nullptr);
    const double ms = Milliseconds([&] { SendMessageA(window, WM_APP, 0, 0); });
    Stop(process);
    return ms;
}

std::string EightMegabytes() {
    std::string text;
    while (text.size() < 8 * 1024 * 1024)
        text += "DEVICE=C:\\WINDOWS\\HIMEM.SYS ; a configuration line of a big file\r\n";
    return text;
}

// A multi-line edit control of the editor's size, word-wrapping, given the
// text; with `font`, or the system font when it is null. The edit control
// lays out the whole text when it gets it, and how long that takes depends
// much on the font, so the editor's own font is the fair reference.
double BareEditControl(const std::string& text, HFONT font) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | ES_MULTILINE, 0, 0, 790, 393, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    if (font)
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const double ms = Milliseconds([&] { SetWindowTextA(edit, text.c_str()); });
    DestroyWindow(edit);
    return ms;
}

}  // namespace

int main() {
    const std::string program = "\"" + e2e::ProgramPath() + "\"";
    drive_c::WriteBytes("c:\\windows\\win.ini", "[windows]\r\nload=\r\n");

    // Taken in turns, so that a busier spell of the machine weighs on both.
    std::vector<double> shown, finished, empty, firstScreen, ratios;
    for (int i = 0; i < kStartUpTurns; ++i) {
        const StartUp times = TimeStartUp(program);
        shown.push_back(times.shown);
        finished.push_back(times.finished);
        empty.push_back(TimeStart("\"" + Folder() + "\\bench\\empty_window.exe\"", Any));
        firstScreen.push_back(TimeStart("\"" + Folder() + "\\bench\\first_screen.exe\"", Any));
        ratios.push_back(shown.back() / empty.back());
    }
    bench::PrintFigure("start-up to WIN.INI's text in its editor", Median(shown), "empty Win32 window", Median(empty),
                       1.5);
    std::printf("                                                          (median ratio within each turn %.2f)\n",
                Median(ratios));
    std::printf(
        "                                                          (a window with only the first screen's controls: "
        "%8.1f ms, ratio to the empty window %.2f)\n",
        Median(firstScreen), Median(firstScreen) / Median(empty));
    std::printf(
        "  start-up steps done and every page built: %8.1f ms   (toggles restored and first-run check made from a "
        "message handled before any input)\n",
        Median(finished));

    const std::string big = EightMegabytes();
    drive_c::WriteBytes(kBigFile, big);
    const ui::Font editorFont = ui::CreateDesignFont({.bold = true}, ui::Dpi::OfScreen());
    std::vector<double> activation, reactivation, bareEdits, pageRatios, editPrograms, programRatios;
    const auto measureReferences = [&] {
        bareEdits.push_back(BareEditControl(big, editorFont.get()));
        editPrograms.push_back(EditProgram());
    };
    for (int i = 0; i < kPageTurns; ++i) {
        const bool referencesFirst = i % 2 == 1;
        if (referencesFirst)
            measureReferences();
        {
            e2e::Program qor;
            qor.Window();
            // Start-up over: its last steps and the pages built after the
            // first paint are counted in the start-up figures above.
            WaitForInputIdle(qor.Process(), 60000);
            activation.push_back(Milliseconds([&] {
                qor.SelectPage(kConfigSysTab);
                WaitForWholeText(qor.Control(ids::Memo(6)));
            }));
            qor.SelectPage(kRegistrySettingsTab);  // no file to load
            reactivation.push_back(Milliseconds([&] { qor.SelectPage(kConfigSysTab); }));
        }
        if (!referencesFirst)
            measureReferences();
        pageRatios.push_back(activation.back() / bareEdits.back());
        programRatios.push_back(activation.back() / editPrograms.back());
    }
    const double notepad = MedianOf([&] { return TimeStart(std::string("notepad.exe ") + kBigFile, HasText); });
    const double bareEdit = Median(bareEdits);
    const double systemFontEdit = MedianOf([&] { return BareEditControl(big, nullptr); });
    const double first = Median(activation);
    std::printf(
        "activation of an 8 MB page, to all its text: %7.1f ms   (it goes in by pieces, the window answering "
        "meanwhile; bare edit control with the editor's font given the text at once: %8.1f ms; ratio %.2f; median "
        "ratio within each turn %.2f)\n",
        first, bareEdit, first / bareEdit, Median(pageRatios));
    std::printf(
        "                                                          (the same with the system font: %8.1f ms, ratio "
        "%.2f; notepad opening the file: %8.1f ms, ratio %.2f)\n",
        systemFontEdit, first / systemFontEdit, notepad, first / notepad);
    std::printf(
        "                                                          (a program holding only such an edit control, "
        "given the file by a message: %8.1f ms, ratio %.2f; median ratio within each turn %.2f)\n",
        Median(editPrograms), first / Median(editPrograms), Median(programRatios));
    bench::PrintLimit("re-activation, file unchanged", Median(reactivation), 100);
    drive_c::Remove(kBigFile);
    return 0;
}
