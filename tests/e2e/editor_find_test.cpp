// The real program: Find in the editors, through the keys a user presses.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "ui/control_ids.h"
#include "ui/error_box.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

constexpr int kFindWhat = 0x480;   // edt1 of the system's Find dialog
constexpr int kMatchCase = 0x411;  // chx2

// The later matches a screen or more below the first.
const std::string kWinIni = [] {
    std::string text = "key=alpha beta\r\n";
    for (int line = 0; line < 120; ++line)
        text += "-\r\n";
    return text + "last=ALPHA\r\nend=alpha\r\n";
}();
const size_t kFirst = kWinIni.find("alpha"), kUpper = kWinIni.find("ALPHA"), kLast = kWinIni.rfind("alpha");

class EditorFindTest : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = drive_c::ReadBytes("c:\\windows\\win.ini");
        drive_c::WriteBytes("c:\\windows\\win.ini", kWinIni);
        ASSERT_NE(program_.Window(), nullptr);
        program_.ClickInto(ids::Memo(1));
        editor_ = program_.Control(ids::Memo(1));
    }
    void TearDown() override { drive_c::WriteBytes("c:\\windows\\win.ini", original_); }

    std::pair<size_t, size_t> Selection(HWND editor) {
        DWORD start = 0, end = 0;
        SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // The dialog or box of this program with `caption` (and `text`), once it shows.
    std::optional<e2e::MessageBoxInfo> Box(const std::string& caption, const std::optional<std::string>& text = {}) {
        std::optional<e2e::MessageBoxInfo> found;
        e2e::PollFor([&] {
            for (const e2e::MessageBoxInfo& box : program_.MessageBoxes())
                if (box.caption == caption && (!text || box.text == *text))
                    found = box;
            return found.has_value();
        });
        return found;
    }
    // Ctrl+F, then the dialog it opens.
    HWND OpenFind() {
        program_.PressKey('F', false, true);
        const std::optional<e2e::MessageBoxInfo> dialog = Box("Find");
        return dialog ? dialog->window : nullptr;
    }
    std::string FindWhat(HWND dialog) {
        char text[256] = {};
        SendMessageA(GetDlgItem(dialog, kFindWhat), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        return text;
    }
    void ExpectNoteAndClose(const std::string& note) {
        const std::optional<e2e::MessageBoxInfo> box = Box(ApplicationTitle(e2e::ProgramPath()), note);
        std::string shown;
        for (const e2e::MessageBoxInfo& other : program_.MessageBoxes())
            shown += " [" + other.caption + ": " + other.text + "]";
        ASSERT_TRUE(box.has_value()) << "no note \"" << note << "\", but" << shown;
        program_.Press(*box, IDOK);
    }

    std::string original_;
    e2e::Program program_;
    HWND editor_ = nullptr;
};

}  // namespace

TEST_F(EditorFindTest, FindsFromTheWordAtTheCaretWithMatchCaseWrapsWithANoteAndSaysWhatItCannotFind) {
    SendMessageW(editor_, EM_SETSEL, kFirst + 2, kFirst + 2);
    HWND dialog = OpenFind();
    ASSERT_NE(dialog, nullptr) << "Ctrl+F opened no Find dialog";
    EXPECT_EQ(FindWhat(dialog), "alpha") << "the word at the caret";

    program_.PressKeyIn(dialog, VK_RETURN);
    EXPECT_TRUE(e2e::PollFor([&] { return Selection(editor_) == std::make_pair(kUpper, kUpper + 5); }))
        << "without Match case the next match is ALPHA";
    EXPECT_GT(SendMessageW(editor_, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the match is scrolled into view";

    PostMessageA(GetDlgItem(dialog, kMatchCase), BM_CLICK, 0, 0);
    program_.PressKeyIn(dialog, VK_RETURN);
    EXPECT_TRUE(e2e::PollFor([&] { return Selection(editor_) == std::make_pair(kLast, kLast + 5); }));

    program_.PressKeyIn(dialog, VK_ESCAPE);
    EXPECT_TRUE(e2e::PollFor([&] { return !IsWindow(dialog); })) << "Esc left the dialog open";
    EXPECT_TRUE(IsWindowVisible(program_.Window()));
    EXPECT_EQ(program_.Text(ids::Memo(1)), kWinIni);
    EXPECT_EQ(Selection(editor_), std::make_pair(kLast, kLast + 5));

    program_.PressKey(VK_F3);
    ExpectNoteAndClose("Passed the end of the text; found from the top.");
    EXPECT_EQ(Selection(editor_), std::make_pair(kFirst, kFirst + 5)) << "Match case still on";
    program_.PressKey(VK_F3, true);
    ExpectNoteAndClose("Passed the top of the text; found from the end.");
    EXPECT_EQ(Selection(editor_), std::make_pair(kLast, kLast + 5));

    dialog = OpenFind();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, kFindWhat), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("omega"));
    program_.PressKeyIn(dialog, VK_RETURN);
    ExpectNoteAndClose("Cannot find \"omega\"");
    EXPECT_EQ(Selection(editor_), std::make_pair(kLast, kLast + 5));
}

TEST_F(EditorFindTest, TheDialogSearchesThePageInFrontAndHidesOnAPageWithoutAnEditor) {
    const std::string systemIni = drive_c::ReadBytes("c:\\windows\\system.ini");
    drive_c::WriteBytes("c:\\windows\\system.ini", "[boot]\r\nshell=alpha.exe\r\n");
    SendMessageW(editor_, EM_SETSEL, kFirst, kFirst + 5);
    HWND dialog = OpenFind();
    ASSERT_NE(dialog, nullptr);
    program_.PressKey(VK_TAB, false, true);  // Ctrl+Tab: SYSTEM.INI
    HWND memo2 = program_.Control(ids::Memo(2));
    ASSERT_TRUE(e2e::PollFor([&] { return IsWindowVisible(memo2) != FALSE; }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    program_.PressKeyIn(dialog, VK_RETURN);
    const size_t match = std::string("[boot]\r\nshell=").size();
    EXPECT_TRUE(e2e::PollFor([&] { return Selection(memo2) == std::make_pair(match, match + 5); }));

    program_.PressKey(VK_TAB, true, true);  // back to WIN.INI
    program_.PressKey(VK_TAB, true, true);  // ABOUT
    EXPECT_TRUE(e2e::PollFor([&] { return !IsWindowVisible(dialog); })) << "shown on a page without an editor";
    program_.PressKey(VK_TAB, false, true);  // WIN.INI
    EXPECT_TRUE(e2e::PollFor([&] { return IsWindowVisible(dialog) != FALSE; }));
    drive_c::WriteBytes("c:\\windows\\system.ini", systemIni);
}

TEST_F(EditorFindTest, FindAgainOnALongFileStillGoingInSearchesAllOfIt) {
    const std::string systemIni = drive_c::ReadBytes("c:\\windows\\system.ini");
    std::string longIni = "[boot]\r\n";
    for (int line = 0; line < 40000; ++line)
        longIni += "Key" + std::to_string(line) + "=a value of the setting, long enough to fill\r\n";
    const size_t omega = longIni.size() + std::string("last=").size();
    drive_c::WriteBytes("c:\\windows\\system.ini", longIni + "last=omega\r\n");
    HWND dialog = OpenFind();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, kFindWhat), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("omega"));
    program_.PressKeyIn(dialog, VK_RETURN);
    ExpectNoteAndClose("Cannot find \"omega\"");
    program_.PressKeyIn(dialog, VK_ESCAPE);
    ASSERT_TRUE(e2e::PollFor([&] { return !IsWindow(dialog); }));

    program_.SelectPage(kSystemIniTab);  // its text goes in by pieces
    HWND memo2 = program_.Control(ids::Memo(2));
    ASSERT_TRUE((GetWindowLongA(memo2, GWL_STYLE) & ES_READONLY) != 0) << "all of the text went in at once";
    program_.PressKey(VK_F3);
    EXPECT_TRUE(e2e::PollFor([&] { return Selection(memo2) == std::make_pair(omega, omega + 5); }, 60000))
        << "the match at the end of the file";
    EXPECT_TRUE(program_.MessageBoxes().empty());
    drive_c::WriteBytes("c:\\windows\\system.ini", systemIni);
}
