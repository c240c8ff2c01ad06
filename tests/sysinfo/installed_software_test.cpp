// The installed software list gathered from the machine's two registry views
// and the user's own uninstall key.
#include "sysinfo/installed_software.h"

#include <gtest/gtest.h>

#include "core/app_error.h"
#include "fakes.h"
#include "support/error_of.h"
#include "support/scratch_window.h"

namespace {

using Hive = FakeRegistry::Hive;

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class InstalledSoftwareTest : public ::testing::Test {
protected:
    void SetUp() override { software_.Create(window_.Handle(), ui::Dpi(), nullptr); }
    void AddEntry(Hive hive, const std::string& subkey, const std::string& displayName,
                  const std::string& uninstallCommand) {
        registry_.SetString(hive, kUninstall + "\\" + subkey, "DisplayName", displayName);
        registry_.SetString(hive, kUninstall + "\\" + subkey, "UninstallString", uninstallCommand);
    }

    ScratchWindow window_;
    FakeRegistry registry_;
    InstalledSoftware software_{registry_};
};

// An uninstaller removes the last entry of each uninstall key between the
// count of its entries and their names.
class EntryGoneAfterCount : public FakeRegistry {
public:
    DWORD SubkeyCount(HKEY key) override { return FakeRegistry::SubkeyCount(key) + 1; }
    std::string SubkeyName(HKEY key, DWORD index) override {
        return index < FakeRegistry::SubkeyCount(key) ? FakeRegistry::SubkeyName(key, index) : "";
    }
};

}  // namespace

TEST(InstalledSoftware, AnEntryRemovedWhileTheListIsReadIsLeftOutAndTheUninstallKeyIsNotTakenForOne) {
    EntryGoneAfterCount registry;
    const Hive ownView = sizeof(void*) == 8 ? Hive::Machine64 : Hive::Machine32;
    registry.SetString(ownView, kUninstall, "DisplayName", "The uninstall key itself");
    registry.SetString(ownView, kUninstall + "\\a", "DisplayName", "Alpha");
    ScratchWindow window;
    InstalledSoftware software{registry};
    software.Create(window.Handle(), ui::Dpi(), nullptr);
    software.Rebuild();
    EXPECT_EQ(software.Captions(), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(InstalledSoftwareTest, ListsBothViewsOfTheMachineAndTheUsersOwnInOneSortedList) {
    AddEntry(Hive::Machine64, "zeta", "Zeta 64-bit", "zeta.exe /remove");
    AddEntry(Hive::Machine32, "beta", "Beta 32-bit", "beta.exe /remove");
    AddEntry(Hive::User, "alpha", "Alpha for one user", "alpha.exe /remove");
    AddEntry(Hive::Machine32, "gamma", "Gamma 32-bit", "gamma.exe /remove");
    software_.Rebuild();
    EXPECT_EQ(software_.Captions(),
              (std::vector<std::string>{"Alpha for one user", "Beta 32-bit", "Gamma 32-bit", "Zeta 64-bit"}));
    EXPECT_EQ(software_.UninstallCommand(0), "alpha.exe /remove");
    EXPECT_EQ(software_.UninstallCommand(3), "zeta.exe /remove");
    EXPECT_EQ(registry_.openKeys, 0);
}

TEST_F(InstalledSoftwareTest, OneKeySeenInSeveralPlacesCountsOnceButDifferentKeysWithOneNameStayApart) {
    AddEntry(Hive::Machine64, "{runtime}", "Shared Runtime", "msiexec /x {runtime}");
    AddEntry(Hive::Machine32, "{runtime}", "Shared Runtime", "msiexec /x {runtime}");
    AddEntry(Hive::User, "{runtime}", "Shared Runtime", "msiexec /x {runtime}");
    AddEntry(Hive::Machine32, "{editor}", "Editor", "editor32.exe /remove");
    AddEntry(Hive::Machine64, "{editor}", "Editor", "editor64.exe /remove");
    AddEntry(Hive::User, "editor-portable", "Editor", "editor32.exe /remove");
    software_.Rebuild();
    software_.Rebuild();
    EXPECT_EQ(software_.Captions(), (std::vector<std::string>{"Editor", "Editor", "Editor", "Shared Runtime"}));
}

TEST_F(InstalledSoftwareTest, ADisplayNameOfAnotherTypeInTheOtherViewStopsTheListWithTheItemsReadSoFarSorted) {
    AddEntry(Hive::Machine64, "a", "Zeta", "");
    AddEntry(Hive::Machine32, "a", "Beta", "");
    registry_.SetDword(Hive::Machine32, kUninstall + "\\b", "DisplayName", 7);
    AddEntry(Hive::Machine32, "c", "Alpha", "");
    AddEntry(Hive::User, "d", "Aardvark", "");
    // The 64-bit build reads Zeta from its own view first; the 32-bit build starts with the 32-bit view.
    const std::vector<std::string> readSoFar =
        sizeof(void*) == 8 ? std::vector<std::string>{"Beta", "Zeta"} : std::vector<std::string>{"Beta"};
    EXPECT_EQ(ErrorOf([&] { software_.Rebuild(); }), "Invalid data type for 'DisplayName'");
    EXPECT_EQ(software_.Captions(), readSoFar);
    EXPECT_EQ(registry_.openKeys, 0);
}

TEST_F(InstalledSoftwareTest, AFailureAmongManyEntriesKeepsExactlyTheEntriesReadBeforeIt) {
    // The entries are read in parallel shares; what is kept is still what one
    // reader going through them in order would have read.
    const Hive ownView = sizeof(void*) == 8 ? Hive::Machine64 : Hive::Machine32;
    for (int entry = 1; entry <= 10; ++entry) {
        if (entry == 5)
            registry_.SetDword(ownView, kUninstall + "\\" + std::to_string(entry), "DisplayName", 5);
        else
            AddEntry(ownView, std::to_string(entry), "Program " + std::to_string(10 - entry), "");
    }
    EXPECT_EQ(ErrorOf([&] { software_.Rebuild(); }), "Invalid data type for 'DisplayName'");
    EXPECT_EQ(software_.Captions(), (std::vector<std::string>{"Program 6", "Program 7", "Program 8", "Program 9"}));
    EXPECT_EQ(registry_.openKeys, 0);
}
