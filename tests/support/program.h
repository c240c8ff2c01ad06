#pragma once
// Drives the real qorsysed.exe of this build, started in the same Wine
// prefix, the way a user would: clicks tabs and buttons, reads what the
// controls and message boxes show. Every wait polls with a bound.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Polls `condition` every 20 ms until it holds or `timeoutMs` passed.
bool PollFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000, DWORD intervalMs = 20);

// The program's path: qorsysed.exe in the folder above the test programs.
std::string ProgramPath();

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    bool hasErrorIcon = false;
};

class Program {
public:
    // Starts the program in `workingDirectory` (its own folder when empty),
    // with `arguments` on its command line.
    explicit Program(const std::string& workingDirectory = "", const std::string& arguments = "");
    // Closes every box it shows and its window; ends it if it does not go.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD ProcessId() const { return process_.dwProcessId; }
    HANDLE Process() const { return process_.hProcess; }
    // The main window, once visible and the start-up is over (fails the
    // test if it never shows).
    HWND Window();
    // The main window the moment it shows, before the program has done what
    // it does once shown; null, and a failure, if it never shows.
    HWND FirstSight();
    // Stops the program's window thread until Resume: what the test sends
    // meanwhile waits in the program's queues behind what it posted itself.
    void Suspend() { SuspendThread(process_.hThread); }
    void Resume() { ResumeThread(process_.hThread); }
    // The control with the designer number `id` (see app/control_ids.h).
    HWND Control(int id);
    std::string Text(int id);
    bool IsVisible(int id);
    // The control's rectangle in the main window's client coordinates.
    RECT Bounds(int id);

    // Clicks the tab at `index` (0 = WINI.INI) and waits until the program
    // has handled it or shows a message box.
    void SelectPage(int index);
    int SelectedPage();
    // Tab `index`'s rectangle in the page control's client area.
    RECT TabRect(int index);
    std::vector<std::string> TabCaptions();
    // Clicks a button and waits likewise.
    void Click(int buttonId);
    // Replaces an editor's text as typing would.
    void Type(int editId, const std::string& text);

    // Keys as the user presses them: through the system's input queue and the
    // program's message loop to its focused control.
    void PressKey(WORD key, bool shift = false, bool control = false);
    // The same in another window of the program, such as the Compare window.
    void PressKeyIn(HWND window, WORD key, bool shift = false, bool control = false);
    void TypeKeys(const std::string& text);
    // A character no key of the keyboard layout gives, as an input method types it.
    void TypeCharacter(wchar_t character);
    // Clicks into an editor at its top left, as a user does before typing.
    void ClickInto(int editId);
    // The program's focused control.
    HWND FocusedControl();

    // Message boxes of this program.
    std::optional<MessageBoxInfo> WaitForMessageBox(DWORD timeoutMs = 15000);
    std::vector<MessageBoxInfo> MessageBoxes();
    void PressOk(const MessageBoxInfo& box) { Press(box, IDOK); }
    // Presses the box's button IDOK, IDYES, IDNO or IDCANCEL.
    void Press(const MessageBoxInfo& box, int buttonId);

    // List view items' captions, in display order.
    std::vector<std::string> ListItems(int listId);
    // The same of a list view in any window of the program.
    std::vector<std::string> ListItems(HWND list);
    // Item `index`'s whole row in the list's client coordinates.
    RECT ListItemBounds(HWND list, int index);
    // How wide `text` is in the list's font (LVM_GETSTRINGWIDTH), in pixels.
    int ListTextWidth(int listId, const std::string& text);
    // Clicks item `index`, which selects it and gives the list the focus.
    void ClickListItem(int listId, int index);
    // Selects item `index` and double-clicks it.
    void DoubleClickListItem(int listId, int index);
    // Renames item `index` in place as the user does: its edit box, a new
    // text, Enter. Returns the text the edit box started from.
    std::string RenameListItem(int listId, int index, const std::string& caption);

    // The control with that id, or nullptr: for pages that may not be built yet.
    HWND FindControl(int id);
    // True once SYSTEM INFO is the selected page and its refresh is over:
    // its hidden Button35 is enabled again. False after `timeoutMs`.
    bool WaitForSystemInfo(DWORD timeoutMs = 15000);
    // True once the program has handled every message sent before.
    bool WaitUntilIdle(DWORD timeoutMs = 15000);
    // Waits for the process to end; its exit code, or nothing on time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 15000);

private:
    // The centre of item `index`'s caption, scrolled into view, in the list's client coordinates.
    POINT ListItemCentre(HWND list, int index);
    // Sends `message` from a helper thread and returns once the program has
    // handled it, or once it shows a message box (the handler then goes on
    // when the box is closed).
    void SendAndWait(HWND target, UINT message, WPARAM wParam, LPARAM lParam);
    void FinishPendingSend();

    PROCESS_INFORMATION process_{};
    std::thread pendingSend_;
    std::shared_ptr<std::atomic<bool>> pendingHandled_;
    HWND window_ = nullptr;
};

}  // namespace e2e
