#include "tweaks/tweaks_page.h"

#include <algorithm>
#include <exception>

#include "app/app_error.h"
#include "app/control_ids.h"
#include "sysfiles/text_file.h"
#include "tweaks/policy_files.h"

namespace {

using Handler = void (TweaksPage::*)();

struct ButtonRow {
    int button;
    const char* caption;
    int x, y, width;
    bool rebootHint;
    Handler handler;
};

constexpr int kButtonHeight = 25;
// The two button columns: 97 pixels wide, the second overlapping the first
// by one pixel; the long buttons span both. The explanation starts at 216.
constexpr int kColumnWidth = 97;
constexpr int kExplanationX = 216;
// A caption fits a button when it clears the button's one-pixel frame.
constexpr int kButtonFrame = 2;
constexpr char kRebootHint[] = "You will need to reboot";

const ButtonRow kButtons[] = {
    {17, "Hide Taskbar", 8, 7, 97, false, &TweaksPage::Button17Click},
    {18, "Show Taskbar", 104, 7, 97, false, &TweaksPage::Button18Click},
    {19, "Hide Startbutton", 8, 31, 97, false, &TweaksPage::Button19Click},
    {20, "Show Startbutton", 104, 31, 97, false, &TweaksPage::Button20Click},
    {21, "Hide Desktopicons", 8, 55, 97, true, &TweaksPage::Button21Click},
    {22, "Show Desktopicons", 104, 55, 97, true, &TweaksPage::Button22Click},
    {23, "Hide SystemTray", 8, 79, 97, false, &TweaksPage::Button23Click},
    {24, "Show SystemTray", 104, 79, 97, false, &TweaksPage::Button24Click},
    {25, "Hide Clock", 8, 103, 97, false, &TweaksPage::Button25Click},
    {26, "Show Clock", 104, 103, 97, false, &TweaksPage::Button26Click},
    {27, "Hide Run", 8, 127, 97, true, &TweaksPage::Button27Click},
    {28, "Show Run", 104, 127, 97, true, &TweaksPage::Button28Click},
    {29, "Hide Search", 8, 151, 97, true, &TweaksPage::Button29Click},
    {30, "Show Search", 104, 151, 97, true, &TweaksPage::Button30Click},
    {31, "Hide Documents", 8, 175, 97, true, &TweaksPage::Button31Click},
    {32, "Show Documents", 104, 175, 97, true, &TweaksPage::Button32Click},
    {7, "Enable CTRL+ALT+DEL/ALT TAB", 8, 199, 193, false, &TweaksPage::Button7Click},
    {15, "Disable CTRL+ALT+DEL/ALT TAB", 8, 223, 193, false, &TweaksPage::Button15Click},
};

// What each toggle button does to the shell and which word it records.
struct ToggleRow {
    int button;
    void (ShellToggles::*action)(bool);
    bool argument;
    StateFile file;
    const char* word;
};

const ToggleRow kToggles[] = {
    {17, &ShellToggles::SetTaskbarHidden, true, StateFile::TB, kHide},
    {18, &ShellToggles::SetTaskbarHidden, false, StateFile::TB, kShow},
    {19, &ShellToggles::SetStartButtonVisible, false, StateFile::SB, kHide},
    {20, &ShellToggles::SetStartButtonVisible, true, StateFile::SB, kShow},
    {23, &ShellToggles::SetTrayHidden, true, StateFile::ST, kHide},
    {24, &ShellToggles::SetTrayHidden, false, StateFile::ST, kShow},
    {25, &ShellToggles::SetClockHidden, true, StateFile::CL, kHide},
    {26, &ShellToggles::SetClockHidden, false, StateFile::CL, kShow},
    {7, &ShellToggles::SetKeyCombosDisabled, false, StateFile::TM, kHide},
    {15, &ShellToggles::SetKeyCombosDisabled, true, StateFile::TM, kShow},
};

// The toggles applied again at start-up, in this order.
struct RestoreRow {
    StateFile file;
    Handler onShow;
    Handler onHide;
};

const RestoreRow kRestoreOrder[] = {
    {StateFile::TB, &TweaksPage::Button18Click, &TweaksPage::Button17Click},
    {StateFile::SB, &TweaksPage::Button20Click, &TweaksPage::Button19Click},
    {StateFile::CL, &TweaksPage::Button26Click, &TweaksPage::Button25Click},
    {StateFile::ST, &TweaksPage::Button24Click, &TweaksPage::Button23Click},
    {StateFile::TM, &TweaksPage::Button15Click, &TweaksPage::Button7Click},
};

const char kExplanation[] =
    "Explanation\r\n"
    "_________\r\n"
    "\r\n"
    "\r\n"
    "By pressing the button the settings will be saved whenever you start this program.\r\n"
    "By putting this program in your startup folder Windows 9.X will startup the way you want. ";

const ToggleRow& ToggleOf(int button) {
    for (const ToggleRow& toggle : kToggles)
        if (toggle.button == button) return toggle;
    throw AppError("No toggle for Button" + std::to_string(button));
}

bool IsMarkerFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The zero-height holders are not for the user: Tab passes them by.
void LeaveTabOrder(HWND control) {
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) & ~WS_TABSTOP);
}

}  // namespace

void TweaksPage::Create(Page, const PageContext& context) {
    CreateButtons(context);
    CreateMemos(context);
    WidenColumnsToCaptions(context);
}

// A font wider than the design's widens both columns to the longest caption;
// the explanation then moves right by as much, keeping its right edge.
void TweaksPage::WidenColumnsToCaptions(const PageContext& context) {
    const ui::Dpi& dpi = context.dpi;
    int column = dpi.Scale(kColumnWidth);
    for (const ButtonRow& row : kButtons) {
        const int needed = ui::TextWidth(GetDlgItem(context.sheet, ids::Button(row.button)), row.caption) +
                           dpi.Scale(kButtonFrame);
        column = std::max(column, row.width == kColumnWidth ? needed : (needed + 2) / 2);
    }
    const int growth = column - dpi.Scale(kColumnWidth);
    if (growth == 0) return;
    for (const ButtonRow& row : kButtons) {
        const int x = dpi.Scale(8) + (row.x == 8 ? 0 : column - 1);
        const int width = row.width == kColumnWidth ? column : 2 * column - 1;
        SetWindowPos(GetDlgItem(context.sheet, ids::Button(row.button)), nullptr, x, dpi.Scale(row.y), width,
                     dpi.Scale(kButtonHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT explanation{};
    GetWindowRect(memo18_.Handle(), &explanation);
    SetWindowPos(memo18_.Handle(), nullptr, dpi.Scale(kExplanationX) + 2 * growth, dpi.Scale(8),
                 explanation.right - explanation.left - 2 * growth, explanation.bottom - explanation.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TweaksPage::CreateButtons(const PageContext& context) {
    for (const ButtonRow& row : kButtons) {
        ui::Button button;
        button.Create({context.sheet, "", row.caption, {row.x, row.y, row.width, kButtonHeight}, 0, 0,
                       ids::Button(row.button), context.font},
                      context.dpi);
        if (row.rebootHint) context.hints->Add(button.Handle(), kRebootHint);
    }
}

void TweaksPage::CreateMemos(const PageContext& context) {
    memo18_.Create({context.sheet, "", kExplanation, {kExplanationX, 8, 553, 393}, 0, 0, ids::Memo(18), context.font},
                   context.dpi);
    memo7_.Create({context.sheet, "", "", {8, 256, 185, 89}, 0, 0, ids::Memo(7), context.font, false},
                  context.dpi);
    for (size_t i = 0; i < holders_.size(); ++i) {
        const int memo = kMarkerMemo + static_cast<int>(i);
        const char* text = memo == kMarkerMemo ? kMarkerInitialText : kHolderInitialText;
        // No word wrap: nobody sees a holder, and wrapping a big damaged
        // state file into a 17-pixel column takes the edit control minutes.
        holders_[i].Create({context.sheet, "", text, {8 + 19 * static_cast<int>(i), 256, 17, 0}, ES_AUTOHSCROLL, 0,
                            ids::Memo(memo), context.font},
                           context.dpi);
        LeaveTabOrder(holders_[i].Handle());
    }
}

void TweaksPage::Command(int controlId, int notifyCode) {
    if (notifyCode != BN_CLICKED) return;
    for (const ButtonRow& row : kButtons)
        if (ids::Button(row.button) == controlId) (this->*row.handler)();
}

HBRUSH TweaksPage::ControlColor(HDC dc, HWND control) {
    if (control != memo18_.Handle()) return nullptr;
    // The explanation reads as part of the page, not as an input box.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void TweaksPage::Record(StateFile file, const char* word) {
    ui::Memo& holder = HolderOf(file);
    holder.SetText(word);
    SaveFile(files_, holder, StateFileOf(file).path);
}

void TweaksPage::RunToggle(int button) {
    const ToggleRow& toggle = ToggleOf(button);
    (toggles_.*toggle.action)(toggle.argument);
    Record(toggle.file, toggle.word);
}

void TweaksPage::RestoreToggles() {
    for (const RestoreRow& row : kRestoreOrder) {
        ui::Memo& holder = HolderOf(row.file);
        LoadFile(files_, StateFileOf(row.file).path, holder);
        if (holder.Text() == kShow) (this->*row.onShow)();
        // Read again: the show handler has just rewritten the holder.
        if (holder.Text() == kHide) (this->*row.onHide)();
    }
}

void TweaksPage::FirstRunCheck() {
    try {
        LoadFile(files_, kFirstRunMarker, Holder(kMarkerMemo));
        return;
    } catch (const std::exception&) {
        // A marker that another program holds still marks an earlier run:
        // only a missing one starts a first run, which resets every choice.
        if (IsMarkerFile(files_.Attributes(kFirstRunMarker))) return;
    }
    CreateStateDirectory();
    SaveFile(files_, Holder(kMarkerMemo), kFirstRunMarker);
    for (const StateFileRow& row : kStateFiles) Record(row.file, row.firstRunWord);
}

void TweaksPage::CreateStateDirectory() {
    const DWORD attributes = files_.Attributes(kStateDirectory);
    const bool isDirectory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!isDirectory && !files_.MakeDirectory(kStateDirectory)) throw AppError("Cannot create C:\\QOR");
}

void TweaksPage::WritePolicyFile(const std::string& valueLine) {
    memo7_.Clear();
    for (const std::string& line : PolicyFileLines(valueLine)) memo7_.AppendLine(line);
    SaveFile(files_, memo7_, kPolicyFilePath);
    // The full path: a relative name would be looked up in the current folder
    // of drive C and could import some other test.reg.
    shell_.ShellExecuteA(nullptr, "open", kPolicyFilePath, "", kPolicyFileDirectory, kShowShow);
}

void TweaksPage::ApplyPolicy(int button) { WritePolicyFile(PolicyValueLine(PolicyOf(button))); }

void TweaksPage::Button17Click() { RunToggle(17); }
void TweaksPage::Button18Click() { RunToggle(18); }
void TweaksPage::Button19Click() { RunToggle(19); }
void TweaksPage::Button20Click() { RunToggle(20); }
void TweaksPage::Button23Click() { RunToggle(23); }
void TweaksPage::Button24Click() { RunToggle(24); }
void TweaksPage::Button25Click() { RunToggle(25); }
void TweaksPage::Button26Click() { RunToggle(26); }
void TweaksPage::Button7Click() { RunToggle(7); }
void TweaksPage::Button15Click() { RunToggle(15); }

void TweaksPage::Button21Click() { ApplyPolicy(21); }
void TweaksPage::Button22Click() { ApplyPolicy(22); }
void TweaksPage::Button27Click() { ApplyPolicy(27); }
void TweaksPage::Button28Click() { ApplyPolicy(28); }
void TweaksPage::Button29Click() { ApplyPolicy(29); }
void TweaksPage::Button30Click() { ApplyPolicy(30); }
void TweaksPage::Button31Click() { ApplyPolicy(31); }
void TweaksPage::Button32Click() { ApplyPolicy(32); }
