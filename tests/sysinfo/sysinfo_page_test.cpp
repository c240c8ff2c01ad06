#include "sysinfo/sysinfo_page.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/app_error.h"
#include "ui/control_ids.h"
#include "fakes.h"
#include "support/error_of.h"
#include "support/registry_keys.h"
#include "support/scratch_registry.h"
#include "support/scratch_sheet.h"
#include "support/sysinfo_labels.h"
#include "support/sysinfo_refresh.h"

namespace {

using registry_keys::kCurrentVersion;
using registry_keys::kUninstall;

const platform::HardwareAddress kAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

size_t CountOf(const std::vector<std::string>& log, const std::string& entry) {
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
}

size_t EnumRequests(const FakeNetBios& netbios) {
    return static_cast<size_t>(std::count_if(netbios.requests.begin(), netbios.requests.end(),
                                             [](const NCB& block) { return block.ncb_command == NCBENUM; }));
}

class SysInfoPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetString(kCurrentVersion, "Version", "Windows 98");
        netbios_.enumerated = {0, 1};
        netbios_.adapters[0] = {NRC_GOODRET, {}};
        netbios_.adapters[1] = {NRC_GOODRET, kAddress};
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
    std::string LabelText(int labelId) const { return ui::Window(GetDlgItem(sheet_.Handle(), labelId)).Text(); }
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
    EXPECT_EQ(page_.LabelText(Fact::ComputerName), "Computername : ");
    EXPECT_EQ(page_.LabelText(Fact::WindowsVersion), "Computername : ");
    EXPECT_EQ(page_.LabelText(Fact::Processor), "Label4");
    EXPECT_EQ(page_.LabelText(Fact::DefaultPrinter), "Default Printer: ");
    EXPECT_EQ(page_.LabelText(Fact::VolumeSerial), "Harddisk Serial Number  :");
    EXPECT_EQ(LabelText(sysinfo_labels::Caption(Fact::VolumeSerial)), "Harddisk Serial Number (C:) :");
    EXPECT_EQ(LabelText(sysinfo_labels::kSoftwareCaption), "Installed Software :");
    for (const sysinfo_labels::FactLabels& labels : sysinfo_labels::kAll) {
        EXPECT_EQ(page_.LabelText(labels.fact), LabelText(ids::Label(labels.value)))
            << "Label" << labels.value << " is another fact's";
    }
    HWND listBox = GetDlgItem(sheet_.Handle(), ids::ListBox(1));
    ASSERT_NE(listBox, nullptr);
    EXPECT_FALSE(IsWindowVisible(listBox));
    for (int button : {33, 34, 35})
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet_.Handle(), ids::Button(button)))) << button;
}

TEST_F(SysInfoPageTest, RefreshFillsEveryFact) {
    system_.processorType = 686;
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(Fact::ComputerName), "BUILDHOST\r\n");
    EXPECT_EQ(page_.LabelText(Fact::PhysicalMemory), "64 MB");
    EXPECT_EQ(page_.LabelText(Fact::FreeMemory), "32,768 KB Free");
    EXPECT_EQ(page_.LabelText(Fact::MemoryInUse), "37 %");
    EXPECT_EQ(page_.LabelText(Fact::Processor), "Cyrx 686");
    EXPECT_EQ(page_.LabelText(Fact::UserName), "alice");
    EXPECT_EQ(page_.LabelText(Fact::NicAddress), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(page_.LabelText(Fact::CpuSpeed), " 1.00 MHz");
    EXPECT_EQ(page_.LabelText(Fact::DefaultPrinter), "LaserJet,winspool,LPT1:");
    EXPECT_EQ(page_.LabelText(Fact::WindowsVersion), "Windows 98");
    EXPECT_EQ(page_.LabelText(Fact::Language), "English (United States)");
    EXPECT_EQ(page_.LabelText(Fact::VolumeSerial), "Label = SYSTEM   VolSer = 00001234");
    EXPECT_EQ(system_.asked, (std::vector<std::string>{"Windows/device", "c:\\"}));
    EXPECT_EQ(timing_.threadPriority, THREAD_PRIORITY_NORMAL);
}

TEST_F(SysInfoPageTest, ComputerNameIsTheListBoxTextAfterEveryRefresh) {
    RefreshAndWait();
    system_.computerName = "RENAMED";
    timing_.Advance(500000, 500);
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(Fact::ComputerName), "RENAMED\r\n");
}

TEST_F(SysInfoPageTest, MemoryShowsSizesBeyondFourGigabytesAndTheAvailablePhysicalMemory) {
    system_.memory = {81, 16ull << 30, 1073741312ull};  // 16 GiB; 1048575.5 KB available
    page_.Button33Click();
    EXPECT_EQ(page_.LabelText(Fact::PhysicalMemory), "16,384 MB");
    EXPECT_EQ(page_.LabelText(Fact::FreeMemory), "1,048,576 KB Free");
    EXPECT_EQ(page_.LabelText(Fact::MemoryInUse), "81 %");
}

TEST_F(SysInfoPageTest, ReadsTheLocaleSeparatorsAgainWhenTheSettingsChange) {
    system_.memory.totalPhysical = 16ull << 30;
    system_.thousands = ".";
    system_.decimal = ",";
    page_.Button33Click();
    EXPECT_EQ(page_.LabelText(Fact::PhysicalMemory), "16,384 MB")
        << "separators are read at creation and on a change only";
    page_.SettingChanged();
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(Fact::PhysicalMemory), "16.384 MB");
    EXPECT_EQ(page_.LabelText(Fact::CpuSpeed), " 1,00 MHz");
}

TEST_F(SysInfoPageTest, ProcessorTypesOutsideTheTableShowTheirNumber) {
    system_.processorType = 1234;
    sheet_.Click(ids::Button(34));
    EXPECT_EQ(page_.LabelText(Fact::Processor), "Unknown processor1234");
}

TEST_F(SysInfoPageTest, WindowsVersionFallsBackToTheProductNameWithoutAVersionValue) {
    DeleteValue(kCurrentVersion, "Version");
    SetString("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", "Windows 7 Test");
    RefreshAndWait();
    EXPECT_EQ(page_.LabelText(Fact::WindowsVersion), "Windows 7 Test");
}

TEST_F(SysInfoPageTest, AVersionValueOfAnotherTypeStopsTheRefreshAtThatStep) {
    SetDword(kCurrentVersion, "Version", 4);
    const std::exception_ptr failure = RefreshAndWait();
    ASSERT_TRUE(failure);
    EXPECT_EQ(ErrorOf([&] { std::rethrow_exception(failure); }), "Invalid data type for 'Version'");
    EXPECT_EQ(page_.LabelText(Fact::DefaultPrinter), "LaserJet,winspool,LPT1:") << "the printer comes before";
    EXPECT_EQ(page_.LabelText(Fact::WindowsVersion), "Computername : ");
    EXPECT_EQ(page_.LabelText(Fact::Language), "System Language : ");
    EXPECT_EQ(page_.LabelText(Fact::VolumeSerial), "Harddisk Serial Number  :");
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
    EXPECT_EQ(ErrorOf([&] { page_.Button35Click(); }), "Invalid data type for 'DisplayName'");
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

namespace {

// A refresh whose workers are each held at the first fact they gather: the
// other facts' worker at the user name, the NetBIOS query and the clock
// measurement; the test then starts a newer refresh.
class OverlappingRefreshTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry_keys::SetString(kCurrentVersion, "Version", "Windows 98", registry_.Root());
        netbios_.enumerated = {0};
        netbios_.adapters[0] = {NRC_GOODRET, kAddress};
        timing_.Advance(500000, 500);
        page_.emplace(system_, netbios_, timing_, registry_);
        sheet_.emplace(*page_);
        page_->Create(Page::SystemInfo, sheet_->Context());
        page_->Refresh();
        ASSERT_TRUE(system_.gate.WaitUntilHeld());
        ASSERT_TRUE(netbios_.gate.WaitUntilHeld());
        ASSERT_TRUE(timing_.gate.WaitUntilHeld());
    }
    // As the window's end: the sheet goes, then the page.
    void ClosePage() {
        sheet_.reset();
        page_.reset();
    }

    GatedSystemInfo system_;
    GatedNetBios netbios_;
    GatedTiming timing_;
    ScratchRegistry registry_;
    std::optional<SysInfoPage> page_;
    std::optional<ScratchSheet> sheet_;
    OpenAtExit openUserName_{system_.gate};
    OpenAtExit openNetBios_{netbios_.gate};
    OpenAtExit openClock_{timing_.gate};
};

}  // namespace

TEST_F(OverlappingRefreshTest, TheNewerRefreshTakesTheResultsOfTheNetBiosQueryAndClockMeasurementStillRunning) {
    page_->Refresh();
    netbios_.gate.Open();
    timing_.gate.Open();
    ASSERT_TRUE(WaitForRefresh(*page_));
    EXPECT_EQ(page_->LabelText(Fact::NicAddress), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(page_->LabelText(Fact::CpuSpeed), " 1.00 MHz");
    EXPECT_EQ(EnumRequests(netbios_), 1u) << "a second NetBIOS query";
    EXPECT_EQ(CountOf(timing_.log, "rdtsc"), 2u) << "a second clock measurement";
    EXPECT_EQ(timing_.threadPriority, THREAD_PRIORITY_NORMAL);
}

TEST_F(OverlappingRefreshTest, TheReplacedRefreshsWorkerStopsBeforeItsNextFactAndTheNewerShowsOnlyItsOwnValues) {
    page_->Refresh();
    // Copy and Save As... too: a report now would mix old values with new.
    for (const int button : {35, 53, 54})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet_->Handle(), ids::Button(button)))) << "Button" << button;
    netbios_.gate.Open();
    timing_.gate.Open();
    ASSERT_TRUE(WaitForRefresh(*page_));
    for (const int button : {35, 53, 54})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet_->Handle(), ids::Button(button)))) << "Button" << button;
    EXPECT_EQ(page_->LabelText(Fact::UserName), "user 2") << "the held query of the replaced refresh is not shown";
    EXPECT_EQ(page_->LabelText(Fact::VolumeSerial), "Label = SYSTEM   VolSer = 00001234");

    system_.gate.Open();
    ClosePage();  // waits for the replaced refresh's worker, let go
    EXPECT_EQ(system_.asked, (std::vector<std::string>{"Windows/device", "c:\\"}))
        << "the replaced refresh's worker went on to the printer and the volume";
}

TEST(SysInfoPageClosing, DoesNotWaitForAWorkerStillHeld) {
    // Never freed: the worker the page leaves behind goes on with it after the test.
    GatedSystemInfo& system = *new GatedSystemInfo;
    FakeNetBios netbios;
    FakeTiming timing;
    ScratchRegistry registry;
    {
        std::optional<SysInfoPage> page(std::in_place, system, netbios, timing, registry);
        std::optional<ScratchSheet> sheet(std::in_place, *page);
        page->Create(Page::SystemInfo, sheet->Context());
        page->Refresh();
        ASSERT_TRUE(system.gate.WaitUntilHeld());
        sheet.reset();
        page.reset();
    }
    EXPECT_TRUE(system.gate.Holding()) << "closing waited for the held worker";
    system.gate.Open();
}
