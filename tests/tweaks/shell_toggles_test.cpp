#include "tweaks/shell_toggles.h"

#include <gtest/gtest.h>

#include "support/fake_windowing.h"

namespace {

class ShellTogglesTest : public ::testing::Test {
protected:
    FakeWindowing windowing_;
    FakeShellWindows shell_{windowing_};
    ShellToggles toggles_{windowing_};
};

TEST_F(ShellTogglesTest, TaskbarHidesWithCommand0AndComesBackWithRestore) {
    toggles_.SetTaskbarHidden(true);
    EXPECT_FALSE(windowing_[shell_.taskbar].visible);
    toggles_.SetTaskbarHidden(false);
    EXPECT_TRUE(windowing_[shell_.taskbar].visible);
    ASSERT_EQ(windowing_.shows.size(), 2u);
    EXPECT_EQ(windowing_.shows[0].window, shell_.taskbar);
    EXPECT_EQ(windowing_.shows[0].command, 0);
    EXPECT_EQ(windowing_.shows[1].command, 9);
}

TEST_F(ShellTogglesTest, StartButtonIsDetachedHiddenAndPutBackShownNormal) {
    toggles_.SetStartButtonVisible(false);
    EXPECT_EQ(windowing_[shell_.startButton].parent, nullptr);
    EXPECT_FALSE(windowing_[shell_.startButton].visible);
    EXPECT_EQ(windowing_[shell_.taskButton].parent, shell_.taskbar);

    toggles_.SetStartButtonVisible(true);
    EXPECT_EQ(windowing_[shell_.startButton].parent, shell_.taskbar);
    EXPECT_TRUE(windowing_[shell_.startButton].visible);
    EXPECT_EQ(windowing_.shows.back().command, 1);
}

TEST_F(ShellTogglesTest, ShowStartButtonTakesOnlyTheShellsOwnButton) {
    const HWND foreign = windowing_.Add("Button", nullptr, 77);
    toggles_.SetStartButtonVisible(true);  // nothing detached yet
    EXPECT_EQ(windowing_[foreign].parent, nullptr);
    EXPECT_TRUE(windowing_.reparents.empty());
    EXPECT_TRUE(windowing_.shows.empty());

    toggles_.SetStartButtonVisible(false);
    toggles_.SetStartButtonVisible(true);  // the foreign button still comes first
    EXPECT_EQ(windowing_[foreign].parent, nullptr);
    EXPECT_EQ(windowing_[shell_.startButton].parent, shell_.taskbar);
}

TEST_F(ShellTogglesTest, ShowStartButtonLeavesAShellsOwnTopLevelButtonAlone) {
    // A shell that draws its start button as a top-level "Button" of its own
    // process, never detached by this program.
    const HWND orb = windowing_.Add("Button", nullptr, FakeShellWindows::kShellProcess);
    toggles_.SetStartButtonVisible(true);
    EXPECT_EQ(windowing_[orb].parent, nullptr);
    EXPECT_TRUE(windowing_.reparents.empty());

    toggles_.SetStartButtonVisible(false);
    toggles_.SetStartButtonVisible(true);
    EXPECT_EQ(windowing_[orb].parent, nullptr);
    EXPECT_EQ(windowing_[shell_.startButton].parent, shell_.taskbar);
    EXPECT_FALSE(windowing_.HasMark(shell_.startButton, "QorDetachedStartButton")) << "put back: the mark goes";
}

TEST(ShellTogglesWithoutTaskbar, StartButtonTogglesChangeNoWindow) {
    FakeWindowing windowing;
    const HWND lone = windowing.Add("Button", nullptr, 77);
    ShellToggles toggles(windowing);
    toggles.SetStartButtonVisible(false);
    toggles.SetStartButtonVisible(true);
    EXPECT_EQ(windowing[lone].parent, nullptr);
    EXPECT_TRUE(windowing[lone].visible);
    EXPECT_TRUE(windowing.reparents.empty());
}

TEST_F(ShellTogglesTest, TrayAndClockHideWith0AndShowWith5) {
    toggles_.SetTrayHidden(true);
    toggles_.SetClockHidden(true);
    EXPECT_FALSE(windowing_[shell_.tray].visible);
    EXPECT_FALSE(windowing_[shell_.clock].visible);
    toggles_.SetTrayHidden(false);
    toggles_.SetClockHidden(false);
    ASSERT_EQ(windowing_.shows.size(), 4u);
    EXPECT_EQ(windowing_.shows[0].window, shell_.tray);
    EXPECT_EQ(windowing_.shows[1].window, shell_.clock);
    EXPECT_EQ(windowing_.shows[2].command, 5);
    EXPECT_EQ(windowing_.shows[3].command, 5);
    EXPECT_TRUE(windowing_[shell_.clock].visible);
}

TEST(ShellTogglesWithoutTaskbar, LookupsFallBackToTopLevelWindows) {
    FakeWindowing windowing;
    const HWND tray = windowing.Add("TrayNotifyWnd", nullptr, 5);
    const HWND clock = windowing.Add("TrayClockWClass", tray, 5);
    ShellToggles toggles(windowing);
    toggles.SetClockHidden(true);
    toggles.SetTrayHidden(true);
    toggles.SetTaskbarHidden(true);
    EXPECT_FALSE(windowing[clock].visible);
    EXPECT_FALSE(windowing[tray].visible);
    EXPECT_EQ(windowing.shows.back().window, nullptr);  // no taskbar: the call does nothing
}

TEST_F(ShellTogglesTest, KeyCombosUseScreenSaverRunningWithoutProfileUpdate) {
    toggles_.SetKeyCombosDisabled(true);
    toggles_.SetKeyCombosDisabled(false);
    ASSERT_EQ(windowing_.parameters.size(), 2u);
    EXPECT_EQ(windowing_.parameters[0].action, 97u);
    EXPECT_EQ(windowing_.parameters[0].param, 1u);
    EXPECT_EQ(windowing_.parameters[1].param, 0u);
    EXPECT_EQ(windowing_.parameters[0].winIni, 0u);
    EXPECT_TRUE(windowing_.parameters[0].receivesPrevious);
}

}  // namespace

TEST_F(ShellTogglesTest, EachElementsStateFollowsItsToggle) {
    toggles_.SetTaskbarHidden(true);
    toggles_.SetStartButtonVisible(false);
    toggles_.SetClockHidden(true);
    EXPECT_EQ(toggles_.TaskbarState(), ElementState::Hidden);
    EXPECT_EQ(toggles_.StartButtonState(), ElementState::Hidden) << "the task button is not the start button";
    EXPECT_EQ(toggles_.TrayState(), ElementState::Shown);
    EXPECT_EQ(toggles_.ClockState(), ElementState::Hidden);
    toggles_.SetTaskbarHidden(false);
    toggles_.SetStartButtonVisible(true);
    EXPECT_EQ(toggles_.TaskbarState(), ElementState::Shown);
    EXPECT_EQ(toggles_.StartButtonState(), ElementState::Shown);
}
