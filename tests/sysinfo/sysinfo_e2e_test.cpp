// The real program: the SYSTEM INFO page with the registry and drive C set
// by the test.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/registry_keys.h"
#include "support/drive_c.h"
#include "support/program.h"

namespace {

using registry_keys::kCurrentVersion;
using registry_keys::kUninstall;

const int kSystemInfoTab = 8;
const int kListView2 = ids::ListView(2);

std::string UninstallPath(const std::string& subkey) { return std::string(kUninstall) + "\\" + subkey; }

class SysInfoE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteEveryUninstallKey();
        registry_keys::SetString(kCurrentVersion, "Version", "4.10.2222");
    }
    void TearDown() override {
        DeleteEveryUninstallKey();
        registry_keys::DeleteValue(kCurrentVersion, "Version");
    }
    static void DeleteEveryUninstallKey() {
        for (const auto& hive : {registry_keys::kMachine64, registry_keys::kMachine32, registry_keys::kUser})
            registry_keys::DeleteTree(hive, kUninstall);
    }
    // Activates SYSTEM INFO and waits for the refresh to end.
    void ShowSystemInfo(e2e::Program& program) {
        ASSERT_TRUE(program.Window());
        program.SelectPage(kSystemInfoTab);
        ASSERT_TRUE(program.WaitForSystemInfo());
    }
    static void ExpectFileNotFound(e2e::Program& program) {
        const auto box = program.WaitForMessageBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, "File not found");
        program.PressOk(*box);
    }
};

}  // namespace

TEST_F(SysInfoE2eTest, ListsManyProgramsSortedByDisplayNameWithoutDuplicatesAfterASecondActivation) {
    // Subkeys enumerate k000, k001...; their display names run the other way.
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        char subkey[8];
        char name[16];
        std::snprintf(subkey, sizeof(subkey), "k%03d", i);
        std::snprintf(name, sizeof(name), "Program %03d", 299 - i);
        registry_keys::SetString(UninstallPath(subkey), "DisplayName", name);
        registry_keys::SetString(UninstallPath(subkey), "UninstallString", std::string("remove ") + name);
        expected.push_back(name);
    }
    registry_keys::SetString(UninstallPath("nameless"), "UninstallString", "remove nameless");
    registry_keys::CreateKey(UninstallPath("empty"));
    std::sort(expected.begin(), expected.end());

    e2e::Program program;
    ShowSystemInfo(program);
    EXPECT_EQ(program.ListItems(kListView2), expected);
    program.SelectPage(0);
    ShowSystemInfo(program);
    EXPECT_EQ(program.ListItems(kListView2), expected);
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(SysInfoE2eTest, ListsThe64BitAnd32BitProgramsAndTheUsersOwnEachOnce) {
    registry_keys::SetString(registry_keys::kMachine64, UninstallPath("tool64"), "DisplayName", "Tool (64-bit)");
    registry_keys::SetString(registry_keys::kMachine32, UninstallPath("tool32"), "DisplayName", "Tool (32-bit)");
    registry_keys::SetString(registry_keys::kUser, UninstallPath("mine"), "DisplayName", "Installed for me");
    // One program recorded alike in both views of the machine.
    for (const auto& hive : {registry_keys::kMachine64, registry_keys::kMachine32}) {
        registry_keys::SetString(hive, UninstallPath("{shared}"), "DisplayName", "Shared Runtime");
        registry_keys::SetString(hive, UninstallPath("{shared}"), "UninstallString", "msiexec /x {shared}");
    }

    e2e::Program program;
    ShowSystemInfo(program);
    EXPECT_EQ(program.ListItems(kListView2),
              (std::vector<std::string>{"Installed for me", "Shared Runtime", "Tool (32-bit)", "Tool (64-bit)"}));
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(SysInfoE2eTest, AnEmptyOrMissingUninstallKeyGivesAnEmptyListAndNoMessage) {
    e2e::Program program;
    ShowSystemInfo(program);  // no key at all
    EXPECT_TRUE(program.ListItems(kListView2).empty());
    EXPECT_TRUE(program.MessageBoxes().empty());
    EXPECT_EQ(program.Text(ids::Label(12)), "4.10.2222") << "the refresh went to its end";

    registry_keys::CreateKey(kUninstall);
    program.SelectPage(0);
    ShowSystemInfo(program);
    EXPECT_TRUE(program.ListItems(kListView2).empty());
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(SysInfoE2eTest, ADwordDisplayNameStopsTheRefreshAfterSortingTheItemsReadSoFar) {
    registry_keys::SetString(UninstallPath("a"), "DisplayName", "Zeta");
    registry_keys::SetString(UninstallPath("b"), "DisplayName", "Alpha");
    registry_keys::SetDword(UninstallPath("c"), "DisplayName", 1);
    registry_keys::SetString(UninstallPath("d"), "DisplayName", "Beta");

    e2e::Program program;
    ASSERT_TRUE(program.Window());
    program.SelectPage(kSystemInfoTab);
    ExpectFileNotFound(program);
    EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{"Alpha", "Zeta"}));
    EXPECT_NE(program.Text(ids::Label(10)), "Label4") << "step 3 ran";
    EXPECT_EQ(program.Text(ids::Label(8)), "Windows Username :");
    EXPECT_EQ(program.Text(ids::Label(22)), "NIC Macadress : ");
    EXPECT_EQ(program.Text(ids::Label(24)), "CPU Speed : ");
    EXPECT_EQ(program.Text(ids::Label(12)), "Computername : ");
    EXPECT_EQ(program.Text(ids::Label(30)), "Harddisk Serial Number  :");
}

TEST_F(SysInfoE2eTest, ADwordVersionStopsTheRefreshAtTheWindowsVersion) {
    registry_keys::SetString(UninstallPath("x"), "DisplayName", "Only Program");
    registry_keys::SetDword(kCurrentVersion, "Version", 4);

    e2e::Program program;
    ASSERT_TRUE(program.Window());
    program.SelectPage(kSystemInfoTab);
    ExpectFileNotFound(program);
    EXPECT_EQ(program.ListItems(kListView2), std::vector<std::string>{"Only Program"});
    const std::string mhz = program.Text(ids::Label(24));
    EXPECT_EQ(mhz.substr(mhz.size() - 4), " MHz") << "step 7 ran: " << mhz;
    EXPECT_EQ(program.Text(ids::Label(12)), "Computername : ");
    EXPECT_EQ(program.Text(ids::Label(28)), "System Language : ");
    EXPECT_EQ(program.Text(ids::Label(30)), "Harddisk Serial Number  :");
}

// Wine reads drive C's label and serial from these files when its server
// starts and keeps them for the session: the files stay in the prefix, so
// every later session shows exactly these values.
TEST_F(SysInfoE2eTest, ShowsTheVolumeLabelAndSerialOfDriveC) {
    drive_c::WriteBytes("c:\\.windows-label", "MYDISK");
    drive_c::WriteBytes("c:\\.windows-serial", "1234abcd");
    char label[MAX_PATH + 1] = "";
    DWORD serial = 0;
    GetVolumeInformationA("c:\\", label, sizeof(label), &serial, nullptr, nullptr, nullptr, 0);
    char expected[64];
    std::snprintf(expected, sizeof(expected), "Label = %s   VolSer = %08lX", label, static_cast<unsigned long>(serial));

    e2e::Program program;
    ShowSystemInfo(program);
    EXPECT_EQ(program.Text(ids::Label(30)), expected);
    if (std::string(label) == "MYDISK" || serial == 0x1234ABCD)
        EXPECT_EQ(program.Text(ids::Label(30)), "Label = MYDISK   VolSer = 1234ABCD");
    else
        ADD_FAILURE() << "this Wine session started before the label files were written; run again";
}

// The x86_64 build meets processor type 8664, which the 9x table lacks: it
// shows the name the system records for the first processor, trimmed.
class ProcessorE2eTest : public SysInfoE2eTest {
protected:
    static constexpr char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    void SetUp() override {
        SysInfoE2eTest::SetUp();
        char name[256] = {};
        DWORD size = sizeof(name);
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kProcessorKey, "ProcessorNameString", RRF_RT_REG_SZ, nullptr, name,
                         &size) == ERROR_SUCCESS)
            original_ = name;
    }
    void TearDown() override {
        if (original_.empty())
            registry_keys::DeleteValue(kProcessorKey, "ProcessorNameString");
        else
            registry_keys::SetString(kProcessorKey, "ProcessorNameString", original_);
        SysInfoE2eTest::TearDown();
    }
    std::string original_;
};

TEST_F(ProcessorE2eTest, ShowsTheProcessorByTheNameTheSystemRecords) {
    registry_keys::SetString(kProcessorKey, "ProcessorNameString", "  Test(R) Core(TM) i7-8550U CPU @ 1.80GHz   ");
    e2e::Program program;
    ShowSystemInfo(program);
    SYSTEM_INFO info{};
    GetSystemInfo(&info);  // as the program's build sees it
    if (info.dwProcessorType == PROCESSOR_INTEL_PENTIUM)
        EXPECT_EQ(program.Text(ids::Label(10)), "Pentium") << "the i686 build meets a type the table names";
    else
        EXPECT_EQ(program.Text(ids::Label(10)), "Test(R) Core(TM) i7-8550U CPU @ 1.80GHz");
}

TEST_F(SysInfoE2eTest, TheWindowAnswersWhileFiveThousandProgramsAreReadAndThenShowsEveryValueAndTheSortedList) {
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string name = "Program " + std::to_string((i * 7919) % 5000);
        registry_keys::SetString(UninstallPath("{entry-" + std::to_string(i) + "}"), "DisplayName", name);
        expected.push_back(name);
    }
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; });

    e2e::Program program;
    HWND window = program.Window();
    ASSERT_TRUE(window);
    PostMessageA(program.Control(ids::PageControl1), TCM_SETCURFOCUS, kSystemInfoTab, 0);
    // Once the page is selected its controls exist, and Button35 is disabled until the refresh ends.
    const auto refreshing = [&] {
        return program.SelectedPage() == kSystemInfoTab && !IsWindowEnabled(program.Control(ids::Button(35)));
    };
    // Answered while the refresh runs: the page did not freeze the window.
    int answeredWhileRefreshing = 0;
    const bool finished = e2e::PollFor(
        [&] {
            DWORD_PTR result = 0;
            const bool before = refreshing();
            const bool answered =
                SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 2000, &result) != 0;
            EXPECT_TRUE(answered) << "the window did not answer within 2 s";
            if (before && answered && refreshing())
                ++answeredWhileRefreshing;
            return program.SelectedPage() == kSystemInfoTab && !refreshing();
        },
        120000);
    ASSERT_TRUE(finished) << "the refresh did not end";
    EXPECT_GT(answeredWhileRefreshing, 0);
    EXPECT_EQ(program.ListItems(kListView2), expected);
    EXPECT_EQ(program.Text(ids::Label(12)), "4.10.2222");
    EXPECT_NE(program.Text(ids::Label(8)), "Windows Username :");
    EXPECT_NE(program.Text(ids::Label(22)), "NIC Macadress : ");
    EXPECT_NE(program.Text(ids::Label(24)).find(" MHz"), std::string::npos);
    EXPECT_EQ(program.Text(ids::Label(30)).rfind("Label = ", 0), 0u);
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(SysInfoE2eTest, AProgramRenamedInPlaceShowsItsNewNameUntilTheNextActivationBringsTheRecordedOneBack) {
    registry_keys::SetString(UninstallPath("a"), "DisplayName", "Archiver");
    registry_keys::SetString(UninstallPath("e"), "DisplayName", "Editor");
    e2e::Program program;
    ShowSystemInfo(program);
    EXPECT_EQ(program.RenameListItem(kListView2, 1, "Text Editor"), "Editor") << "the edit box starts from the caption";
    EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{"Archiver", "Text Editor"}));

    // Nothing changed under the uninstall keys: the list comes from the last read.
    program.SelectPage(0);
    ShowSystemInfo(program);
    EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{"Archiver", "Editor"}));
}

TEST_F(SysInfoE2eTest, TheListsColumnsWidenToTheLongestNameAlsoWhenItAppearsAfterTheListWasShown) {
    const std::string longName = "Archiver for every kind of compressed file, version 24.08 (64-bit)";
    const std::string longerName =
        "Text Editor with syntax colouring for forty languages and a file compare, 2026 edition";
    registry_keys::SetString(UninstallPath("a"), "DisplayName", longName);
    registry_keys::SetString(UninstallPath("b"), "DisplayName", "Browser");
    e2e::Program program;
    ShowSystemInfo(program);
    const HWND list = program.Control(kListView2);
    UpdateWindow(list);  // painted once with its items
    EXPECT_GT(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), program.ListTextWidth(kListView2, longName));

    registry_keys::SetString(UninstallPath("e"), "DisplayName", longerName);
    program.SelectPage(0);
    ShowSystemInfo(program);
    EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{longName, "Browser", longerName}));
    EXPECT_GT(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), program.ListTextWidth(kListView2, longerName))
        << "the longer name is cut off";
}
