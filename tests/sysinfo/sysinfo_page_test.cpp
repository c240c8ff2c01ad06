#include "sysinfo/sysinfo_page.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "core/app_error.h"
#include "ui/control_ids.h"
#include "fakes.h"
#include "support/registry_keys.h"
#include "support/scratch_registry.h"
#include "support/scratch_sheet.h"
#include "support/sysinfo_refresh.h"

namespace {

using registry_keys::kCurrentVersion;
using registry_keys::kUninstall;

// NetBIOS that holds its first request until the test opens the gate.
class GatedNetBios : public FakeNetBios {
public:
    UCHAR Submit(NCB& block) override {
        std::unique_lock lock(mutex_);
        if (!held_) {
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return open_; });
        }
        return FakeNetBios::Submit(block);
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    // Waits, at most 15 s, until the first request waits at the gate.
    bool WaitUntilHeld() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(15), [this] { return held_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool open_ = false;
};

// A clock that never advances and keeps no log: safe for two measurements at once.
class StillTiming : public platform::Timing {
public:
    DWORD ProcessPriorityClass() override { return NORMAL_PRIORITY_CLASS; }
    void SetProcessPriorityClass(DWORD) override {}
    int ThreadPriority() override { return THREAD_PRIORITY_NORMAL; }
    void SetThreadPriority(int) override {}
    void Sleep(DWORD) override {}
    uint64_t TimeStamp() override { return 0; }
    int64_t PerformanceCounter() override { return 0; }
    int64_t PerformanceFrequency() override { return 1; }
};

class SysInfoPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetString(kCurrentVersion, "Version", "Windows 98");
        netbios_.enumerated = {0, 1};
        netbios_.adapters[0] = {NRC_GOODRET, {}};
        netbios_.adapters[1] = {NRC_GOODRET, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}};
        timing_.Advance(500000, 500);
        page_.Create(Page::SystemInfo, sheet_.Context());
    }
    // Keys and values under the stand-in for HKEY_LOCAL_MACHINE.
    void SetString(const std::string& path, const std::string& name, const std::string& value) {
        registry_keys::SetString(path, name, value, registry_.Root());
    }
    void SetDword(const std::string& path, const std::string& name, DWORD value) {
        registry_keys::SetDword(path, name, value, registry_.Root());
    }
    void DeleteValue(const std::string& path, const std::string& name) {
        registry_keys::DeleteValue(path, name, registry_.Root());
    }
    // Refreshes and waits; what the refresh reported as its failure, if anything.
    std::exception_ptr RefreshAndWait() {
        std::exception_ptr failure;
        page_.OnRefreshFailed([&](std::exception_ptr reported) { failure = reported; });
        page_.Refresh();
        EXPECT_TRUE(WaitForRefresh(page_)) << "the refresh did not end";
        return failure;
    }
    bool Button35Enabled() { return IsWindowEnabled(GetDlgItem(sheet_.Handle(), ids::Button(35))) != FALSE; }

    FakeSystemInfo system_;
    FakeNetBios netbios_;
    FakeTiming timing_;
    ScratchRegistry registry_;  // a fresh stand-in for HKEY_LOCAL_MACHINE in every test
    SysInfoPage page_{system_, netbios_, timing_, registry_};
    ScratchSheet sheet_{page_};
};

}  // namespace

TEST_F(SysInfoPageTest, ShowsTheDesignPlaceholdersBeforeTheFirstRefresh) {
    EXPECT_EQ(page_.LabelText(3), "Computername : ");
    EXPECT_EQ(page_.LabelText(12), "Computername : ");
    EXPECT_EQ(page_.LabelText(10), "Label4");
    EXPECT_EQ(page_.LabelText(26), "Default Printer: ");
    EXPECT_EQ(page_.LabelText(30), "Harddisk Serial Number  :");
    EXPECT_EQ(page_.LabelText(29), "Harddisk Serial Number (C:) :");
    EXPECT_EQ(page_.LabelText(4), "Installed Software :");
    HWND listBox = GetDlgItem(sheet_.Handle(), ids::ListBox1);
    ASSERT_NE(listBox, nullptr);
    EXPECT_FALSE(IsWindowVisible(listBox));
    for (int button : {33, 34, 35})
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet_.Handle(), ids::Button(button)))) << button;
}

TEST_F(SysInfoPageTest, RefreshFillsEveryFact) {
    system_.processorType = 686;
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(3), "BUILDHOST\r\n");
    EXPECT_EQ(page_.LabelText(16), "64 MB");
    EXPECT_EQ(page_.LabelText(18), "32,768 KB Free");
    EXPECT_EQ(page_.LabelText(20), "37 %");
    EXPECT_EQ(page_.LabelText(10), "Cyrx 686");
    EXPECT_EQ(page_.LabelText(8), "alice");
    EXPECT_EQ(page_.LabelText(22), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(page_.LabelText(24), " 1.00 MHz");
    EXPECT_EQ(page_.LabelText(26), "LaserJet,winspool,LPT1:");
    EXPECT_EQ(page_.LabelText(12), "Windows 98");
    EXPECT_EQ(page_.LabelText(28), "English (United States)");
    EXPECT_EQ(page_.LabelText(30), "Label = SYSTEM   VolSer = 00001234");
    EXPECT_EQ(system_.asked, (std::vector<std::string>{"Windows/device", "c:\\"}));
    EXPECT_EQ(timing_.priorityClass, static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(timing_.threadPriority, THREAD_PRIORITY_NORMAL);
}

TEST_F(SysInfoPageTest, ComputerNameIsTheListBoxTextAfterEveryRefresh) {
    RefreshAndWait();
    system_.computerName = "RENAMED";
    timing_.Advance(500000, 500);
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(3), "RENAMED\r\n");
}

TEST_F(SysInfoPageTest, MemoryShowsSizesBeyondFourGigabytesAndTheAvailablePhysicalMemory) {
    system_.memory = {81, 16ull << 30, 1073741312ull};  // 16 GiB; 1048575.5 KB available
    page_.Button33Click();
    EXPECT_EQ(page_.LabelText(16), "16,384 MB");
    EXPECT_EQ(page_.LabelText(18), "1,048,576 KB Free");
    EXPECT_EQ(page_.LabelText(20), "81 %");
}

TEST_F(SysInfoPageTest, ReadsTheLocaleSeparatorsAgainWhenTheSettingsChange) {
    system_.memory.totalPhysical = 16ull << 30;
    system_.thousands = ".";
    system_.decimal = ",";
    page_.Button33Click();
    EXPECT_EQ(page_.LabelText(16), "16,384 MB") << "separators are read at creation and on a change only";
    page_.SettingChanged();
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(16), "16.384 MB");
    EXPECT_EQ(page_.LabelText(24), " 1,00 MHz");
}

TEST_F(SysInfoPageTest, ProcessorTypesOutsideTheTableShowTheirNumber) {
    system_.processorType = 1234;
    sheet_.Click(ids::Button(34));
    EXPECT_EQ(page_.LabelText(10), "Unknown processor1234");
}

TEST_F(SysInfoPageTest, WindowsVersionFallsBackToTheProductNameWithoutAVersionValue) {
    DeleteValue(kCurrentVersion, "Version");
    SetString("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", "Windows 7 Test");
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(12), "Windows 7 Test");
}

TEST_F(SysInfoPageTest, AVersionValueOfAnotherTypeStopsTheRefreshAtThatStep) {
    SetDword(kCurrentVersion, "Version", 4);
    const std::exception_ptr failure = RefreshAndWait();
    ASSERT_TRUE(failure);
    EXPECT_THROW(std::rethrow_exception(failure), AppError);
    EXPECT_EQ(page_.LabelText(26), "LaserJet,winspool,LPT1:") << "step 8 ran";
    EXPECT_EQ(page_.LabelText(12), "Computername : ");
    EXPECT_EQ(page_.LabelText(28), "System Language : ");
    EXPECT_EQ(page_.LabelText(30), "Harddisk Serial Number  :");
}

TEST_F(SysInfoPageTest, InstalledSoftwareIsSortedAndCarriesTheUninstallCommands) {
    const std::string base = std::string(kUninstall) + "\\";
    SetString(base + "a", "DisplayName", "Zip Tool");
    SetString(base + "a", "UninstallString", "zip.exe /remove");
    SetString(base + "b", "DisplayName", "Editor");
    SetString(base + "c", "UninstallString", "nameless.exe");  // no display name
    SetString(base + "d", "DisplayName", "");
    SetString(base + "e", "DisplayName", "Editor");  // same name twice
    RefreshAndWait();
    RefreshAndWait();
    EXPECT_EQ(page_.Software().Captions(), (std::vector<std::string>{"Editor", "Editor", "Zip Tool"}));
    EXPECT_EQ(page_.Software().UninstallCommand(2), "zip.exe /remove");
    EXPECT_EQ(page_.Software().UninstallCommand(0), "");
}

TEST_F(SysInfoPageTest, ADisplayNameOfAnotherTypeKeepsTheItemsReadSoFarSorted) {
    const std::string base = std::string(kUninstall) + "\\";
    SetString(base + "1", "DisplayName", "Beta");
    SetString(base + "2", "DisplayName", "Alpha");
    SetDword(base + "3", "DisplayName", 7);
    SetString(base + "4", "DisplayName", "Aardvark");
    try {
        page_.Button35Click();
        FAIL() << "no failure";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'DisplayName'");
    }
    EXPECT_EQ(page_.Software().Captions(), (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST_F(SysInfoPageTest, ARefreshWithNothingChangedUnderTheUninstallKeysShowsTheLastReadWithRenamedCaptionsBack) {
    const std::string base = std::string(kUninstall) + "\\";
    SetString(base + "a", "DisplayName", "Zip Tool");
    SetString(base + "b", "DisplayName", "Editor");
    RefreshAndWait();
    NMLVDISPINFOA rename{};
    rename.hdr = {page_.Software().Handle(), 0, LVN_ENDLABELEDITA};
    rename.item.iItem = 0;
    rename.item.pszText = const_cast<char*>("Renamed");
    EXPECT_EQ(page_.Notify(rename.hdr), TRUE);
    RefreshAndWait();
    EXPECT_EQ(page_.Software().Captions(), (std::vector<std::string>{"Editor", "Zip Tool"}));

    SetString(base + "c", "DisplayName", "Archiver");
    RefreshAndWait();
    EXPECT_EQ(page_.Software().Captions(), (std::vector<std::string>{"Archiver", "Editor", "Zip Tool"}))
        << "a change under the key is read";
}

TEST_F(SysInfoPageTest, ANewerRefreshWhileAnOlderOneIsStillGatheringShowsOnlyItsOwnValues) {
    GatedNetBios netbios;
    netbios.enumerated = {0};
    netbios.adapters[0] = {NRC_GOODRET, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}};
    StillTiming timing;  // two refreshes measure at once
    SysInfoPage page(system_, netbios, timing, registry_);
    ScratchSheet sheet(page);
    page.Create(Page::SystemInfo, sheet.Context());
    page.Refresh();
    ASSERT_TRUE(netbios.WaitUntilHeld());
    EXPECT_TRUE(page.Refreshing());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet.Handle(), ids::Button(35))));

    system_.userName = "bob";
    page.Refresh();
    EXPECT_TRUE(WaitForRefresh(page)) << "the newer refresh waited for the older one";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet.Handle(), ids::Button(35))));
    EXPECT_EQ(page.LabelText(8), "bob");
    EXPECT_EQ(page.LabelText(22), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(page.LabelText(30), "Label = SYSTEM   VolSer = 00001234");
    netbios.Open();
}
