#include "support/program.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/find_control.h"
#include "support/remote_memory.h"

#include "ui/control_ids.h"
#include "support/tabs.h"

namespace e2e {

bool PollFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD intervalMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(intervalMs);
    }
}

std::string ProgramPath() {
    std::string path(MAX_PATH, '\0');
    path.resize(GetModuleFileNameA(nullptr, path.data(), MAX_PATH));
    path.resize(path.find_last_of('\\'));  // the tests folder
    path.resize(path.find_last_of('\\'));  // the build folder
    return path + "\\qorsysed.exe";
}

namespace {

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    text.resize(copied);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

bool HasVisibleIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Static" || !IsWindowVisible(child))
            continue;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

void PostClick(HWND window, POINT at, UINT down, UINT up) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(window, down, MK_LBUTTON, where);
    PostMessageA(window, up, 0, where);
}

POINT Centre(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

}  // namespace

Program::Program(const std::string& workingDirectory, const std::string& arguments) {
    const std::string path = ProgramPath();
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    BOOL started = FALSE;
    DWORD error = ERROR_SUCCESS;
    // Wine now and then fails to start a program right after another one
    // ended, with ERROR_INTERNAL_ERROR before any of its code ran; it starts
    // on another try.
    PollFor(
        [&] {
            // CreateProcessA may write into it.
            std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
            started =
                CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &process_);
            error = started ? ERROR_SUCCESS : GetLastError();
            return started || error != ERROR_INTERNAL_ERROR;
        },
        10000, 100);
    if (!started)
        ADD_FAILURE() << "cannot start " << path << ": error " << error;
}

Program::~Program() {
    // Detached first: a thread left joinable would end the test program.
    if (pendingSend_.joinable())
        pendingSend_.detach();
    if (!process_.hProcess)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        if (window_)
            PostMessageA(window_, WM_CLOSE, 0, 0);
        // Boxes are closed, and a question about unsaved text is answered No.
        const bool ended = PollFor(
            [this] {
                for (const MessageBoxInfo& box : MessageBoxes())
                    PostMessageA(box.window, WM_COMMAND, GetDlgItem(box.window, IDNO) ? IDNO : IDOK, 0);
                return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
            },
            10000);
        if (!ended) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Program::FirstSight() {
    HWND shown = nullptr;
    PollFor([&] { return (shown = FindProgramWindow(ProcessId())) != nullptr; }, 15000, 1);
    if (!shown)
        ADD_FAILURE() << "the main window never showed";
    return shown;
}

HWND Program::Window() {
    if (window_)
        return window_;
    window_ = FirstSight();
    // The rest of the start-up and the other pages come from messages the
    // window posts to itself; the program waits for input once they are done.
    if (window_ && WaitForInputIdle(process_.hProcess, 120000) != 0)
        ADD_FAILURE() << "the start-up never finished";
    return window_;
}

HWND Program::FindControl(int id) { return FindControlById(Window(), id); }

HWND Program::Control(int id) {
    HWND found = FindControl(id);
    if (!found)
        ADD_FAILURE() << "no control with id " << id;
    return found;
}

std::string Program::Text(int id) { return WindowText(Control(id)); }

bool Program::IsVisible(int id) { return IsWindowVisible(Control(id)) != FALSE; }

RECT Program::Bounds(int id) {
    RECT rect{};
    GetWindowRect(Control(id), &rect);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT Program::TabRect(int index) {
    return RemoteRect(Process(), Control(ids::PageControl1), TCM_GETITEMRECT, static_cast<WPARAM>(index));
}

void Program::SelectPage(int index) {
    HWND tabs = Control(ids::PageControl1);
    const POINT at = Centre(TabRect(index));
    // The tab changes on the button going down; its handler may show a box,
    // so the button comes up by the queue.
    SendAndWait(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(tabs, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

int Program::SelectedPage() { return static_cast<int>(SendMessageA(Control(ids::PageControl1), TCM_GETCURSEL, 0, 0)); }

std::vector<std::string> Program::TabCaptions() {
    HWND tabs = Control(ids::PageControl1);
    constexpr size_t kTextSize = 256;
    RemoteMemory memory(Process(), sizeof(TCITEMA) + kTextSize);
    std::vector<std::string> captions;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.cchTextMax = kTextSize;
        item.pszText = reinterpret_cast<char*>(memory.Address(sizeof(TCITEMA)));
        memory.Write(&item, sizeof(item));
        SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), memory.Address());
        std::string text(kTextSize, '\0');
        memory.Read(text.data(), text.size(), sizeof(TCITEMA));
        captions.push_back(text.c_str());
    }
    return captions;
}

void Program::Click(int buttonId) { SendAndWait(Control(buttonId), BM_CLICK, 0, 0); }

void Program::Type(int editId, const std::string& text) {
    SendMessageA(Control(editId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

}  // namespace

void Program::PressKey(WORD key, bool shift, bool control) { PressKeyIn(Window(), key, shift, control); }

void Program::PressKeyIn(HWND window, WORD key, bool shift, bool control) {
    SetForegroundWindow(window);
    if (control)
        SendKey(VK_CONTROL, false);
    if (shift)
        SendKey(VK_SHIFT, false);
    SendKey(key, false);
    SendKey(key, true);
    if (shift)
        SendKey(VK_SHIFT, true);
    if (control)
        SendKey(VK_CONTROL, true);
}

void Program::TypeKeys(const std::string& text) {
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        PressKey(static_cast<WORD>(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0, (HIBYTE(scan) & 2) != 0);
    }
}

void Program::TypeCharacter(wchar_t character) {
    SetForegroundWindow(Window());
    INPUT input[2]{};
    for (INPUT& key : input) {
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = character;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

std::string Program::RenameListItem(int listId, int index, const std::string& caption) {
    SetForegroundWindow(Window());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(Control(listId), LVM_EDITLABELA, static_cast<WPARAM>(index), 0));
    if (!edit) {
        ADD_FAILURE() << "item " << index << " of list " << listId << " has no edit box";
        return "";
    }
    const std::string before = WindowText(edit);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    PressKey(VK_RETURN);
    WaitUntilIdle();
    return before;
}

void Program::ClickInto(int editId) {
    // At the left margin: the caret goes before the first character whatever its width in the font.
    PostClick(Control(editId), {1, 4}, WM_LBUTTONDOWN, WM_LBUTTONUP);
    HWND edit = Control(editId);
    if (!PollFor([&] { return FocusedControl() == edit; }))
        ADD_FAILURE() << "the editor " << editId << " got no focus";
}

HWND Program::FocusedControl() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

void Program::SendAndWait(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!MessageBoxes().empty()) {
        ADD_FAILURE() << "a message box is still open: close it before message " << message;
        return;
    }
    FinishPendingSend();
    auto handled = pendingHandled_ = std::make_shared<std::atomic<bool>>(false);
    pendingSend_ = std::thread([=] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(target, message, wParam, lParam, SMTO_NORMAL, 300000, &result);
        *handled = true;
    });
    if (!PollFor([&] { return *handled || !MessageBoxes().empty(); }, 300000))
        ADD_FAILURE() << "the program did not handle message " << message;
}

void Program::FinishPendingSend() {
    if (pendingSend_.joinable())
        pendingSend_.join();
}

std::vector<MessageBoxInfo> Program::MessageBoxes() {
    std::vector<MessageBoxInfo> boxes;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(nullptr, candidate, "#32770", nullptr)) != nullptr) {
        if (ProcessOf(candidate) != ProcessId() || !IsWindowVisible(candidate))
            continue;
        HWND text = GetDlgItem(candidate, 0xFFFF);
        boxes.push_back({candidate, WindowText(candidate), text ? WindowText(text) : "", HasVisibleIcon(candidate)});
    }
    return boxes;
}

std::optional<MessageBoxInfo> Program::WaitForMessageBox(DWORD timeoutMs) {
    std::optional<MessageBoxInfo> found;
    PollFor(
        [&] {
            std::vector<MessageBoxInfo> boxes = MessageBoxes();
            if (!boxes.empty())
                found = boxes.front();
            return found.has_value();
        },
        timeoutMs);
    return found;
}

void Program::Press(const MessageBoxInfo& box, int buttonId) {
    HWND button = GetDlgItem(box.window, buttonId);
    if (!button)
        ADD_FAILURE() << "the box \"" << box.text << "\" has no button " << buttonId;
    PostMessageA(button, BM_CLICK, 0, 0);
    if (!PollFor([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }))
        ADD_FAILURE() << "the box \"" << box.text << "\" did not close";
    // The handler that showed the box goes on now; wait until it is done or
    // shows the next box.
    if (pendingHandled_)
        PollFor([&] { return *pendingHandled_ || !MessageBoxes().empty(); }, 300000);
    else
        WaitUntilIdle();
}

std::vector<std::string> Program::ListItems(int listId) { return ListItems(Control(listId)); }

RECT Program::ListItemBounds(HWND list, int index) {
    return RemoteRect(Process(), list, LVM_GETITEMRECT, static_cast<WPARAM>(index), {LVIR_BOUNDS, 0, 0, 0});
}

std::vector<std::string> Program::ListItems(HWND list) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    constexpr size_t kTextSize = 1024;
    RemoteMemory memory(Process(), sizeof(LVITEMA) + kTextSize);
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.cchTextMax = kTextSize;
        item.pszText = reinterpret_cast<char*>(memory.Address(sizeof(LVITEMA)));
        memory.Write(&item, sizeof(item));
        const LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), memory.Address());
        std::string text(static_cast<size_t>(length), '\0');
        memory.Read(text.data(), text.size(), sizeof(LVITEMA));
        items.push_back(text);
    }
    return items;
}

int Program::ListTextWidth(int listId, const std::string& text) {
    RemoteMemory memory(Process(), text.size() + 1);
    memory.Write(text.c_str(), text.size() + 1);
    return static_cast<int>(SendMessageA(Control(listId), LVM_GETSTRINGWIDTHA, 0, memory.Address()));
}

POINT Program::ListItemCentre(HWND list, int index) {
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    return Centre(RemoteRect(Process(), list, LVM_GETITEMRECT, static_cast<WPARAM>(index), {LVIR_LABEL, 0, 0, 0}));
}

void Program::ClickListItem(int listId, int index) {
    HWND list = Control(listId);
    PostClick(list, ListItemCentre(list, index), WM_LBUTTONDOWN, WM_LBUTTONUP);
    WaitUntilIdle();
}

void Program::DoubleClickListItem(int listId, int index) {
    HWND list = Control(listId);
    const POINT at = ListItemCentre(list, index);
    PostClick(list, at, WM_LBUTTONDOWN, WM_LBUTTONUP);
    PostClick(list, at, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
    WaitUntilIdle();
}

bool Program::WaitForSystemInfo(DWORD timeoutMs) {
    // The tab is selected once the program handled the click, which built the page and started the refresh.
    return PollFor(
        [this] {
            HWND button35 = SelectedPage() == kSystemInfoTab ? FindControl(ids::Button(35)) : nullptr;
            return button35 && IsWindowEnabled(button35);
        },
        timeoutMs);
}

bool Program::WaitUntilIdle(DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(Window(), WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

std::optional<DWORD> Program::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

}  // namespace e2e
