// The REGISTRY SETTINGS page of the real program against Wine's own taskbar
// (virtual desktop) and Wine's registry editor.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

constexpr char kDetachedMark[] = "QorDetachedStartButton";
constexpr char kPolicyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

HWND Taskbar() { return FindWindowA("Shell_TrayWnd", nullptr); }
bool IsTopLevel(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }
bool HasVisibleStyle(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::optional<DWORD> PolicyValue(const char* name) {
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kPolicyKey, name, RRF_RT_REG_DWORD, &type, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void DeletePolicyValue(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

// Windows that belong to this test's process, made and served on a thread of
// their own so that the program's calls on them never wait for the test.
class TestWindows {
public:
    TestWindows() : thread_([this] { Serve(); }) {}
    ~TestWindows() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    // Creates a window of `className` on the serving thread.
    HWND Make(const char* className, HWND parent) {
        HWND made = nullptr;
        Run([&] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = className;
            RegisterClassA(&windowClass);  // "Button" is the system's own
            const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
            made = CreateWindowExA(0, className, "test", style, 300, 0, 60, 18, parent, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        });
        return made;
    }

private:
    void Serve() {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
        threadId_ = GetCurrentThreadId();
        ready_ = true;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (message.hwnd == nullptr && message.message == WM_APP) {
                (*reinterpret_cast<std::function<void()>*>(message.lParam))();
                SetEvent(reinterpret_cast<HANDLE>(message.wParam));
                continue;
            }
            DispatchMessageA(&message);
        }
    }  // the thread's windows go with it
    void Run(std::function<void()> work) {
        e2e::PollFor([this] { return ready_.load(); });
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        PostThreadMessageA(threadId_, WM_APP, reinterpret_cast<WPARAM>(done), reinterpret_cast<LPARAM>(&work));
        WaitForSingleObject(done, 10000);
        CloseHandle(done);
    }

    std::atomic<bool> ready_{false};
    DWORD threadId_ = 0;
    std::thread thread_;
};

class TweaksEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // Wine starts the virtual desktop, and its taskbar, when a process first
        // asks for the desktop window; FindWindow alone does not. The desktop
        // left by an earlier process may have closed by now.
        GetDesktopWindow();
        ASSERT_TRUE(e2e::PollFor([this] { return (taskbar_ = Taskbar()) && IsWindowVisible(taskbar_); }))
            << "no visible taskbar: is the virtual desktop on?";
        startButton_ = FindWindowExA(taskbar_, nullptr, "Button", nullptr);
        ASSERT_NE(startButton_, nullptr);
        // Start-up reads win.ini first; without it the program stops at an error box.
        if (!drive_c::Exists("c:\\windows\\win.ini"))
            drive_c::WriteBytes("c:\\windows\\win.ini", "[mail]\r\n");
        // Not a first run, and nothing to restore: the state files are absent.
        drive_c::Remove("c:\\qor");
        drive_c::MakeFolder("c:\\qor");
        drive_c::WriteBytes("c:\\QOR\\install.txt", "Memo8\r\n");
        drive_c::Remove("c:\\test.reg");
    }
    void TearDown() override {
        // Leave the shell as the next test expects it.
        if (IsTopLevel(startButton_))
            SetParent(startButton_, taskbar_);
        ShowWindow(startButton_, SW_SHOWNORMAL);
        ShowWindow(taskbar_, SW_RESTORE);
        drive_c::Remove("c:\\qor");
        drive_c::Remove("c:\\test.reg");
    }
    void Open(e2e::Program& program) {
        ASSERT_NE(program.Window(), nullptr);
        program.SelectPage(kRegistrySettingsTab);
    }

    HWND taskbar_ = nullptr;
    HWND startButton_ = nullptr;
};

TEST_F(TweaksEndToEnd, HideTaskbarHidesItNowAndAgainAtTheNextStart) {
    {
        e2e::Program program;
        Open(program);
        program.Click(ids::Button(17));
        EXPECT_TRUE(e2e::PollFor([&] { return !IsWindowVisible(taskbar_); }));
        EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\TB.txt"), "hide");
    }
    ShowWindow(taskbar_, SW_RESTORE);
    ASSERT_TRUE(IsWindowVisible(taskbar_));
    e2e::Program program;
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_FALSE(IsWindowVisible(taskbar_)) << "the start-up restore runs before the window shows";
    Open(program);
    program.Click(ids::Button(18));
    EXPECT_TRUE(e2e::PollFor([&] { return IsWindowVisible(taskbar_) != FALSE; }));
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\TB.txt"), "show");
}

TEST_F(TweaksEndToEnd, ApplyOnTheCommandLineRestoresTheChoicesWithoutAFirstRunAndFailsAtAMissingFile) {
    drive_c::Remove("c:\\QOR\\install.txt");
    drive_c::WriteBytes("c:\\qor\\TB.txt", "hide");
    for (const char* file : {"c:\\qor\\SB.txt", "c:\\qor\\CL.txt", "c:\\qor\\ST.txt", "c:\\qor\\TM.txt"})
        drive_c::WriteBytes(file, "show");
    {
        e2e::Program program("", "/apply");
        EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    }
    EXPECT_FALSE(IsWindowVisible(taskbar_));
    EXPECT_FALSE(drive_c::Exists("c:\\QOR\\install.txt")) << "a first run";
    EXPECT_FALSE(drive_c::Exists("c:\\qor\\DI.txt")) << "a first run";

    // The start button's file is missing: the taskbar is hidden again, then the restore ends.
    ShowWindow(taskbar_, SW_RESTORE);
    drive_c::Remove("c:\\qor\\SB.txt");
    e2e::Program program("", "/apply");
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(1));
    EXPECT_FALSE(IsWindowVisible(taskbar_));
    EXPECT_FALSE(drive_c::Exists("c:\\qor\\SB.txt"));
}

TEST_F(TweaksEndToEnd, StartButtonIsDetachedAndPutBack) {
    e2e::Program program;
    Open(program);
    program.Click(ids::Button(19));
    EXPECT_TRUE(e2e::PollFor([&] { return IsTopLevel(startButton_) && !IsWindowVisible(startButton_); }));
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\SB.txt"), "hide");
    EXPECT_NE(GetPropA(startButton_, kDetachedMark), nullptr) << "marked as detached by the program";
    program.Click(ids::Button(20));
    EXPECT_TRUE(e2e::PollFor([&] { return GetParent(startButton_) == taskbar_ && IsWindowVisible(startButton_); }));
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\SB.txt"), "show");
    EXPECT_EQ(GetPropA(startButton_, kDetachedMark), nullptr);
}

TEST_F(TweaksEndToEnd, AStartButtonDetachedByAnotherHandIsNotPutBackAtStartUp) {
    // As a shell that keeps its start button as a top-level window would.
    SetParent(startButton_, nullptr);
    drive_c::WriteBytes("c:\\qor\\TB.txt", "show");
    drive_c::WriteBytes("c:\\qor\\SB.txt", "show");
    drive_c::BackDate("c:\\qor\\SB.txt");
    e2e::Program program;
    ASSERT_NE(program.Window(), nullptr);
    // The start button's "show" handler rewrites its word: then the restore has passed the button.
    EXPECT_TRUE(e2e::PollFor([] { return drive_c::WrittenSinceBackDated("c:\\qor\\SB.txt"); }))
        << "the start button's choice was not restored";
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\SB.txt"), "show");
    EXPECT_TRUE(IsTopLevel(startButton_));
}

TEST_F(TweaksEndToEnd, AFirstRunMarkerHeldByAnotherProgramKeepsTheSavedChoices) {
    drive_c::WriteBytes("c:\\qor\\DI.txt", "hide");
    HANDLE held = CreateFileA("c:\\QOR\\install.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        e2e::Program program;
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_TRUE(program.MessageBoxes().empty());
    }
    CloseHandle(held);
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\DI.txt"), "hide") << "a first run would have reset it";
    EXPECT_FALSE(drive_c::Exists("c:\\qor\\TB.txt"));
}

TEST_F(TweaksEndToEnd, ShowStartButtonLeavesAnotherProgramsButtonAlone) {
    TestWindows windows;
    const HWND foreign = windows.Make("Button", nullptr);
    ASSERT_NE(foreign, nullptr);
    e2e::Program program;
    Open(program);
    program.Click(ids::Button(20));  // the start button is in its place
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\SB.txt"), "show");
    EXPECT_TRUE(IsTopLevel(foreign));
    EXPECT_EQ(GetParent(startButton_), taskbar_);

    program.Click(ids::Button(19));
    program.Click(ids::Button(20));
    EXPECT_TRUE(e2e::PollFor([&] { return GetParent(startButton_) == taskbar_; }));
    EXPECT_TRUE(IsTopLevel(foreign));
    EXPECT_TRUE(IsWindowVisible(foreign));
}

TEST_F(TweaksEndToEnd, TrayAndClockButtonsHideAndShowTheirWindows) {
    TestWindows windows;
    const HWND tray = windows.Make("TrayNotifyWnd", taskbar_);
    ASSERT_NE(tray, nullptr);
    const HWND clock = windows.Make("TrayClockWClass", tray);
    ASSERT_NE(clock, nullptr);
    e2e::Program program;
    Open(program);
    program.Click(ids::Button(25));
    EXPECT_TRUE(e2e::PollFor([&] { return !HasVisibleStyle(clock); }));
    EXPECT_TRUE(HasVisibleStyle(tray));
    program.Click(ids::Button(23));
    EXPECT_TRUE(e2e::PollFor([&] { return !HasVisibleStyle(tray); }));
    program.Click(ids::Button(24));
    program.Click(ids::Button(26));
    EXPECT_TRUE(e2e::PollFor([&] { return HasVisibleStyle(tray) && HasVisibleStyle(clock); }));
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\ST.txt"), "show");
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\CL.txt"), "show");
}

TEST_F(TweaksEndToEnd, AHugeStateFileIsNeverReadAndTheWindowAnswersAtOnce) {
    const std::string huge = "hide" + std::string(60 << 20, ' ');
    drive_c::WriteBytes("c:\\qor\\TB.txt", huge);
    drive_c::WriteBytes("c:\\qor\\SB.txt", "hide");
    e2e::Program program;
    ASSERT_NE(program.Window(), nullptr);
    Open(program);
    const std::string state = program.Text(ids::Label(40));
    EXPECT_NE(state.find("Taskbar: shown\r\nStart button: shown"), std::string::npos)
        << "the restore ends at a state file it cannot read: " << state;
    EXPECT_TRUE(program.MessageBoxes().empty());
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\TB.txt").size(), huge.size());
}

TEST_F(TweaksEndToEnd, PolicyFileIsImportedFromDriveCRootWhateverTheCurrentFolder) {
    // A stray test.reg in the program's current folder must not be imported.
    drive_c::Remove("c:\\qorwd");
    drive_c::MakeFolder("c:\\qorwd");
    drive_c::WriteBytes("c:\\qorwd\\test.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + std::string(kPolicyKey) +
                                                   "]\r\n\"NoRun\"=dword:00000002\r\n");
    DeletePolicyValue("NoRun");
    e2e::Program program("c:\\qorwd");
    Open(program);
    program.Click(ids::Button(27));
    EXPECT_EQ(drive_c::ReadBytes("c:\\test.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]"
              "\r\n\"NoRun\"=dword:00000001\r\n");
    EXPECT_TRUE(e2e::PollFor([] { return PolicyValue("NoRun") == 1u; }, 30000)) << "NoRun never became 1";
    program.Click(ids::Button(28));
    EXPECT_TRUE(e2e::PollFor([] { return PolicyValue("NoRun") == 0u; }, 30000)) << "NoRun never became 0";
    EXPECT_EQ(drive_c::CountMatching("c:\\qor", "*.txt"), 1) << "only the marker";
    DeletePolicyValue("NoRun");
    drive_c::Remove("c:\\qorwd");
}

TEST_F(TweaksEndToEnd, ReadOnlyPolicyFileShowsTheErrorAndOpensNothing) {
    DeletePolicyValue("NoRun");
    DeletePolicyValue("NoDesktop");
    drive_c::WriteBytes("c:\\test.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + std::string(kPolicyKey) +
                                            "]\r\n\"NoRun\"=dword:00000003\r\n");
    SetFileAttributesA("c:\\test.reg", FILE_ATTRIBUTE_READONLY);
    e2e::Program program;
    Open(program);
    program.Click(ids::Button(27));
    const std::optional<e2e::MessageBoxInfo> box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "Cannot create file c:\\test.reg: it is read-only.");
    program.PressOk(*box);

    // A later policy import lands; the refused one never does.
    SetFileAttributesA("c:\\test.reg", FILE_ATTRIBUTE_NORMAL);
    program.Click(ids::Button(22));
    EXPECT_TRUE(e2e::PollFor([] { return PolicyValue("NoDesktop") == 0u; }, 30000));
    EXPECT_FALSE(PolicyValue("NoRun").has_value());
    DeletePolicyValue("NoDesktop");
}

}  // namespace

TEST_F(TweaksEndToEnd, CurrentStateShowsTheShellAfterEachClickAndThePolicyOnceImported) {
    DeletePolicyValue("NoRun");
    e2e::Program program;
    Open(program);
    const auto state = [&] { return program.Text(ids::Label(40)); };
    const auto shows = [&](const std::string& line) { return state().find(line) != std::string::npos; };
    EXPECT_TRUE(shows("Taskbar: shown\r\nStart button: shown\r\nSystem tray: not found\r\nClock: not found"))
        << state();
    EXPECT_TRUE(shows("NoRun: not set")) << state();

    program.Click(ids::Button(17));
    EXPECT_TRUE(shows("Taskbar: hidden")) << state();
    program.Click(ids::Button(19));
    EXPECT_TRUE(shows("Start button: hidden")) << state();

    program.Click(ids::Button(27));
    EXPECT_TRUE(e2e::PollFor([&] { return shows("NoRun: 1"); }, 30000)) << state();
    DeletePolicyValue("NoRun");
}
