#pragma once
// The main window's tabs by position from the left, as Program::SelectPage
// takes them.
constexpr int kWinIniTab = 0;
constexpr int kSystemIniTab = 1;
constexpr int kBootIniTab = 2;
constexpr int kControlIniTab = 3;
constexpr int kAutoexecBatTab = 4;
constexpr int kConfigSysTab = 5;
constexpr int kRegistrySettingsTab = 6;
constexpr int kControlPanelTab = 7;
constexpr int kSystemInfoTab = 8;
constexpr int kAboutTab = 9;
