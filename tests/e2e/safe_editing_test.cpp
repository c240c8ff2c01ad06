// The real program under a user's keys: nothing typed and no file is lost.
#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

constexpr char kWinIni[] = "c:\\windows\\win.ini";
constexpr char kSystemIni[] = "c:\\windows\\system.ini";
constexpr char kBootIni[] = "c:\\boot.ini";
constexpr char kControlIni[] = "c:\\windows\\control.ini";
constexpr char kSystemIniLink[] = "c:\\windows\\system-link.ini";
const int kSystemIniEditor = ids::Memo(2);
const int kBootIniEditor = ids::Memo(3);
const int kControlIniEditor = ids::Memo(4);
const int kSystemIniSave = ids::Button(10);

// The files a save of SYSTEM.INI left beside it: its temporary copy and the
// old file on its way out.
int CopiesLeftBesideSystemIni() {
    return drive_c::CountMatching("c:\\windows", "system.ini.*.qortmp") +
           drive_c::CountMatching("c:\\windows", "system.ini.*.qorold");
}

// Puts `text` on the clipboard, as copying it in another program does.
void CopyToClipboard(const std::wstring& text) {
    ASSERT_TRUE(e2e::PollFor([] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// Another program holding a file open without letting anyone read it.
class HeldFile {
public:
    explicit HeldFile(const char* path)
        : handle_(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

bool IsDefault(const e2e::MessageBoxInfo& box, int buttonId) {
    return (GetWindowLongA(GetDlgItem(box.window, buttonId), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
}

class SafeEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive_c::WriteBytes(kWinIni, "[mail]\r\n");
        drive_c::WriteBytes(kSystemIni, "[boot]\r\nshell=explorer.exe\r\n");
        drive_c::WriteBytes(kBootIni, "[boot loader]\r\ntimeout=30\r\n");
        drive_c::WriteBytes(kControlIni, "[current]\r\n");
        drive_c::Remove("c:\\windows\\systemBU.ini");
    }
    void TearDown() override {
        SetFileAttributesA(kBootIni, FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(kSystemIni, FILE_ATTRIBUTE_NORMAL);
        drive_c::Remove(kSystemIniLink);
        drive_c::Remove("c:\\windows\\controlBU.ini");
    }

    // Types `text` at the start of an editor and waits until it shows.
    void TypeInto(e2e::Program& program, int editor, const std::string& text) {
        program.ClickInto(editor);
        const std::string before = program.Text(editor);
        program.TypeKeys(text);
        ASSERT_TRUE(e2e::PollFor([&] { return program.Text(editor) == text + before; })) << program.Text(editor);
    }
    e2e::MessageBoxInfo Box(e2e::Program& program) {
        const auto box = program.WaitForMessageBox();
        if (!box)
            ADD_FAILURE() << "no message box";
        return box.value_or(e2e::MessageBoxInfo{});
    }
};

}  // namespace

TEST_F(SafeEditingTest, KeysWorkAsInADialogAndEscClosesNothing) {
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    const HWND sheet = program.Control(ids::TabSheet(2));
    program.ClickInto(kSystemIniEditor);
    program.PressKey(VK_ESCAPE);
    TypeInto(program, kSystemIniEditor, "x");  // typed after Esc: Esc was handled
    EXPECT_TRUE(IsWindow(sheet)) << "Esc destroyed the page";
    EXPECT_TRUE(IsWindowVisible(program.Window()));

    program.PressKey(VK_RETURN);  // breaks the line at the caret, after "x"
    EXPECT_TRUE(e2e::PollFor([&] { return program.Text(kSystemIniEditor).rfind("x\r\n[boot]", 0) == 0; }));

    program.PressKey(VK_TAB);
    EXPECT_TRUE(e2e::PollFor([&] { return program.FocusedControl() == program.Control(ids::Button(3)); }));
    program.PressKey(VK_TAB);
    EXPECT_TRUE(e2e::PollFor([&] { return program.FocusedControl() == program.Control(ids::Button(10)); }));
    program.PressKey(VK_TAB, true);
    EXPECT_TRUE(e2e::PollFor([&] { return program.FocusedControl() == program.Control(ids::Button(3)); }));
    program.PressKey(VK_RETURN);  // Back Up
    EXPECT_TRUE(e2e::PollFor([] { return drive_c::Exists("c:\\windows\\systemBU.ini"); }));
    program.PressKey(VK_TAB);
    program.PressKey(VK_SPACE);  // Save
    EXPECT_TRUE(e2e::PollFor([] { return drive_c::BeginsWith(kSystemIni, "x\r\n"); }));
    EXPECT_EQ(drive_c::ReadBytes("c:\\windows\\systemBU.ini"), drive_c::ReadBytes(kSystemIni));

    program.PressKey(VK_TAB, false, true);
    EXPECT_TRUE(e2e::PollFor([&] { return program.SelectedPage() == kBootIniTab; })) << "Ctrl+Tab pages on";

    // The explanation on REGISTRY SETTINGS is a multi-line edit too.
    program.SelectPage(kRegistrySettingsTab);
    program.ClickInto(ids::Memo(18));
    program.PressKey(VK_ESCAPE);
    TypeInto(program, ids::Memo(18), "y");
    EXPECT_TRUE(IsWindow(program.Control(ids::TabSheet(6))));
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(SafeEditingTest, TypedTextSurvivesPageChangesAndAChangedFileAsksWhichToKeep) {
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    TypeInto(program, kSystemIniEditor, "typed ");
    const std::string typed = program.Text(kSystemIniEditor);
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    EXPECT_EQ(program.Text(kSystemIniEditor), typed);
    EXPECT_TRUE(program.MessageBoxes().empty());

    // An untouched page shows its file as it is now, without a question.
    drive_c::WriteBytes(kControlIni, "[changed]\r\n");
    program.SelectPage(kControlIniTab);
    EXPECT_EQ(program.Text(ids::Memo(4)), "[changed]\r\n");
    EXPECT_TRUE(program.MessageBoxes().empty());

    drive_c::WriteBytes(kSystemIni, "[changed elsewhere]\r\n");
    program.SelectPage(kSystemIniTab);
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_NE(box.text.find(kSystemIni), std::string::npos) << box.text;
    EXPECT_TRUE(IsDefault(box, IDYES)) << "keeping the typed text is the default";
    program.Press(box, IDYES);
    EXPECT_EQ(program.Text(kSystemIniEditor), typed);

    drive_c::WriteBytes(kSystemIni, "[changed again]\r\n");
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    program.Press(Box(program), IDNO);
    EXPECT_EQ(program.Text(kSystemIniEditor), "[changed again]\r\n");
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    EXPECT_TRUE(program.MessageBoxes().empty()) << "the editor holds no typed changes any more";
}

TEST_F(SafeEditingTest, ClosingWithTypedTextAsksAndCancelKeepsTheWindow) {
    e2e::Program program;
    program.SelectPage(kWinIniTab);
    TypeInto(program, ids::Memo(1), "a");
    program.SelectPage(kSystemIniTab);
    TypeInto(program, kSystemIniEditor, "b");
    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_NE(box.text.find(kWinIni), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(kSystemIni), std::string::npos) << box.text;
    EXPECT_EQ(box.text.find(kBootIni), std::string::npos) << box.text;
    program.Press(box, IDCANCEL);
    EXPECT_FALSE(program.WaitForExit(500).has_value());
    EXPECT_TRUE(IsWindowVisible(program.Window()));

    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    program.Press(Box(program), IDYES);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(drive_c::ReadBytes(kWinIni), "a[mail]\r\n");
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "b[boot]\r\nshell=explorer.exe\r\n");
}

TEST_F(SafeEditingTest, AFileHeldByAnotherProgramIsNamedAndSaveAsksBeforeOverwritingIt) {
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    const std::string shown = program.Text(kSystemIniEditor);
    drive_c::WriteBytes(kSystemIni, "[written by another program]\r\n");
    HeldFile held(kSystemIni);
    ASSERT_TRUE(held.Held());
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_EQ(box.text, "Cannot open file c:\\windows\\system.ini: another program is using it.");
    EXPECT_TRUE(box.hasErrorIcon);
    program.PressOk(box);
    EXPECT_EQ(program.Text(kSystemIniEditor), shown);
    held.Release();

    program.Click(ids::Button(10));  // Save
    box = Box(program);
    EXPECT_NE(box.text.find("another program is using it"), std::string::npos) << box.text;
    EXPECT_TRUE(IsDefault(box, IDNO));
    program.Press(box, IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "[written by another program]\r\n");

    program.Click(ids::Button(3));  // Back Up writes the backup without a question
    EXPECT_TRUE(program.MessageBoxes().empty());
    EXPECT_EQ(drive_c::ReadBytes("c:\\windows\\systemBU.ini"), shown);
}

TEST_F(SafeEditingTest, WinIniHeldAtStartUpIsNamedAndSaveDoesNotEmptyIt) {
    HeldFile held(kWinIni);
    ASSERT_TRUE(held.Held());
    e2e::Program program;
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_EQ(box.text, "Cannot open file c:\\windows\\win.ini: another program is using it.");
    program.PressOk(box);
    held.Release();
    ASSERT_EQ(program.Text(ids::Memo(1)), "");
    program.Click(ids::Button(2));
    program.Press(Box(program), IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kWinIni), "[mail]\r\n");
}

TEST_F(SafeEditingTest, SaveAsksBeforeCuttingAFileAtAZeroByte) {
    const std::string withZero = std::string("[boot loader]\r\ntimeout=30\r\n") + std::string("\0binary tail", 12);
    drive_c::WriteBytes(kBootIni, withZero);
    e2e::Program program;
    program.SelectPage(kBootIniTab);
    ASSERT_EQ(program.Text(kBootIniEditor), "[boot loader]\r\ntimeout=30\r\n");
    program.Click(ids::Button(11));
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_NE(box.text.find("12 bytes"), std::string::npos) << box.text;
    EXPECT_TRUE(IsDefault(box, IDNO));
    program.Press(box, IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kBootIni), withZero);

    program.Click(ids::Button(11));
    program.Press(Box(program), IDYES);
    EXPECT_EQ(drive_c::ReadBytes(kBootIni), "[boot loader]\r\ntimeout=30\r\n");
}

TEST_F(SafeEditingTest, AReadOnlyHiddenSystemFileSavesWithConsentAndKeepsItsAttributes) {
    constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    SetFileAttributesA(kBootIni, kProtected);
    e2e::Program program;
    program.SelectPage(kBootIniTab);
    program.Type(kBootIniEditor, "[boot loader]\r\ntimeout=5\r\n");
    program.Click(ids::Button(11));
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_NE(box.text.find("c:\\boot.ini is read-only"), std::string::npos) << box.text;
    program.Press(box, IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kBootIni), "[boot loader]\r\ntimeout=30\r\n");

    program.Click(ids::Button(11));
    program.Press(Box(program), IDYES);
    EXPECT_EQ(drive_c::ReadBytes(kBootIni), "[boot loader]\r\ntimeout=5\r\n");
    EXPECT_EQ(GetFileAttributesA(kBootIni) & kProtected, kProtected);
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(SafeEditingTest, SaveAsksBeforeWritingOverAnotherProgramsChangeAlsoWhenClosing) {
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    TypeInto(program, kSystemIniEditor, "typed ");
    const std::string installed = "[boot]\r\nshell=explorer.exe\r\ndevice=installer.386\r\n";
    drive_c::WriteBytes(kSystemIni, installed);  // an installer adds a line
    program.Click(kSystemIniSave);
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_NE(box.text.find("c:\\windows\\system.ini was changed by another program"), std::string::npos) << box.text;
    EXPECT_TRUE(IsDefault(box, IDNO));
    program.Press(box, IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), installed);

    PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    program.Press(Box(program), IDYES);  // save the typed changes
    box = Box(program);
    EXPECT_NE(box.text.find("was changed by another program"), std::string::npos) << box.text;
    program.Press(box, IDNO);
    EXPECT_FALSE(program.WaitForExit(500).has_value()) << "the window closed without the save";
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), installed);

    program.Click(kSystemIniSave);
    program.Press(Box(program), IDYES);
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "typed [boot]\r\nshell=explorer.exe\r\n");

    drive_c::Remove(kSystemIni);
    TypeInto(program, kSystemIniEditor, "again ");
    program.Click(kSystemIniSave);
    box = Box(program);
    EXPECT_NE(box.text.find("c:\\windows\\system.ini was deleted by another program"), std::string::npos) << box.text;
    program.Press(box, IDNO);
    EXPECT_FALSE(drive_c::Exists(kSystemIni));
    drive_c::WriteBytes(kSystemIni, "[boot]\r\n");  // for the program's last look at it
}

TEST_F(SafeEditingTest, TypedAndPastedCharactersTheCodePageCannotHoldAreNotWrittenAsQuestionMarksUnasked) {
    e2e::Program program;
    program.SelectPage(kControlIniTab);
    CopyToClipboard(L"\x0416");  // a Cyrillic letter
    program.ClickInto(kControlIniEditor);
    program.TypeCharacter(L'\x2192');  // an arrow
    program.TypeKeys(" ");
    program.PressKey('V', false, true);
    ASSERT_TRUE(e2e::PollFor([&] { return program.Text(kControlIniEditor).size() == 3 + 11; }))
        << program.Text(kControlIniEditor);

    program.Click(ids::Button(12));  // Save
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_NE(box.text.find("2 characters"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("c:\\windows\\control.ini"), std::string::npos) << box.text;
    EXPECT_TRUE(IsDefault(box, IDNO));
    program.Press(box, IDNO);
    EXPECT_EQ(drive_c::ReadBytes(kControlIni), "[current]\r\n");

    program.Click(ids::Button(6));  // Back Up
    box = Box(program);
    EXPECT_NE(box.text.find("2 characters"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("c:\\windows\\controlBU.ini"), std::string::npos) << box.text;
    program.Press(box, IDNO);
    EXPECT_FALSE(drive_c::Exists("c:\\windows\\controlBU.ini"));

    program.Click(ids::Button(12));
    program.Press(Box(program), IDYES);
    EXPECT_EQ(drive_c::ReadBytes(kControlIni), "? ?[current]\r\n");
}

TEST_F(SafeEditingTest, SaveKeepsTheFilesOtherNamesAndAttributesAndMarksItForBackup) {
    ASSERT_TRUE(CreateHardLinkA(kSystemIniLink, kSystemIni, nullptr));
    // No archive flag, as after a backup: on Windows; Wine shows the flag on every file.
    SetFileAttributesA(kSystemIni, FILE_ATTRIBUTE_HIDDEN);
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    program.Type(kSystemIniEditor, "[boot]\r\nshell=new.exe\r\n");
    program.Click(kSystemIniSave);
    EXPECT_TRUE(program.MessageBoxes().empty());
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "[boot]\r\nshell=new.exe\r\n");
    EXPECT_EQ(drive_c::ReadBytes(kSystemIniLink), "[boot]\r\nshell=new.exe\r\n") << "the other name lost the file";
    EXPECT_EQ(GetFileAttributesA(kSystemIni), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(CopiesLeftBesideSystemIni(), 0);
}

TEST_F(SafeEditingTest, ASaveThatCannotReplaceTheFileSaysWhyAndLeavesNoTemporaryFile) {
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    program.Type(kSystemIniEditor, "[boot]\r\nshell=new.exe\r\n");
    // Another program reads the file and lets no one rename it meanwhile.
    HANDLE reader = CreateFileA(kSystemIni, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    program.Click(kSystemIniSave);
    e2e::MessageBoxInfo box = Box(program);
    EXPECT_EQ(box.text.rfind("Cannot create file c:\\windows\\system.ini: ", 0), 0u) << box.text;
    EXPECT_GT(box.text.size(), std::string("Cannot create file c:\\windows\\system.ini: .").size()) << "no reason";
    program.PressOk(box);
    CloseHandle(reader);
    EXPECT_EQ(drive_c::ReadBytes(kSystemIni), "[boot]\r\nshell=explorer.exe\r\n");
    EXPECT_EQ(CopiesLeftBesideSystemIni(), 0);
}
