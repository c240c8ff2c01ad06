// Restore and Compare on the file pages, driven through the real program.
#include <gtest/gtest.h>

#include "sysfiles/compare_window.h"
#include "sysfiles/line_diff.h"
#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/find_control.h"
#include "support/program.h"
#include "support/screen_picture.h"
#include "support/tabs.h"

namespace {

constexpr char kSystemIni[] = "c:\\windows\\system.ini";
constexpr char kSystemBackUp[] = "c:\\windows\\systemBU.ini";
const int kSystemIniEditor = ids::Memo(2);
const int kSystemRestore = ids::Button(43), kSystemBackUpButton = ids::Button(3), kSystemSave = ids::Button(10);
const int kWinIniCompare = ids::Button(42);
constexpr char kCompareTitle[] = "Compare - c:\\windows\\win.ini with c:\\windows\\winBU.ini";

constexpr char kBootIni[] = "c:\\boot.ini";
constexpr char kBootBackUp[] = "c:\\bootBU.ini";

bool IsDefault(const e2e::MessageBoxInfo& box, int buttonId) {
    return (GetWindowLongA(GetDlgItem(box.window, buttonId), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
}

bool IsEnabled(e2e::Program& program, int id) { return IsWindowEnabled(program.Control(id)) != FALSE; }

// The program's Compare window of WIN.INI, once it shows.
HWND FindCompareWindow(e2e::Program& program) {
    HWND found = nullptr;
    e2e::PollFor(
        [&] { return (found = e2e::FindShownWindow(program.ProcessId(), nullptr, kCompareTitle)) != nullptr; });
    return found;
}

// The background a line of each kind is drawn on.
COLORREF BackgroundOf(LineKind kind) {
    switch (kind) {
        case LineKind::OnlyInFirst:
            return RGB(220, 255, 220);
        case LineKind::OnlyInSecond:
            return RGB(255, 225, 225);
        case LineKind::Skipped:
            return RGB(230, 230, 238);
        case LineKind::Note:
            return RGB(255, 250, 205);
        case LineKind::Unchanged:
            break;
    }
    return GetSysColor(COLOR_WINDOW);
}

// The list's lines as shown, and the kind whose colours each is drawn in, told
// by the screen's pixels at the right end of its row: every line must show.
std::vector<std::string> ShownLines(e2e::Program& program, HWND list, std::vector<LineKind>& kinds) {
    e2e::PollFor([&] { return program.WaitUntilIdle() && !GetUpdateRect(list, nullptr, FALSE); });
    const ScreenPicture screen(GetAncestor(list, GA_ROOT));
    RECT client{};
    GetClientRect(list, &client);
    const std::vector<std::string> lines = program.ListItems(list);
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const RECT row = program.ListItemBounds(list, i);
        const COLORREF pixel = screen.At(list, std::min(row.right, client.right) - 4, (row.top + row.bottom) / 2);
        LineKind kind = LineKind::Unchanged;
        for (LineKind other : {LineKind::OnlyInFirst, LineKind::OnlyInSecond, LineKind::Skipped, LineKind::Note})
            if (pixel == BackgroundOf(other))
                kind = other;
        kinds.push_back(kind);
    }
    return lines;
}

// Some 2 MB of distinct lines, a text the editor takes in many pieces.
std::string LongIni(const std::string& value) {
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "Key" + std::to_string(i) + "=" + value + " value of the setting " + std::to_string(i * 7919) + "\r\n";
    return text;
}

bool ReadOnly(HWND editor) { return (GetWindowLongA(editor, GWL_STYLE) & ES_READONLY) != 0; }

}  // namespace

TEST(BackupToolsTest, ALongBackupRestoredAndSavedAtOnceIsWrittenWhole) {
    const std::string backUp = LongIni("an older");
    drive_c::WriteBytes(kSystemIni, "[boot]\r\nshell=explorer.exe\r\n");
    drive_c::WriteBytes(kSystemBackUp, backUp);
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    // Both clicks are handled before the editor's next piece: Save comes
    // while the backup is still going in.
    PostMessageA(program.Control(kSystemRestore), BM_CLICK, 0, 0);
    PostMessageA(program.Control(kSystemSave), BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::PollFor([&] { return drive_c::BeginsWith(kSystemIni, "Key0="); }, 60000));
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), backUp);
    HWND editor = program.Control(kSystemIniEditor);
    EXPECT_FALSE(ReadOnly(editor));
    EXPECT_EQ(SendMessageA(editor, EM_GETMODIFY, 0, 0), 0) << "all of it is saved";
    EXPECT_EQ(program.Text(kSystemIniEditor), backUp);
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST(BackupToolsTest, ClosingRightAfterSavingALongTextAsksNothingAndLeavesTheFileWhole) {
    const std::string restored = LongIni("a restored");
    drive_c::WriteBytes(kSystemIni, "[boot]\r\n");
    drive_c::WriteBytes(kSystemBackUp, restored);
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    program.Click(kSystemRestore);
    HWND editor = program.Control(kSystemIniEditor);
    ASSERT_TRUE(e2e::PollFor([&] { return !ReadOnly(editor); }, 60000));
    // The window closes while the file is still being written.
    PostMessageA(program.Control(kSystemSave), BM_CLICK, 0, 0);
    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(60000).has_value()) << "no question held the closing";
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), restored);
}

TEST(BackupToolsTest, ALongFileShownWhileThePageIsLeftAndShownAgainEndsWholeAtTheTopAndUnchanged) {
    const std::string file = LongIni("a");
    drive_c::WriteBytes(kSystemIni, file);
    drive_c::WriteBytes("c:\\windows\\control.ini", "[current]\r\n");
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    HWND editor = program.Control(kSystemIniEditor);
    ASSERT_TRUE(e2e::PollFor([&] { return !ReadOnly(editor); }, 60000));
    EXPECT_TRUE(program.MessageBoxes().empty()) << "showing the same file again asks nothing";
    EXPECT_EQ(program.Text(kSystemIniEditor), file);
    EXPECT_EQ(SendMessageA(editor, EM_GETMODIFY, 0, 0), 0);
    EXPECT_EQ(SendMessageA(editor, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the view stays at the top";
    program.ClickInto(kSystemIniEditor);
    program.PressKey(VK_HOME, false, true);
    program.TypeKeys("x");
    EXPECT_TRUE(e2e::PollFor([&] { return program.Text(kSystemIniEditor).rfind("xKey0=", 0) == 0; }));
}

TEST(BackupToolsTest, RestorePutsTheBackupIntoTheEditorAsUnsavedTyping) {
    drive_c::WriteBytes(kSystemIni, "[boot]\r\nshell=explorer.exe\r\n");
    drive_c::WriteBytes("c:\\windows\\control.ini", "[current]\r\n");
    drive_c::Remove(kSystemBackUp);
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    EXPECT_FALSE(IsEnabled(program, kSystemRestore)) << "no backup yet";
    program.Click(kSystemBackUpButton);
    EXPECT_TRUE(e2e::PollFor([&] { return IsEnabled(program, kSystemRestore); }));
    drive_c::WriteBytes(kSystemBackUp, "[boot]\nshell=old.exe\n");  // as an older backup

    const RECT backUp = program.Bounds(kSystemBackUpButton), restore = program.Bounds(kSystemRestore);
    const RECT compare = program.Bounds(ids::Button(44));
    EXPECT_EQ(compare.right - compare.left, backUp.right - backUp.left);
    EXPECT_EQ(restore.top, backUp.top);
    EXPECT_TRUE(restore.left < compare.left && compare.left < backUp.left) << "Restore, Compare, Back Up";

    program.ClickInto(kSystemIniEditor);
    program.TypeKeys("x");
    ASSERT_TRUE(e2e::PollFor([&] { return program.Text(kSystemIniEditor).rfind("x[boot]", 0) == 0; }));
    program.Click(kSystemRestore);
    auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << "typed text is not replaced without asking";
    EXPECT_NE(box->text.find(kSystemBackUp), std::string::npos) << box->text;
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(box->window, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
    program.Press(*box, IDNO);
    EXPECT_EQ(program.Text(kSystemIniEditor), "x[boot]\r\nshell=explorer.exe\r\n");

    program.Click(kSystemRestore);
    box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    program.Press(*box, IDYES);
    EXPECT_EQ(program.Text(kSystemIniEditor), "[boot]\r\nshell=old.exe\r\n");
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "[boot]\r\nshell=explorer.exe\r\n") << "only Save writes the file";

    // Unsaved typing survives a page change, and Save writes it.
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    EXPECT_EQ(program.Text(kSystemIniEditor), "[boot]\r\nshell=old.exe\r\n");
    EXPECT_TRUE(program.MessageBoxes().empty());
    program.Click(kSystemSave);
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "[boot]\r\nshell=old.exe\r\n");
}

TEST(BackupToolsTest, CompareShowsTheChangedLinesMarkedAndEscClosesIt) {
    const std::string common = "[intl]\r\niCountry=1\r\nsCountry=United States\r\n[windows]\r\nload=\r\nrun=\r\n";
    const std::string tail = "\r\n[Desktop]\r\nWallpaper=(None)\r\nTileWallpaper=0\r\nWallpaperStyle=0\r\n[mail]\r\n";
    drive_c::WriteBytes("c:\\windows\\win.ini", common + "device=new\r\n" + tail);
    drive_c::WriteBytes("c:\\windows\\winBU.ini", common + "device=old\r\n" + tail + "MAPI=1\r\n");
    e2e::Program program;
    program.Click(kWinIniCompare);
    const HWND window = FindCompareWindow(program);
    ASSERT_TRUE(window) << "no window titled " << kCompareTitle;
    const HWND list = GetDlgItem(window, CompareWindow::kListId);
    std::vector<LineKind> kinds;
    EXPECT_EQ(ShownLines(program, list, kinds),
              (std::vector<std::string>{"... 3 unchanged lines ...", "  [windows]", "  load=", "  run=", "+ device=new",
                                        "- device=old", "  ", "  [Desktop]", "  Wallpaper=(None)", "  TileWallpaper=0",
                                        "  WallpaperStyle=0", "  [mail]", "- MAPI=1"}));
    const auto same = LineKind::Unchanged, skipped = LineKind::Skipped;
    const auto file = LineKind::OnlyInFirst, backUp = LineKind::OnlyInSecond;
    EXPECT_EQ(kinds, (std::vector<LineKind>{skipped, same, same, same, file, backUp, same, same, same, same, same, same,
                                            backUp}))
        << "each line is drawn in its kind's colours";

    // Ctrl+Tab belongs to the window it is typed in: the main window behind keeps its page.
    program.PressKeyIn(window, VK_TAB, false, true);
    program.WaitUntilIdle();
    EXPECT_EQ(program.SelectedPage(), 0);
    EXPECT_TRUE(program.MessageBoxes().empty());

    program.PressKeyIn(window, VK_ESCAPE);
    EXPECT_TRUE(e2e::PollFor([&] { return !IsWindow(window); })) << "Esc closes the Compare window";
    EXPECT_TRUE(IsWindowVisible(program.Window())) << "and only it";

    program.Click(kWinIniCompare);
    const HWND again = FindCompareWindow(program);
    ASSERT_TRUE(again);
    PostMessageA(again, WM_SYSCOMMAND, SC_CLOSE, 0);  // its close button
    EXPECT_TRUE(e2e::PollFor([&] { return !IsWindow(again); }));
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST(BackupToolsTest, BackUpAsksBeforeReplacingAGoodBackupWithAnEditorThatLacksTheFile) {
    const std::string good = "[boot loader]\r\ntimeout=30\r\n";
    drive_c::Remove(kBootIni);  // as on every Windows since Vista
    drive_c::WriteBytes(kBootBackUp, good);
    e2e::Program program;
    program.SelectPage(kBootIniTab);
    auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "File not found");
    program.PressOk(*box);

    program.Click(ids::Button(5));  // Back Up
    box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << "the good backup was replaced without a word";
    EXPECT_NE(box->text.find("c:\\bootBU.ini holds an earlier backup"), std::string::npos) << box->text;
    EXPECT_NE(box->text.find("the file was not found"), std::string::npos) << box->text;
    EXPECT_TRUE(IsDefault(*box, IDNO));
    program.Press(*box, IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kBootBackUp), good);

    // With the whole file in the editor, Back Up is one click again.
    drive_c::WriteBytes(kBootIni, "[boot loader]\r\ntimeout=5\r\n");
    program.SelectPage(kSystemIniTab);
    program.SelectPage(kBootIniTab);
    program.Click(ids::Button(5));
    EXPECT_TRUE(program.MessageBoxes().empty());
    EXPECT_EQ(drive_c::ReadBytes(kBootBackUp), "[boot loader]\r\ntimeout=5\r\n");
    drive_c::Remove(kBootIni);
    drive_c::Remove(kBootBackUp);
}

TEST(BackupToolsTest, RestoreAsksBeforeLeavingTheBytesAfterAZeroByteBehind) {
    drive_c::WriteBytes(kSystemIni, "[boot]\r\nshell=explorer.exe\r\n");
    drive_c::WriteBytes(kSystemBackUp, std::string("[boot]\r\nshell=old.exe\r\n\0tail", 28));
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    program.Click(kSystemRestore);
    auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value()) << "the backup was cut at its zero byte without a word";
    EXPECT_NE(box->text.find("c:\\windows\\systemBU.ini holds 5 bytes from a zero byte on"), std::string::npos)
        << box->text;
    EXPECT_TRUE(IsDefault(*box, IDNO));
    program.Press(*box, IDNO);
    EXPECT_EQ(program.Text(kSystemIniEditor), "[boot]\r\nshell=explorer.exe\r\n");

    program.Click(kSystemRestore);
    box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    program.Press(*box, IDYES);
    EXPECT_EQ(program.Text(kSystemIniEditor), "[boot]\r\nshell=old.exe\r\n");
    drive_c::Remove(kSystemBackUp);
}

TEST(BackupToolsTest, CompareSaysWhatTheLinesDoNotShow) {
    drive_c::WriteBytes("c:\\windows\\win.ini", "[mail]\r\nMAPI=1\r\n");
    drive_c::WriteBytes("c:\\windows\\winBU.ini", std::string("[mail]\nMAPI=1\0xyz", 17));
    e2e::Program program;
    program.Click(kWinIniCompare);
    const HWND window = FindCompareWindow(program);
    ASSERT_TRUE(window);
    std::vector<LineKind> kinds;
    const std::vector<std::string> lines = ShownLines(program, GetDlgItem(window, CompareWindow::kListId), kinds);
    EXPECT_EQ(lines, (std::vector<std::string>{"The files also differ in what the lines do not show: line breaks, a "
                                               "final line break, bytes after a zero byte",
                                               "... 2 unchanged lines ..."}));
    EXPECT_EQ(kinds, (std::vector<LineKind>{LineKind::Note, LineKind::Skipped}));
    drive_c::Remove("c:\\windows\\winBU.ini");
}

TEST(BackupToolsTest, CompareOfALongFileShowsEachChangeDownToItsEnd) {
    std::string file, backUp;
    for (int i = 0; i < 20000; ++i) {
        const std::string line = "line " + std::to_string(i);
        file += line + "\r\n";
        backUp += (i == 5 || i == 19990 ? "old " + std::to_string(i) : line) + "\r\n";
    }
    drive_c::WriteBytes("c:\\windows\\win.ini", file);
    drive_c::WriteBytes("c:\\windows\\winBU.ini", backUp);
    e2e::Program program;
    program.Click(kWinIniCompare);
    const HWND window = FindCompareWindow(program);
    ASSERT_TRUE(window);
    EXPECT_EQ(program.ListItems(GetDlgItem(window, CompareWindow::kListId)),
              (std::vector<std::string>{"... 2 unchanged lines ...", "  line 2", "  line 3", "  line 4", "+ line 5",
                                        "- old 5", "  line 6", "  line 7", "  line 8", "... 19978 unchanged lines ...",
                                        "  line 19987", "  line 19988", "  line 19989", "+ line 19990", "- old 19990",
                                        "  line 19991", "  line 19992", "  line 19993", "... 6 unchanged lines ..."}));
    drive_c::Remove("c:\\windows\\winBU.ini");
}

TEST(BackupToolsTest, ClosingTheProgramWhileItComparesEndsItWithoutACompareWindow) {
    std::string file;
    for (int i = 0; i < 100000; ++i)
        file += "Key" + std::to_string(i) + "=a value of the setting\r\n";
    drive_c::WriteBytes("c:\\windows\\win.ini", file);
    drive_c::WriteBytes("c:\\windows\\winBU.ini", "[other]\r\n" + file.substr(file.size() / 2));
    e2e::Program program;
    program.Window();
    program.Click(kWinIniCompare);
    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(FindWindowA(nullptr, kCompareTitle));
    drive_c::Remove("c:\\windows\\winBU.ini");
}
