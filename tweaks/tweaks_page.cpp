#include "tweaks/tweaks_page.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "core/app_error.h"
#include "core/file_writer.h"
#include "core/text_file.h"
#include "ui/control_ids.h"
#include "tweaks/policy_files.h"

namespace {

using Handler = void (TweaksPage::*)();

// The two button columns: 97 pixels wide, the second overlapping the first
// by one pixel; the long buttons span both. The explanation starts at 216.
constexpr int kColumnWidth = 97;
constexpr int kLongButtonWidth = 2 * kColumnWidth - 1;
constexpr int kLeftColumnX = 8;
constexpr int kExplanationX = 216;
constexpr int kExplanationY = 8;
// A caption fits a button when it clears the button's one-pixel frame.
constexpr int kButtonFrame = 2;
constexpr char kRebootHint[] = "You will need to reboot";

// Which columns a button stands in.
enum class Columns { Left, Right, Both };

struct TweakRow {
    Columns columns;
    ButtonRow<TweaksPage> button;
};

const TweakRow kButtons[] = {
    {Columns::Left, {17, "Hide Taskbar", {8, 7, 97, 25}, nullptr, &TweaksPage::Button17Click}},
    {Columns::Right, {18, "Show Taskbar", {104, 7, 97, 25}, nullptr, &TweaksPage::Button18Click}},
    {Columns::Left, {19, "Hide Startbutton", {8, 31, 97, 25}, nullptr, &TweaksPage::Button19Click}},
    {Columns::Right, {20, "Show Startbutton", {104, 31, 97, 25}, nullptr, &TweaksPage::Button20Click}},
    {Columns::Left, {21, "Hide Desktopicons", {8, 55, 97, 25}, kRebootHint, &TweaksPage::Button21Click}},
    {Columns::Right, {22, "Show Desktopicons", {104, 55, 97, 25}, kRebootHint, &TweaksPage::Button22Click}},
    {Columns::Left, {23, "Hide SystemTray", {8, 79, 97, 25}, nullptr, &TweaksPage::Button23Click}},
    {Columns::Right, {24, "Show SystemTray", {104, 79, 97, 25}, nullptr, &TweaksPage::Button24Click}},
    {Columns::Left, {25, "Hide Clock", {8, 103, 97, 25}, nullptr, &TweaksPage::Button25Click}},
    {Columns::Right, {26, "Show Clock", {104, 103, 97, 25}, nullptr, &TweaksPage::Button26Click}},
    {Columns::Left, {27, "Hide Run", {8, 127, 97, 25}, kRebootHint, &TweaksPage::Button27Click}},
    {Columns::Right, {28, "Show Run", {104, 127, 97, 25}, kRebootHint, &TweaksPage::Button28Click}},
    {Columns::Left, {29, "Hide Search", {8, 151, 97, 25}, kRebootHint, &TweaksPage::Button29Click}},
    {Columns::Right, {30, "Show Search", {104, 151, 97, 25}, kRebootHint, &TweaksPage::Button30Click}},
    {Columns::Left, {31, "Hide Documents", {8, 175, 97, 25}, kRebootHint, &TweaksPage::Button31Click}},
    {Columns::Right, {32, "Show Documents", {104, 175, 97, 25}, kRebootHint, &TweaksPage::Button32Click}},
    {Columns::Both, {7, "Enable CTRL+ALT+DEL/ALT TAB", {8, 199, 193, 25}, nullptr, &TweaksPage::Button7Click}},
    {Columns::Both, {15, "Disable CTRL+ALT+DEL/ALT TAB", {8, 223, 193, 25}, nullptr, &TweaksPage::Button15Click}},
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

// The current state, below the buttons: one line per shell element the
// toggles act on, then one per policy value.
constexpr int kStateLabel = 40;  // LabelN
constexpr int kStateTop = 256;   // also where the hidden holders stand
constexpr int kStateHeight = 140;
constexpr ui::Rect kExplanation18{kExplanationX, kExplanationY, 553, 393};
constexpr ui::Rect kPolicyText7{kLeftColumnX, kStateTop, 185, 89};

// The hidden holders of the state files, side by side.
ui::Rect HolderBounds(size_t index) { return {kLeftColumnX + 19 * static_cast<int>(index), kStateTop, 17, 0}; }

struct ElementRow {
    const char* caption;
    ElementState (ShellToggles::*state)();
};

const ElementRow kElements[] = {
    {"Taskbar", &ShellToggles::TaskbarState},
    {"Start button", &ShellToggles::StartButtonState},
    {"System tray", &ShellToggles::TrayState},
    {"Clock", &ShellToggles::ClockState},
};

const char* const kPolicyValues[] = {"NoDesktop", "NoRun", "NoFind", "NoRecentDocsMenu"};

const char* ElementStateText(ElementState state) {
    switch (state) {
        case ElementState::Shown:
            return "shown";
        case ElementState::Hidden:
            return "hidden";
        case ElementState::NotFound:
            break;
    }
    return "not found";
}

constexpr UINT_PTR kPolicyImportTimer = 1;
constexpr UINT kPolicyImportPeriodMs = 1000;
constexpr int kPolicyImportReads = 30;

// State files are four bytes: anything much larger is no word of the
// program's, and is never read into memory.
const ReadOptions kStateFileRead{.refuseLinks = true, .maxBytes = 4096};
const WriteOptions kStateFileWrite{.inHeldFolder = true};
constexpr char kCannotCreateFolder[] = "Cannot create C:\\QOR";

bool IsMarkerFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The zero-height holders are not for the user: Tab passes them by.
void LeaveTabOrder(HWND control) {
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) & ~WS_TABSTOP);
}

}  // namespace

void TweaksPage::Create(Page, const PageContext& context) {
    sheet_ = context.sheet;
    dpi_ = context.dpi;
    CreateMemos(context);
    CreateStateLabel(context);
}

void TweaksPage::CreateRest(Page, const PageContext& context) {
    CreateButtons(context);
    Lay({});
}

void TweaksPage::ChangeDpi(Page, const PageContext& context) {
    dpi_ = context.dpi;
    for (ui::Button& button : buttons_)
        button.SetFont(context.font);
    for (ui::Memo& holder : holders_)
        holder.SetFont(context.font);
    for (ui::Window* window : {static_cast<ui::Window*>(&memo18_), static_cast<ui::Window*>(&memo7_),
                               static_cast<ui::Window*>(&stateLabel_)})
        window->SetFont(context.font);
    Lay({});
}

void TweaksPage::Resize(int width, int height) { Lay(SheetShortfall(width, height, dpi_)); }

// The design's places at the page's DPI; the explanation gives up what the
// sheet lacks of its design size.
void TweaksPage::Lay(SIZE shortfall) {
    // The columns are as wide as the buttons' captions: the page is laid out
    // once they are made.
    if (!buttons_.front().Handle())
        return;
    for (const TweakRow& row : kButtons)
        buttons_[&row - kButtons].Place(row.button.bounds, dpi_);
    memo18_.Place(kExplanation18, dpi_);
    memo7_.Place(kPolicyText7, dpi_);
    for (size_t i = 0; i < holders_.size(); ++i)
        holders_[i].Place(HolderBounds(i), dpi_);
    WidenColumnsToCaptions();
    RECT explanation = memo18_.BoundsOnParent();
    explanation.right -= shortfall.cx;
    explanation.bottom -= shortfall.cy;
    memo18_.SetBounds(explanation);
    // As wide as both button columns, whatever width they took.
    RECT state = ui::Scaled({kLeftColumnX, kStateTop, 0, kStateHeight}, dpi_);
    state.right = state.left + longButtonWidth_;
    stateLabel_.SetBounds(state);
}

void TweaksPage::CreateStateLabel(const PageContext& context) {
    stateLabel_.Create({.parent = context.sheet,
                        .bounds = {kLeftColumnX, kStateTop, 0, kStateHeight},
                        .id = ids::Label(kStateLabel),
                        .font = context.font},
                       context.dpi);
}

void TweaksPage::ShowCurrentState() { stateLabel_.TrySetText(CurrentStateText()); }

std::string TweaksPage::CurrentStateText() {
    std::string text = "Current state:";
    for (const ElementRow& row : kElements)
        text += std::string("\r\n") + row.caption + ": " + ElementStateText((toggles_.*row.state)());
    for (const char* name : kPolicyValues)
        text += std::string("\r\n") + name + ": " + PolicyValueText(registry_, name);
    return text;
}

void TweaksPage::WatchPolicyImport() {
    stateReadsLeft_ = kPolicyImportReads;
    SetTimer(sheet_, kPolicyImportTimer, kPolicyImportPeriodMs, nullptr);
}

void TweaksPage::Timer(UINT_PTR timerId) {
    if (timerId != kPolicyImportTimer)
        return;
    ShowCurrentState();
    if (--stateReadsLeft_ <= 0)
        KillTimer(sheet_, kPolicyImportTimer);
}

// A font wider than the design's widens both columns to the longest caption;
// the explanation then moves right by as much, keeping its right edge.
void TweaksPage::WidenColumnsToCaptions() {
    int column = dpi_.Scale(kColumnWidth);
    for (const TweakRow& row : kButtons) {
        const int needed =
            ui::TextWidth(buttons_[&row - kButtons].Handle(), row.button.caption) + dpi_.Scale(kButtonFrame);
        column = std::max(column, row.columns == Columns::Both ? (needed + 2) / 2 : needed);
    }
    const int growth = column - dpi_.Scale(kColumnWidth);
    longButtonWidth_ = growth == 0 ? dpi_.Scale(kLongButtonWidth) : 2 * column - 1;
    if (growth == 0)
        return;
    for (const TweakRow& row : kButtons) {
        const int x = dpi_.Scale(kLeftColumnX) + (row.columns == Columns::Right ? column - 1 : 0);
        const int width = row.columns == Columns::Both ? longButtonWidth_ : column;
        SetWindowPos(buttons_[&row - kButtons].Handle(), nullptr, x, dpi_.Scale(row.button.bounds.y), width,
                     dpi_.Scale(row.button.bounds.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const RECT explanation = memo18_.BoundsOnParent();
    SetWindowPos(memo18_.Handle(), nullptr, dpi_.Scale(kExplanationX) + 2 * growth, dpi_.Scale(kExplanationY),
                 explanation.right - explanation.left - 2 * growth, explanation.bottom - explanation.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TweaksPage::CreateButtons(const PageContext& context) {
    for (const TweakRow& row : kButtons) {
        buttons_[&row - kButtons] = CreatePageButton(context,
                                                     {.button = row.button.button,
                                                      .caption = row.button.caption,
                                                      .bounds = row.button.bounds,
                                                      .hint = row.button.hint},
                                                     [this, onClick = row.button.onClick] { Apply(onClick); });
    }
}

void TweaksPage::CreateMemos(const PageContext& context) {
    memo18_.Create({.parent = context.sheet,
                    .text = kExplanation,
                    .bounds = kExplanation18,
                    .id = ids::Memo(18),
                    .font = context.font},
                   context.dpi);
    memo7_.Create(
        {.parent = context.sheet, .bounds = kPolicyText7, .id = ids::Memo(7), .font = context.font, .visible = false},
        context.dpi);
    for (size_t i = 0; i < holders_.size(); ++i) {
        const int memo = kMarkerMemo + static_cast<int>(i);
        const char* text = memo == kMarkerMemo ? kMarkerInitialText : kHolderInitialText;
        // No word wrap: nobody sees a holder, and wrapping a big damaged
        // state file into a 17-pixel column takes the edit control minutes.
        holders_[i].Create({.parent = context.sheet,
                            .text = text,
                            .bounds = HolderBounds(i),
                            .style = ES_AUTOHSCROLL,
                            .id = ids::Memo(memo),
                            .font = context.font},
                           context.dpi);
        LeaveTabOrder(holders_[i].Handle());
    }
}

void TweaksPage::Apply(Handler onClick) {
    try {
        (this->*onClick)();
    } catch (...) {
        // The shell has changed even when recording the choice failed.
        ShowCurrentState();
        throw;
    }
    ShowCurrentState();
}

HBRUSH TweaksPage::ControlColor(HDC dc, HWND control) {
    if (control != memo18_.Handle())
        return nullptr;
    // The explanation reads as part of the page, not as an input box.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void TweaksPage::Record(StateFile file, const char* word) {
    ui::Memo& holder = HolderOf(file);
    holder.SetText(word);
    const StateFolder folder(files_, security_);
    if (!folder.Refusal().empty())
        return SayRefusedOnce(folder);
    // Nothing is written where no folder is held: one made meanwhile could lead anywhere.
    if (!folder.IsHeld())
        throw AppError("Cannot create file " + std::string(StateFileOf(file).path) + ": " +
                       FailureReason(ERROR_PATH_NOT_FOUND));
    WriteFileText(files_, StateFileOf(file).path, holder.Text(), kStateFileWrite);
}

void TweaksPage::SayRefusedOnce(const StateFolder& folder) {
    if (refusalSaid_)
        return;
    refusalSaid_ = true;
    throw AppError(folder.RefusalMessage());
}

void TweaksPage::RestoreToggles() {
    const StateFolder folder(files_, security_);
    if (!folder.IsHeld())
        throw AppError(folder.RefusalMessage());
    for (const RestoreRow& row : kRestoreOrder) {
        ui::Memo& holder = HolderOf(row.file);
        holder.SetText(LoadText(files_, StateFileOf(row.file).path, kStateFileRead));
        if (holder.Text() == kShow)
            (this->*row.onShow)();
        // Read again: the show handler has just rewritten the holder.
        if (holder.Text() == kHide)
            (this->*row.onHide)();
    }
}

void TweaksPage::FirstRunCheck() {
    std::optional<StateFolder> folder(std::in_place, files_, security_);
    if (!folder->IsHeld() && folder->Refusal().empty()) {
        CreateStateDirectory();
        folder.emplace(files_, security_);
    }
    if (!folder->Refusal().empty())
        return SayRefusedOnce(*folder);
    if (!folder->IsHeld())
        throw AppError(kCannotCreateFolder);
    if (MarkerShowsEarlierRun())
        return;
    WriteFileText(files_, kFirstRunMarker, Holder(kMarkerMemo).Text(), kStateFileWrite);
    for (const StateFileRow& row : kStateFiles)
        Record(row.file, row.firstRunWord);
}

// A marker that cannot be read, as one another program holds, still marks an
// earlier run: only a missing one starts a first run, which resets every choice.
bool TweaksPage::MarkerShowsEarlierRun() {
    try {
        Holder(kMarkerMemo).SetText(LoadText(files_, kFirstRunMarker, kStateFileRead));
        return true;
    } catch (const std::exception&) {
        return IsMarkerFile(files_.Attributes(kFirstRunMarker));
    }
}

void TweaksPage::CreateStateDirectory() {
    if (!files_.MakeDirectory(kStateDirectory, kStateFolderSecurity))
        throw AppError(kCannotCreateFolder);
}

void TweaksPage::WritePolicyFile(const std::string& valueLine) {
    memo7_.Clear();
    for (const std::string& line : PolicyFileLines(valueLine))
        memo7_.AppendLine(line);
    // An editor still busy with the last file lets go of it: this one replaces it.
    policyImport_.reset();
    WriteFileText(files_, kPolicyFilePath, memo7_.Text(),
                  {.security = security_.IsElevated() ? kPolicyFileSecurity : ""});
    ImportPolicyFile();
    WatchPolicyImport();
}

// The system's own registry editor, by its full path, imports the file; until
// it ends, nobody may change or remove the file it reads.
void TweaksPage::ImportPolicyFile() {
    platform::FileHandle file(files_, OpenToRead(files_, kPolicyFilePath, {.refuseLinks = true}));
    platform::Process editor =
        shell_.StartProgram(system_.WindowsDirectory() + "\\regedit.exe",
                            "regedit.exe \"" + std::string(kPolicyFilePath) + "\"", kPolicyFileDirectory, SW_SHOW);
    if (editor)
        policyImport_ = std::make_unique<platform::FileHeldWhileRunning>(files_, file.Release(), std::move(editor));
}

void TweaksPage::Button17Click() {
    toggles_.SetTaskbarHidden(true);
    Record(StateFile::TB, kHide);
}
void TweaksPage::Button18Click() {
    toggles_.SetTaskbarHidden(false);
    Record(StateFile::TB, kShow);
}
void TweaksPage::Button19Click() {
    toggles_.SetStartButtonVisible(false);
    Record(StateFile::SB, kHide);
}
void TweaksPage::Button20Click() {
    toggles_.SetStartButtonVisible(true);
    Record(StateFile::SB, kShow);
}
void TweaksPage::Button23Click() {
    toggles_.SetTrayHidden(true);
    Record(StateFile::ST, kHide);
}
void TweaksPage::Button24Click() {
    toggles_.SetTrayHidden(false);
    Record(StateFile::ST, kShow);
}
void TweaksPage::Button25Click() {
    toggles_.SetClockHidden(true);
    Record(StateFile::CL, kHide);
}
void TweaksPage::Button26Click() {
    toggles_.SetClockHidden(false);
    Record(StateFile::CL, kShow);
}
// In TM "hide" records that the key combinations work, "show" that they do not.
void TweaksPage::Button7Click() {
    toggles_.SetKeyCombosDisabled(false);
    Record(StateFile::TM, kHide);
}
void TweaksPage::Button15Click() {
    toggles_.SetKeyCombosDisabled(true);
    Record(StateFile::TM, kShow);
}

void TweaksPage::Button21Click() { WritePolicyFile(PolicyValueLine("NoDesktop", kPolicyOn)); }
void TweaksPage::Button22Click() { WritePolicyFile(PolicyValueLine("NoDesktop", kPolicyOff)); }
void TweaksPage::Button27Click() { WritePolicyFile(PolicyValueLine("NoRun", kPolicyOn)); }
void TweaksPage::Button28Click() { WritePolicyFile(PolicyValueLine("NoRun", kPolicyOff)); }
void TweaksPage::Button29Click() { WritePolicyFile(PolicyValueLine("NoFind", kPolicyOn)); }
void TweaksPage::Button30Click() { WritePolicyFile(PolicyValueLine("NoFind", kPolicyOff)); }
void TweaksPage::Button31Click() { WritePolicyFile(PolicyValueLine("NoRecentDocsMenu", kPolicyOn)); }
void TweaksPage::Button32Click() { WritePolicyFile(PolicyValueLine("NoRecentDocsMenu", kPolicyOff)); }
