// The real program: the SYSTEM INFO page with the registry and drive C set
// by the test.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/registry_keys.h"
#include "support/program.h"
#include "support/sysinfo_labels.h"
#include "support/tabs.h"

namespace {

using registry_keys::kCurrentVersion;
using registry_keys::kUninstall;
using sysinfo_labels::Value;

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
    program.SelectPage(kWinIniTab);
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
    EXPECT_EQ(program.Text(Value(Fact::WindowsVersion)), "4.10.2222") << "the refresh went to its end";

    registry_keys::CreateKey(kUninstall);
    program.SelectPage(kWinIniTab);
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
    EXPECT_NE(program.Text(Value(Fact::Processor)), "Label4") << "the processor, shown before the software, is there";
    EXPECT_EQ(program.Text(Value(Fact::UserName)), "Windows Username :");
    EXPECT_EQ(program.Text(Value(Fact::NicAddress)), "NIC Macadress : ");
    EXPECT_EQ(program.Text(Value(Fact::CpuSpeed)), "CPU Speed : ");
    EXPECT_EQ(program.Text(Value(Fact::WindowsVersion)), "Computername : ");
    EXPECT_EQ(program.Text(Value(Fact::VolumeSerial)), "Harddisk Serial Number  :");
}

TEST_F(SysInfoE2eTest, ADwordVersionStopsTheRefreshAtTheWindowsVersion) {
    registry_keys::SetString(UninstallPath("x"), "DisplayName", "Only Program");
    registry_keys::SetDword(kCurrentVersion, "Version", 4);

    e2e::Program program;
    ASSERT_TRUE(program.Window());
    program.SelectPage(kSystemInfoTab);
    ExpectFileNotFound(program);
    EXPECT_EQ(program.ListItems(kListView2), std::vector<std::string>{"Only Program"});
    const std::string mhz = program.Text(Value(Fact::CpuSpeed));
    EXPECT_EQ(mhz.substr(mhz.size() - 4), " MHz") << "the clock, measured before the version, is shown: " << mhz;
    EXPECT_EQ(program.Text(Value(Fact::WindowsVersion)), "Computername : ");
    EXPECT_EQ(program.Text(Value(Fact::Language)), "System Language : ");
    EXPECT_EQ(program.Text(Value(Fact::VolumeSerial)), "Harddisk Serial Number  :");
}

// SYSTEM INFO, ABOUT, SYSTEM INFO at once: the second refresh starts while
// the first one's clock measurement runs and takes its result. Only the
// measuring thread is raised: the program's priority class and its window
// thread's priority stay as they were, during the refreshes and after.
TEST_F(SysInfoE2eTest, OverlappingRefreshesLeaveTheProgramsPriorityAsItWas) {
    e2e::Program program;
    ASSERT_TRUE(program.Window());
    // Not the class a program starts with, so that a restore to the usual one shows too.
    ASSERT_TRUE(SetPriorityClass(program.Process(), BELOW_NORMAL_PRIORITY_CLASS));
    const std::unique_ptr<void, decltype(&CloseHandle)> windowThread(
        OpenThread(THREAD_QUERY_INFORMATION, FALSE, GetWindowThreadProcessId(program.Window(), nullptr)), &CloseHandle);
    ASSERT_TRUE(windowThread);
    int raisedSamples = 0;
    const auto sample = [&] {
        if (GetPriorityClass(program.Process()) != BELOW_NORMAL_PRIORITY_CLASS ||
            GetThreadPriority(windowThread.get()) != THREAD_PRIORITY_NORMAL)
            ++raisedSamples;
    };

    program.SelectPage(kSystemInfoTab);
    sample();
    program.SelectPage(kAboutTab);
    sample();
    program.SelectPage(kSystemInfoTab);
    EXPECT_TRUE(e2e::PollFor([&] {
        sample();
        return IsWindowEnabled(program.Control(ids::Button(35))) != FALSE;
    })) << "the refresh did not end";
    sample();
    EXPECT_EQ(raisedSamples, 0);
    EXPECT_EQ(GetPriorityClass(program.Process()), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_NE(program.Text(Value(Fact::CpuSpeed)).find(" MHz"), std::string::npos);
}

// The test prefix is made with drive C labelled "MYDISK", serial 1234abcd
// (scripts/wine-env.sh), which Wine reads when its server starts.
TEST_F(SysInfoE2eTest, ShowsTheVolumeLabelAndSerialOfDriveC) {
    e2e::Program program;
    ShowSystemInfo(program);
    EXPECT_EQ(program.Text(Value(Fact::VolumeSerial)), "Label = MYDISK   VolSer = 1234ABCD");
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
        EXPECT_EQ(program.Text(Value(Fact::Processor)), "Pentium") << "the i686 build meets a type the table names";
    else
        EXPECT_EQ(program.Text(Value(Fact::Processor)), "Test(R) Core(TM) i7-8550U CPU @ 1.80GHz");
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
    const auto answers = [&] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 2000, &result) != 0;
    };
    // The clock measurement alone keeps a refresh going for half a second,
    // far longer than the window takes to answer once.
    ASSERT_TRUE(e2e::PollFor(refreshing)) << "the refresh never started";
    EXPECT_TRUE(answers()) << "the window did not answer within 2 s";
    EXPECT_TRUE(refreshing()) << "the refresh was over before the window answered";
    const bool finished = e2e::PollFor(
        [&] {
            EXPECT_TRUE(answers()) << "the window did not answer within 2 s";
            return !refreshing();
        },
        120000);
    ASSERT_TRUE(finished) << "the refresh did not end";
    EXPECT_EQ(program.ListItems(kListView2), expected);
    EXPECT_EQ(program.Text(Value(Fact::WindowsVersion)), "4.10.2222");
    EXPECT_NE(program.Text(Value(Fact::UserName)), "Windows Username :");
    EXPECT_NE(program.Text(Value(Fact::NicAddress)), "NIC Macadress : ");
    EXPECT_NE(program.Text(Value(Fact::CpuSpeed)).find(" MHz"), std::string::npos);
    EXPECT_EQ(program.Text(Value(Fact::VolumeSerial)).rfind("Label = ", 0), 0u);
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
    program.SelectPage(kWinIniTab);
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
    program.SelectPage(kWinIniTab);
    ShowSystemInfo(program);
    EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{longName, "Browser", longerName}));
    EXPECT_GT(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), program.ListTextWidth(kListView2, longerName))
        << "the longer name is cut off";
}
