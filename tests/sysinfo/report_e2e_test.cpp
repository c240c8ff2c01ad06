// The real program: the SYSTEM INFO page's Copy and Save As... buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/registry_keys.h"
#include "support/tabs.h"

namespace {

using registry_keys::kUninstall;

constexpr int kCopy = ids::Button(45);
constexpr int kSaveAs = ids::Button(46);
constexpr char kReportPath[] = "c:\\qor report.txt";

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    GetComputerNameA(name, &size);
    return name;
}

// WM_GETTEXT: GetWindowText gives another program's edit box its title, not its text.
std::string EditText(HWND edit) {
    char text[MAX_PATH] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// The clipboard's text; empty while another program holds it open.
std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return {};
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::string& text) {
    ASSERT_TRUE(e2e::PollFor([] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    lstrcpyA(static_cast<char*>(GlobalLock(memory)), text.c_str());
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start != text.size()) ADD_FAILURE() << "the last line has no CR+LF";
    return lines;
}

// The file name box of the common Save dialog: the edit inside the combo
// box cmb13 in newer dialogs, the plain edit edt1 in older ones.
HWND FileNameBox(HWND dialog) {
    HWND found = GetDlgItem(dialog, 0x480);
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM result) -> BOOL {
            char className[16] = {};
            GetClassNameA(child, className, sizeof(className));
            if (GetDlgCtrlID(child) != 0x47C || lstrcmpiA(className, "Edit") != 0) return TRUE;
            *reinterpret_cast<HWND*>(result) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class SystemInfoReport : public ::testing::Test {
protected:
    void SetUp() override {
        registry_keys::DeleteTree(kUninstall);
        // Enumerated z before a: the report follows the list's order.
        registry_keys::SetString(std::string(kUninstall) + "\\z", "DisplayName", "Alpha Suite");
        registry_keys::SetString(std::string(kUninstall) + "\\a", "DisplayName", "Zeta Tool");
        drive_c::Remove(kReportPath);
    }
    void TearDown() override {
        registry_keys::DeleteTree(kUninstall);
        drive_c::Remove(kReportPath);
    }
    void ShowSystemInfo() {
        ASSERT_TRUE(program_.Window());
        program_.SelectPage(kSystemInfoTab);
        ASSERT_TRUE(program_.WaitUntilIdle());
    }
    std::string Copied() {
        PutOnClipboard("nothing copied");
        program_.Click(kCopy);
        return ClipboardText();
    }

    e2e::Program program_;
};

}  // namespace

TEST_F(SystemInfoReport, CopyPutsTheFactsAndThenTheSoftwareInListOrderOnTheClipboard) {
    ShowSystemInfo();
    const std::vector<std::string> lines = Lines(Copied());
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "Computername : " + ComputerName());
    EXPECT_EQ(lines[1], "Windows Username : " + program_.Text(ids::Label(8)));
    EXPECT_EQ(lines[3], "Processor : " + program_.Text(ids::Label(10)));
    EXPECT_EQ(lines[9], "Default Printer : " + program_.Text(ids::Label(26)));
    EXPECT_EQ(lines[11], "Harddisk Serial Number (C:) : " + program_.Text(ids::Label(30)));
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines[13], "Installed Software :");
    EXPECT_EQ(lines[14], "Alpha Suite");
    EXPECT_EQ(lines[15], "Zeta Tool");
    EXPECT_EQ(program_.ListItems(ids::ListView(2)), (std::vector<std::string>{"Alpha Suite", "Zeta Tool"}));
}

TEST_F(SystemInfoReport, SaveAsOffersTheComputerNameAndWritesWhatCopyGives) {
    ShowSystemInfo();
    const std::string copied = Copied();
    program_.Click(kSaveAs);
    const auto dialog = program_.WaitForMessageBox();
    ASSERT_TRUE(dialog.has_value()) << "no Save dialog";
    HWND name = FileNameBox(dialog->window);
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(e2e::PollFor([&] { return EditText(name) == ComputerName() + " system info.txt"; }, 5000))
        << EditText(name);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kReportPath));
    program_.Press(*dialog, IDOK);
    EXPECT_EQ(drive_c::ReadBytes(kReportPath), copied);
    EXPECT_TRUE(program_.MessageBoxes().empty());
}
