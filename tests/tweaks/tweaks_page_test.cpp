#include "tweaks/tweaks_page.h"

#include <commctrl.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "core/app_error.h"
#include "ui/control_ids.h"
#include "tweaks/policy_files.h"
#include "support/drive_c.h"
#include "support/error_of.h"
#include "support/fake_security.h"
#include "support/fake_shell.h"
#include "support/fake_system_info.h"
#include "support/fake_windowing.h"
#include "support/linked_drive.h"
#include "support/program.h"
#include "support/scratch_drive.h"
#include "support/scratch_sheet.h"
#include "sysinfo/fakes.h"

namespace {

const char* const kStatePaths[] = {"c:\\qor\\TB.txt", "c:\\qor\\SB.txt", "c:\\qor\\DI.txt",
                                   "c:\\qor\\ST.txt", "c:\\qor\\CL.txt", "c:\\qor\\RU.txt",
                                   "c:\\qor\\SE.txt", "c:\\qor\\DO.txt", "c:\\qor\\TM.txt"};

// The scratch drive C, noting the security the last new file and folder were
// given, and whether c:\qor could be moved away while a file in it was
// written; what it opens is a link only when a test says so.
class SecuredDrive : public LinkedDrive {
public:
    SecuredDrive() { links = false; }

    HANDLE CreateNew(const std::string& path, const std::string& security, DWORD& error) override {
        fileSecurity = security;
        return LinkedDrive::CreateNew(path, security, error);
    }
    bool MakeDirectory(const std::string& path, const std::string& security) override {
        folderSecurity = security;
        return LinkedDrive::MakeDirectory(path, security);
    }
    DWORD Write(HANDLE file, std::string_view bytes) override {
        const std::string moved = Path("c:\\qor-moved");
        if (MoveFileA(Path("c:\\qor").c_str(), moved.c_str())) {
            folderMovedDuringAWrite = true;
            MoveFileA(moved.c_str(), Path("c:\\qor").c_str());
        }
        return LinkedDrive::Write(file, bytes);
    }

    std::string fileSecurity, folderSecurity;
    bool folderMovedDuringAWrite = false;
};

class TweaksPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The design's font: with a wider one the button columns widen.
        page_.Create(Page::RegistrySettings, sheet_.Context(ui::Dpi(), font_.get()));
        page_.CreateRest(Page::RegistrySettings, sheet_.Context(ui::Dpi(), font_.get()));
        // As in the main window, the hint window comes after the page: the hints wait for it.
        sheet_.Hints().Create(sheet_.Window());
    }

    HWND Control(int id) { return GetDlgItem(sheet_.Handle(), id); }
    std::string Text(int id) { return ui::Window(Control(id)).Text(); }
    void Click(int button) { sheet_.Click(ids::Button(button)); }
    // Where a file of drive C lies in the scratch folder.
    std::string OnDisk(const std::string& path) const { return drive_.Path(path); }
    void WriteState(const char* name, const std::string& word) {
        drive_c::MakeFolder(OnDisk("c:\\qor"));
        drive_c::WriteBytes(OnDisk(std::string("c:\\qor\\") + name + ".txt"), word);
    }
    std::string State(const char* name) { return drive_c::ReadBytes(OnDisk(std::string("c:\\qor\\") + name + ".txt")); }
    // The start-up sequence of the main window: restore (silenced), then first-run check.
    void StartUp() {
        try {
            page_.RestoreToggles();
        } catch (const AppError&) {
        }
        page_.FirstRunCheck();
    }

    ui::Font font_ = ui::CreateDesignFont({}, ui::Dpi());
    SecuredDrive drive_;  // an empty stand-in for drive C in every test
    FakeWindowing windowing_;
    FakeShellWindows shellWindows_{windowing_};
    FakeShell shell_;
    FakeSystemInfo system_;
    FakeSecurity security_;  // elevated; what it meets belongs to Administrators
    TweaksPage page_{drive_, windowing_, shell_, platform::RealRegistry(), system_, security_};
    ScratchSheet sheet_{page_};
};

RECT DesignRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(TweaksPageTest, EachHideButtonStandsLeftOfItsShowButtonAndTheLongButtonsSpanBoth) {
    // What the user sees: a column of Hide buttons, each with its Show button
    // on the same row to its right, from the taskbar down, then the two key
    // combination buttons across both columns, all clear of the explanation.
    const char* const rows[] = {"Taskbar", "Startbutton", "Desktopicons", "SystemTray",
                                "Clock",   "Run",         "Search",       "Documents"};
    std::map<std::string, RECT> byCaption;
    for (HWND child = GetWindow(sheet_.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        GetClassNameA(child, className, sizeof(className));
        if (lstrcmpiA(className, "Button") == 0)
            byCaption[ui::Window(child).Text()] = DesignRect(child);
    }
    ASSERT_EQ(byCaption.size(), 18u);
    const RECT explanation = DesignRect(Control(ids::Memo(18)));
    LONG previousTop = -1;
    for (const char* row : rows) {
        const RECT hide = byCaption.at(std::string("Hide ") + row), show = byCaption.at(std::string("Show ") + row);
        EXPECT_EQ(hide.top, show.top) << row;
        EXPECT_LE(hide.right, show.left + 1) << row << ": the columns overlap by one pixel at most";
        EXPECT_GT(hide.top, previousTop) << row;
        EXPECT_LT(show.right, explanation.left) << row;
        previousTop = hide.top;
    }
    const RECT left = byCaption.at("Hide Taskbar"), right = byCaption.at("Show Taskbar");
    for (const char* caption : {"Enable CTRL+ALT+DEL/ALT TAB", "Disable CTRL+ALT+DEL/ALT TAB"}) {
        const RECT wide = byCaption.at(caption);
        EXPECT_EQ(wide.left, left.left) << caption;
        EXPECT_EQ(wide.right, right.right) << caption;
        EXPECT_GT(wide.top, previousTop) << caption;
        previousTop = wide.top;
    }

    EXPECT_EQ(Text(ids::Memo(18)),
              "Explanation\r\n_________\r\n\r\n\r\n"
              "By pressing the button the settings will be saved whenever you start this program.\r\n"
              "By putting this program in your startup folder Windows 9.X will startup the way you want. ");
    EXPECT_FALSE(GetWindowLongA(Control(ids::Memo(18)), GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongA(Control(ids::Memo(18)), GWL_STYLE) & ES_READONLY);

    EXPECT_FALSE(IsWindowVisible(Control(ids::Memo(7))));
    EXPECT_EQ(Text(ids::Memo(8)), "Memo8\r\n");
    for (int memo = 8; memo <= 17; ++memo) {
        const RECT holder = DesignRect(Control(ids::Memo(memo)));
        EXPECT_EQ(holder.bottom - holder.top, 0) << "Memo" << memo;
        if (memo > 8) {
            EXPECT_EQ(Text(ids::Memo(memo)), "Show\r\n") << "Memo" << memo;
        }
    }
}

struct TooltipSearch {
    HWND owner, tooltip;
};

BOOL CALLBACK FindTooltip(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0 || GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    search->tooltip = window;
    return FALSE;
}

// The hint of every tool in the tooltip window that `owner` owns, by tool window.
std::vector<std::pair<HWND, std::string>> HintsOf(HWND owner) {
    TooltipSearch search{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
    std::vector<std::pair<HWND, std::string>> hints;
    if (!search.tooltip)
        return hints;
    const int count = static_cast<int>(SendMessageA(search.tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[80] = {};  // the size TTM_ENUMTOOLS may fill
        TOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.lpszText = text;
        SendMessageA(search.tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
        hints.emplace_back(reinterpret_cast<HWND>(tool.uId), text);
    }
    return hints;
}

TEST_F(TweaksPageTest, PolicyButtonsHintAtTheRebootAndTheExplanationTakesThePageColour) {
    std::vector<std::pair<HWND, std::string>> expected;
    for (int button : {21, 22, 27, 28, 29, 30, 31, 32})
        expected.emplace_back(Control(ids::Button(button)), "You will need to reboot");
    EXPECT_EQ(HintsOf(sheet_.Window()), expected);

    HDC dc = GetDC(Control(ids::Memo(18)));
    EXPECT_EQ(page_.ControlColor(dc, Control(ids::Memo(18))), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(page_.ControlColor(dc, Control(ids::Memo(7))), nullptr);
    ReleaseDC(Control(ids::Memo(18)), dc);
}

TEST_F(TweaksPageTest, FirstRunWritesMarkerAndNineFourByteFilesWithKeysLeftEnabled) {
    page_.FirstRunCheck();
    EXPECT_EQ(drive_c::ReadBytes(OnDisk("c:\\QOR\\install.txt")), "Memo8\r\n");
    for (const char* path : kStatePaths) {
        const std::string expected = std::string(path) == "c:\\qor\\TM.txt" ? "hide" : "show";
        EXPECT_EQ(drive_c::ReadBytes(OnDisk(path)), expected) << path;
    }
    EXPECT_TRUE(windowing_.shows.empty());
    EXPECT_TRUE(windowing_.parameters.empty());
}

TEST_F(TweaksPageTest, ExistingMarkerSkipsInitialisation) {
    WriteState("TB", "hide");
    drive_c::WriteBytes(OnDisk("c:\\qor\\install.txt"), "anything");
    page_.FirstRunCheck();
    EXPECT_EQ(State("TB"), "hide");
    EXPECT_FALSE(drive_c::Exists(OnDisk("c:\\qor\\SB.txt")));
}

TEST_F(TweaksPageTest, PlainFileNamedQorStopsTheFirstRunBeforeAnyWrite) {
    drive_c::WriteBytes(OnDisk("c:\\QOR"), "not a folder");
    EXPECT_EQ(ErrorOf([&] { page_.FirstRunCheck(); }), "Cannot create C:\\QOR");
    EXPECT_EQ(drive_c::ReadBytes(OnDisk("c:\\QOR")), "not a folder");
    EXPECT_EQ(drive_c::CountMatching(OnDisk("c:\\"), "*.qortmp"), 0);
}

TEST_F(TweaksPageTest, FirstRunStopsAtTheFirstFailedWrite) {
    WriteState("DI", "hide");
    drive_.SetAttributes("c:\\qor\\DI.txt", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ErrorOf([&] { page_.FirstRunCheck(); }), "Cannot create file c:\\qor\\DI.txt: it is read-only");
    EXPECT_EQ(State("TB"), "show");
    EXPECT_EQ(State("SB"), "show");
    EXPECT_EQ(State("DI"), "hide");
    EXPECT_FALSE(drive_c::Exists(OnDisk("c:\\qor\\ST.txt")));
    EXPECT_FALSE(drive_c::Exists(OnDisk("c:\\qor\\TM.txt")));
}

TEST_F(TweaksPageTest, RestoreOfFirstRunFilesShowsEverythingAndRewritesTheFiles) {
    page_.FirstRunCheck();
    for (const char* path : kStatePaths)
        drive_c::WriteBytes(OnDisk(path), "show");
    page_.RestoreToggles();
    EXPECT_TRUE(windowing_[shellWindows_.taskbar].visible);
    ASSERT_EQ(windowing_.shows.size(), 3u);  // taskbar, clock, tray; the start button was never detached
    EXPECT_EQ(windowing_.shows[0].command, 9);
    EXPECT_EQ(windowing_.shows[1].window, shellWindows_.clock);
    EXPECT_EQ(windowing_.shows[2].window, shellWindows_.tray);
    ASSERT_EQ(windowing_.parameters.size(), 1u);
    EXPECT_EQ(windowing_.parameters[0].param, 1u);
    for (const char* name : {"TB", "SB", "CL", "ST", "TM"})
        EXPECT_EQ(State(name), "show") << name;
}

TEST_F(TweaksPageTest, RestoreAppliesHiddenStatesInOrder) {
    for (const char* name : {"TB", "SB", "CL", "ST", "TM"})
        WriteState(name, "hide");
    page_.RestoreToggles();
    EXPECT_FALSE(windowing_[shellWindows_.taskbar].visible);
    EXPECT_EQ(windowing_[shellWindows_.startButton].parent, nullptr);
    EXPECT_FALSE(windowing_[shellWindows_.clock].visible);
    EXPECT_FALSE(windowing_[shellWindows_.tray].visible);
    ASSERT_EQ(windowing_.parameters.size(), 1u);
    EXPECT_EQ(windowing_.parameters[0].param, 0u);
    ASSERT_EQ(windowing_.shows.size(), 4u);
    EXPECT_EQ(windowing_.shows[2].window, shellWindows_.clock);  // CL before ST
    EXPECT_EQ(Text(ids::Memo(9)), "hide");
}

TEST_F(TweaksPageTest, HandEditedWordRestoresNothingForThatToggle) {
    for (const char* name : {"SB", "CL", "ST", "TM"})
        WriteState(name, "hide");
    WriteState("TB", "show\r\n");
    page_.RestoreToggles();
    EXPECT_TRUE(windowing_[shellWindows_.taskbar].visible);
    EXPECT_EQ(State("TB"), "show\r\n");
    EXPECT_FALSE(windowing_[shellWindows_.tray].visible);  // the others still restored
}

TEST_F(TweaksPageTest, MissingTaskbarFileRestoresNothing) {
    for (const char* name : {"SB", "CL", "ST", "TM"})
        WriteState(name, "hide");
    EXPECT_NE(ErrorOf([&] { page_.RestoreToggles(); }), "no error");
    EXPECT_TRUE(windowing_.shows.empty());
    EXPECT_TRUE(windowing_.parameters.empty());
}

TEST_F(TweaksPageTest, ReadOnlyStateFileAppliesItsToggleThenEndsTheRestore) {
    for (const char* name : {"TB", "SB", "CL", "ST", "TM"})
        WriteState(name, "hide");
    drive_.SetAttributes("c:\\qor\\SB.txt", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ErrorOf([&] { page_.RestoreToggles(); }), "Cannot create file c:\\qor\\SB.txt: it is read-only");
    EXPECT_EQ(windowing_[shellWindows_.startButton].parent, nullptr);
    EXPECT_TRUE(windowing_[shellWindows_.clock].visible);
    EXPECT_TRUE(windowing_.parameters.empty());
    drive_.SetAttributes("c:\\qor\\SB.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TweaksPageTest, MissingMarkerAppliesOldWordsBeforeResettingTheFiles) {
    for (const char* name : {"TB", "SB", "CL", "ST", "TM"})
        WriteState(name, "hide");
    StartUp();
    EXPECT_FALSE(windowing_[shellWindows_.taskbar].visible);
    EXPECT_FALSE(windowing_[shellWindows_.tray].visible);
    EXPECT_EQ(State("TB"), "show");
    EXPECT_EQ(State("TM"), "hide");
    EXPECT_EQ(drive_c::ReadBytes(OnDisk("c:\\QOR\\install.txt")).size(), 7u);
}

TEST_F(TweaksPageTest, KeyComboButtonsRecordTheirReversedWords) {
    drive_c::MakeFolder(OnDisk("c:\\qor"));
    Click(15);
    EXPECT_EQ(State("TM"), "show");
    Click(7);
    EXPECT_EQ(State("TM"), "hide");
    ASSERT_EQ(windowing_.parameters.size(), 2u);
    EXPECT_EQ(windowing_.parameters[0].action, 97u);
    EXPECT_EQ(windowing_.parameters[0].param, 1u);
    EXPECT_EQ(windowing_.parameters[1].param, 0u);
}

TEST_F(TweaksPageTest, EachToggleButtonActsThenRecordsItsWord) {
    struct Toggle {
        int button;
        const char* file;
        const char* word;
        HWND window;
    };
    const FakeShellWindows& shell = shellWindows_;
    const Toggle toggles[] = {{17, "TB", "hide", shell.taskbar},     {18, "TB", "show", shell.taskbar},
                              {19, "SB", "hide", shell.startButton}, {20, "SB", "show", shell.startButton},
                              {23, "ST", "hide", shell.tray},        {24, "ST", "show", shell.tray},
                              {25, "CL", "hide", shell.clock},       {26, "CL", "show", shell.clock}};
    drive_c::MakeFolder(OnDisk("c:\\qor"));
    for (const Toggle& toggle : toggles) {
        windowing_.shows.clear();
        Click(toggle.button);
        // Its own window, and only that one, is shown or hidden.
        ASSERT_EQ(windowing_.shows.size(), 1u) << "Button" << toggle.button;
        EXPECT_EQ(windowing_.shows[0].window, toggle.window) << "Button" << toggle.button;
        EXPECT_EQ(windowing_[toggle.window].visible, std::string(toggle.word) == "show") << "Button" << toggle.button;
        EXPECT_EQ(State(toggle.file), toggle.word) << "Button" << toggle.button;
    }
    EXPECT_EQ(drive_c::CountMatching(OnDisk("c:\\qor"), "*"), 4 + 2);  // four files, "." and ".."
}

TEST_F(TweaksPageTest, UnwritableStateFileFailsAfterTheShellChanged) {
    WriteState("TB", "show");
    drive_.SetAttributes("c:\\qor\\TB.txt", FILE_ATTRIBUTE_READONLY);
    // A click would end in the error box.
    EXPECT_EQ(ErrorOf([&] { page_.Button17Click(); }), "Cannot create file c:\\qor\\TB.txt: it is read-only");
    EXPECT_FALSE(windowing_[shellWindows_.taskbar].visible);
    EXPECT_EQ(Text(ids::Memo(9)), "hide");
    drive_.SetAttributes("c:\\qor\\TB.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TweaksPageTest, PolicyButtonsWriteTheImportFileAndHandItToTheWindowsFoldersRegistryEditor) {
    system_.windowsDirectory = "C:\\WINNT";
    struct Policy {
        int button;
        const char* valueLine;
    };
    const Policy policies[] = {{21, "\"NoDesktop\"=dword:00000001"},
                               {22, "\"NoDesktop\"=dword:00000000"},
                               {27, "\"NoRun\"=dword:00000001"},
                               {28, "\"NoRun\"=dword:00000000"},
                               {29, "\"NoFind\"=dword:00000001"},
                               {30, "\"NoFind\"=dword:00000000"},
                               {31, "\"NoRecentDocsMenu\"=dword:00000001"},
                               {32, "\"NoRecentDocsMenu\"=dword:00000000"}};
    for (const Policy& policy : policies) {
        Click(policy.button);
        EXPECT_EQ(
            drive_c::ReadBytes(OnDisk("c:\\test.reg")),
            std::string("REGEDIT4\r\n\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]\r\n") +
                policy.valueLine + "\r\n")
            << "Button" << policy.button;
    }
    // Each starts the Windows folder's registry editor in drive C's root, the file's name quoted, shown normally.
    EXPECT_EQ(shell_.calls, std::vector<std::string>(8,
                                                     "StartProgram(\"C:\\WINNT\\regedit.exe\", "
                                                     "\"regedit.exe \"c:\\test.reg\"\", \"c:\\\", 5)"));
    EXPECT_FALSE(drive_c::Exists(OnDisk("c:\\qor")));
    EXPECT_TRUE(windowing_.shows.empty());
}

TEST_F(TweaksPageTest, ReadOnlyPolicyFileOpensNothing) {
    drive_c::WriteBytes(OnDisk("c:\\test.reg"), "old");
    drive_.SetAttributes("c:\\test.reg", FILE_ATTRIBUTE_READONLY);
    // A click would end in the error box.
    EXPECT_EQ(ErrorOf([&] { page_.Button27Click(); }), "Cannot create file c:\\test.reg: it is read-only");
    EXPECT_TRUE(shell_.calls.empty());
    EXPECT_EQ(drive_c::ReadBytes(OnDisk("c:\\test.reg")), "old");
    drive_.SetAttributes("c:\\test.reg", FILE_ATTRIBUTE_NORMAL);
}

bool Opens(const std::string& path, DWORD access) {
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    CloseHandle(file);
    return file != INVALID_HANDLE_VALUE;
}

TEST_F(TweaksPageTest, ThePolicyFileCanOnlyBeReadUntilTheRegistryEditorEnds) {
    const std::string policyFile = OnDisk("c:\\test.reg");
    Click(27);
    EXPECT_TRUE(Opens(policyFile, GENERIC_READ));
    EXPECT_FALSE(Opens(policyFile, GENERIC_WRITE));
    EXPECT_FALSE(Opens(policyFile, DELETE));
    // The next policy replaces the file the running editor was handed.
    Click(28);
    EXPECT_NE(drive_c::ReadBytes(policyFile).find("\"NoRun\"=dword:00000000"), std::string::npos);
    EXPECT_FALSE(Opens(policyFile, GENERIC_WRITE));
    shell_.EndPrograms();
    EXPECT_TRUE(e2e::PollFor([&] { return Opens(policyFile, GENERIC_WRITE) && Opens(policyFile, DELETE); }));
}

// What `sid` may do by the DACL of `sddl`: on the object itself, and on the
// files made in it when it is a folder.
struct Rights {
    ACCESS_MASK itself = 0, files = 0;
};
Rights RightsOf(const std::string& sddl, const char* sid) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PSID who = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    Rights rights;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr) ||
        !ConvertStringSidToSidA(sid, &who) || !GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted))
        ADD_FAILURE() << sddl;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        GetAce(dacl, i, reinterpret_cast<void**>(&ace));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << sddl;
        if (!EqualSid(who, &ace->SidStart))
            continue;
        if (!(ace->Header.AceFlags & INHERIT_ONLY_ACE))
            rights.itself |= ace->Mask;
        if (ace->Header.AceFlags & OBJECT_INHERIT_ACE)
            rights.files |= ace->Mask;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << sddl << ": drive C's rights would pass on";
    LocalFree(who);
    LocalFree(descriptor);
    return rights;
}

constexpr ACCESS_MASK kTakeOrRemove = DELETE | WRITE_DAC | WRITE_OWNER;
constexpr ACCESS_MASK kChange = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES;

TEST_F(TweaksPageTest, UsersMayAddAndWriteStateFilesButNeitherRemoveNorTakeAnythingAndOnlyReadThePolicyFile) {
    page_.FirstRunCheck();
    const std::string folder = drive_.folderSecurity;
    for (const char* administrator : {"BA", "SY"}) {
        EXPECT_EQ(RightsOf(folder, administrator).itself, FILE_ALL_ACCESS) << administrator;
        EXPECT_EQ(RightsOf(folder, administrator).files, FILE_ALL_ACCESS) << administrator;
    }
    const Rights users = RightsOf(folder, "BU");
    EXPECT_EQ(users.itself & (FILE_LIST_DIRECTORY | FILE_ADD_FILE), FILE_LIST_DIRECTORY | FILE_ADD_FILE);
    EXPECT_EQ(users.itself & (kTakeOrRemove | FILE_DELETE_CHILD | FILE_ADD_SUBDIRECTORY | FILE_WRITE_ATTRIBUTES), 0u);
    EXPECT_EQ(users.files & (FILE_READ_DATA | FILE_WRITE_DATA), FILE_READ_DATA | FILE_WRITE_DATA);
    EXPECT_EQ(users.files & kTakeOrRemove, 0u);
    EXPECT_EQ(RightsOf(folder, "CO").files & DELETE, DELETE) << "whoever made a file may remove it";
    EXPECT_EQ(RightsOf(folder, "WD").itself | RightsOf(folder, "AU").itself, 0u);
    EXPECT_EQ(drive_.fileSecurity, "") << "a state file takes what the folder passes on";

    Click(27);
    const std::string policyFile = drive_.fileSecurity;
    EXPECT_EQ(RightsOf(policyFile, "BA").itself, FILE_ALL_ACCESS);
    EXPECT_EQ(RightsOf(policyFile, "SY").itself, FILE_ALL_ACCESS);
    EXPECT_EQ(RightsOf(policyFile, "BU").itself & FILE_READ_DATA, FILE_READ_DATA);
    EXPECT_EQ(RightsOf(policyFile, "BU").itself & (kChange | kTakeOrRemove), 0u);
    // A standard user's policy file is made as before.
    security_.elevated = false;
    Click(28);
    EXPECT_EQ(drive_.fileSecurity, "");
}

TEST_F(TweaksPageTest, AnElevatedRunUsesOnlyAStateFolderOfAdministratorsSystemOrItsOwnUser) {
    struct Case {
        bool elevated;
        std::string owner;
        const char* refusal;
    };
    const std::string jane = "S-1-5-21-1-2-3-1002";
    security_.names[jane] = "PC\\jane";
    const Case cases[] = {
        {true, platform::kAdministratorsSid, ""}, {true, platform::kSystemSid, ""},       {true, security_.user, ""},
        {true, jane, "it belongs to PC\\jane"},   {true, "", "its owner cannot be read"}, {false, jane, ""}};
    drive_c::MakeFolder(OnDisk("c:\\qor"));
    for (const Case& test : cases) {
        security_.elevated = test.elevated;
        security_.owner = test.owner;
        const StateFolder folder(drive_, security_);
        EXPECT_EQ(folder.Refusal(), test.refusal) << test.owner << (test.elevated ? ", elevated" : "");
        EXPECT_EQ(folder.IsHeld(), std::string(test.refusal).empty()) << test.owner;
    }
    // A link is refused even where nobody asks for its owner.
    drive_.links = true;
    EXPECT_EQ(StateFolder(drive_, security_).Refusal(), "it is a link to another place");
}

TEST_F(TweaksPageTest, ARefusedStateFolderIsSaidOnceARunAndNothingInItIsReadOrWritten) {
    WriteState("TB", "show");
    drive_c::WriteBytes(OnDisk("c:\\QOR\\install.txt"), "Memo8\r\n");
    security_.owner = "S-1-5-21-1-2-3-1002";
    security_.names[security_.owner] = "PC\\jane";
    EXPECT_NE(ErrorOf([&] { page_.RestoreToggles(); }), "no error");  // which start-up passes over in silence
    EXPECT_TRUE(windowing_.shows.empty());
    EXPECT_EQ(ErrorOf([&] { page_.FirstRunCheck(); }), "Cannot use C:\\QOR: it belongs to PC\\jane");
    EXPECT_EQ(ErrorOf([&] { page_.Button17Click(); }), "no error");
    EXPECT_FALSE(windowing_[shellWindows_.taskbar].visible) << "the shell still changes";
    EXPECT_EQ(State("TB"), "show");
    EXPECT_EQ(ErrorOf([&] { page_.FirstRunCheck(); }), "no error");
}

TEST_F(TweaksPageTest, TheStateFolderCannotBeMovedAwayWhileAToggleWritesInIt) {
    WriteState("TB", "show");
    Click(17);
    EXPECT_EQ(State("TB"), "hide");
    EXPECT_FALSE(drive_.folderMovedDuringAWrite);
    EXPECT_TRUE(MoveFileA(OnDisk("c:\\qor").c_str(), OnDisk("c:\\qor-moved").c_str())) << "held no longer";
}

}  // namespace

TEST(PolicyValueText, NamesTheKeyOfEachValueAndReadsDwordsAndFourByteBinariesAsNumbers) {
    using Hive = FakeRegistry::Hive;
    FakeRegistry registry;
    const char key[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    registry.SetDword(Hive::Machine64, key, "NoRun", 1);
    registry.SetBinary(Hive::User, key, "NoRun", std::string(4, '\0'));
    registry.SetBinary(Hive::User, key, "NoDesktop", std::string("\x02\x01\0\0", 4));
    registry.SetString(Hive::Machine64, key, "NoFind", "1");
    registry.SetBinary(Hive::User, key, "NoRecentDocsMenu", "\x01");
    registry.SetDword(Hive::Machine32, key, "NoClose", 1);
    EXPECT_EQ(PolicyValueText(registry, "NoRun"), "1 (HKLM), 0 (HKCU)");
    EXPECT_EQ(PolicyValueText(registry, "NoDesktop"), "258 (HKCU)") << "a binary value in Windows 9x's byte order";
    EXPECT_EQ(PolicyValueText(registry, "NoFind"), "not a number (HKLM)");
    EXPECT_EQ(PolicyValueText(registry, "NoRecentDocsMenu"), "not a number (HKCU)");
    EXPECT_EQ(PolicyValueText(registry, "NoClose"), "not set") << "the 32-bit view is not where policies are read";
}
