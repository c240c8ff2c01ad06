// The real program: the SYSTEM INFO page's Copy and Save As... buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/registry_keys.h"
#include "support/tabs.h"

namespace {

constexpr char kReportPath[] = "c:\\qor report.txt";

// The clipboard's text in `format`: CF_TEXT as char, CF_UNICODETEXT as wchar_t.
template <typename Char>
std::basic_string<Char> ClipboardText(UINT format) {
    if (!OpenClipboard(nullptr))
        return {};
    std::basic_string<Char> text;
    if (HANDLE data = GetClipboardData(format)) {
        text = static_cast<const Char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

BOOL CALLBACK KeepFileNameBox(HWND child, LPARAM found) {
    char className[8] = {};
    GetClassNameA(child, className, sizeof(className));
    if (GetDlgCtrlID(child) == 0x47C && lstrcmpiA(className, "Edit") == 0)
        *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
}

// The file name box of the Save dialog: the edit inside the combo box cmb13.
HWND FileNameBox(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, KeepFileNameBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

// WM_GETTEXT: GetWindowText gives another program's edit box its title, not its text.
std::string EditText(HWND edit) {
    char text[MAX_PATH] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

TEST(SystemInfoReport, CopyGivesTheFactsAsShownThenTheSoftwareAndSaveAsWritesTheSame) {
    const std::string uninstall = registry_keys::kUninstall;
    registry_keys::DeleteTree(uninstall);
    // Enumerated a before z: the report follows the list's order, not the registry's.
    registry_keys::SetString(uninstall + "\\a", "DisplayName", "Z\xE9ta Tool");  // code page 1252
    registry_keys::SetString(uninstall + "\\z", "DisplayName", "Alpha Suite");
    drive_c::Remove(kReportPath);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(computer);
    GetComputerNameA(computer, &size);

    e2e::Program program;
    ASSERT_TRUE(program.Window());
    program.SelectPage(kSystemInfoTab);
    ASSERT_TRUE(program.WaitForSystemInfo()) << "the refresh never ended";
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    program.Click(ids::Button(53));
    const std::string copied = ClipboardText<char>(CF_TEXT);
    const std::string facts = std::string("Computername : ") + computer + "\r\n" +
                              "Windows Username : " + program.Text(ids::Label(8)) + "\r\n";
    EXPECT_EQ(copied.substr(0, facts.size()), facts);
    const std::string end = "\r\nHarddisk Serial Number (C:) : " + program.Text(ids::Label(30)) +
                            "\r\n\r\nInstalled Software :\r\nAlpha Suite\r\nZ\xE9ta Tool\r\n";
    ASSERT_GT(copied.size(), end.size());
    EXPECT_EQ(copied.substr(copied.size() - end.size()), end);
    // As Unicode text too, whatever keyboard language the program that pastes it has.
    const std::wstring unicode = ClipboardText<wchar_t>(CF_UNICODETEXT);
    const std::wstring programs = L"Alpha Suite\r\nZ\u00E9ta Tool\r\n";
    ASSERT_GT(unicode.size(), programs.size());
    EXPECT_EQ(unicode.substr(unicode.size() - programs.size()), programs);
    EXPECT_EQ(unicode.size(), copied.size());

    program.Click(ids::Button(54));
    const auto dialog = program.WaitForMessageBox();
    ASSERT_TRUE(dialog.has_value()) << "no Save dialog";
    HWND name = FileNameBox(dialog->window);
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(e2e::PollFor([&] { return EditText(name) == std::string(computer) + " system info.txt"; }, 5000));
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kReportPath));
    program.Press(*dialog, IDOK);
    EXPECT_EQ(drive_c::ReadBytes(kReportPath), copied);
    registry_keys::DeleteTree(uninstall);
    drive_c::Remove(kReportPath);
}
