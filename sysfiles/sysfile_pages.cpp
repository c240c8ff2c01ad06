#include "sysfiles/sysfile_pages.h"

#include <string>
#include <utility>
#include <vector>

#include "ui/error_box.h"

namespace {

constexpr ui::Rect kFirstEditor{0, 0, 790, 393};
constexpr ui::Rect kEditor{-1, 0, 790, 393};
// On AUTOEXEC.BAT the four buttons stand 8 pixels further left.
constexpr ui::Rect kRestore{432, 397, 89, 25}, kCompare{520, 397, 89, 25};
constexpr ui::Rect kBackUp{608, 397, 89, 25}, kSave{696, 397, 89, 25};
constexpr ui::Rect kRestoreLeft{424, 397, 89, 25}, kCompareLeft{512, 397, 89, 25};
constexpr ui::Rect kBackUpLeft{600, 397, 89, 25}, kSaveLeft{688, 397, 89, 25};

// Every Back Up button carries its hint; only WIN.INI's shows it.
const FilePageRow kWinIni{
    Page::WinIni,
    1,
    kFirstEditor,
    "c:\\windows\\win.ini",
    "c:\\windows\\winBU.ini",
    {41, "Restore", kRestore, nullptr, &SysFilePages::Button41Click, false},
    {42, "Compare", kCompare, nullptr, &SysFilePages::Button42Click, false},
    {1, "Back Up", kBackUp, "Saves the file as winBU.INI in the same directory", &SysFilePages::Button1Click, true},
    {2, "Save", kSave, nullptr, &SysFilePages::Button2Click, false}};
const FilePageRow kSystemIni{
    Page::SystemIni,
    2,
    kEditor,
    "c:\\windows\\system.ini",
    "c:\\windows\\systemBU.ini",
    {43, "Restore", kRestore, nullptr, &SysFilePages::Button43Click, false},
    {44, "Compare", kCompare, nullptr, &SysFilePages::Button44Click, false},
    {3, "Back Up", kBackUp, "Saves the file as systemBU.INI in the same directory", &SysFilePages::Button3Click, false},
    {10, "Save", kSave, nullptr, &SysFilePages::Button10Click, false}};
const FilePageRow kBootIni{
    Page::BootIni,
    3,
    kEditor,
    "c:\\boot.ini",
    "c:\\bootBU.ini",
    {45, "Restore", kRestore, nullptr, &SysFilePages::Button45Click, false},
    {46, "Compare", kCompare, nullptr, &SysFilePages::Button46Click, false},
    {5, "Back Up", kBackUp, "Saves the file as bootBU.INI in the same directory", &SysFilePages::Button5Click, false},
    {11, "Save", kSave, nullptr, &SysFilePages::Button11Click, false}};
const FilePageRow kControlIni{Page::ControlIni,
                              4,
                              kEditor,
                              "c:\\windows\\control.ini",
                              "c:\\windows\\controlBU.ini",
                              {47, "Restore", kRestore, nullptr, &SysFilePages::Button47Click, false},
                              {48, "Compare", kCompare, nullptr, &SysFilePages::Button48Click, false},
                              {6, "Back Up", kBackUp, "Saves the file as controlBU.INI in the same directory",
                               &SysFilePages::Button6Click, false},
                              {12, "Save", kSave, nullptr, &SysFilePages::Button12Click, false}};
const FilePageRow kAutoexecBat{Page::AutoexecBat,
                               5,
                               kEditor,
                               "c:\\autoexec.bat",
                               "c:\\autoexecBU.bat",
                               {49, "Restore", kRestoreLeft, nullptr, &SysFilePages::Button49Click, false},
                               {50, "Compare", kCompareLeft, nullptr, &SysFilePages::Button50Click, false},
                               {8, "Back Up", kBackUpLeft, "Saves the file as autoexecBU.BAT in the same directory",
                                &SysFilePages::Button8Click, false},
                               {13, "Save", kSaveLeft, nullptr, &SysFilePages::Button13Click, false}};
const FilePageRow kConfigSys{
    Page::ConfigSys,
    6,
    kEditor,
    "c:\\config.sys",
    "c:\\configBU.sys",
    {51, "Restore", kRestore, nullptr, &SysFilePages::Button51Click, false},
    {52, "Compare", kCompare, nullptr, &SysFilePages::Button52Click, false},
    {9, "Back Up", kBackUp, "Saves the file as configBU.SYS in the same directory", &SysFilePages::Button9Click, false},
    {14, "Save", kSave, nullptr, &SysFilePages::Button14Click, false}};

const COLORREF kLime = RGB(0, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

std::array<const FilePageRow*, 6> FilePageRows() {
    return {&kWinIni, &kSystemIni, &kBootIni, &kControlIni, &kAutoexecBat, &kConfigSys};
}

SysFilePages::SysFilePages(platform::Files& files)
    : winIni_(kWinIni, files),
      systemIni_(kSystemIni, files),
      bootIni_(kBootIni, files),
      controlIni_(kControlIni, files),
      autoexecBat_(kAutoexecBat, files),
      configSys_(kConfigSys, files) {}

FilePage* SysFilePages::Find(Page page) {
    for (FilePage* file : FilePages())
        if (file->Row().page == page)
            return file;
    return nullptr;
}

void SysFilePages::Create(Page page, const PageContext& context) {
    FilePage* file = Find(page);
    if (!file)
        return;
    if (!editorFont_) {
        editorFont_ = ui::CreateDesignFont({.bold = true}, context.dpi);
        black_.reset(CreateSolidBrush(kBlack));
    }
    file->CreateEditor(context, editorFont_.get());
    dpi_ = context.dpi;
}

// All file pages at once: they share the editors' font.
void SysFilePages::ChangeDpi(Page page, const PageContext& context) {
    if (!Find(page) || dpi_.Value() == context.dpi.Value())
        return;
    dpi_ = context.dpi;
    const ui::Font previous = std::exchange(editorFont_, ui::CreateDesignFont({.bold = true}, dpi_));
    for (FilePage* file : FilePages()) {
        if (file->Editor()) {
            file->SetFonts(editorFont_.get(), context.font);
            file->Lay(dpi_, shortfall_);
        }
    }
}

void SysFilePages::Resize(int width, int height) {
    shortfall_ = SheetShortfall(width, height, dpi_);
    for (FilePage* file : FilePages())
        if (file->Editor())
            file->Lay(dpi_, shortfall_);
}

// The buttons: the file shows without them.
void SysFilePages::CreateRest(Page page, const PageContext& context) {
    FilePage* file = Find(page);
    if (!file)
        return;
    const FilePageRow& row = file->Row();
    file->SetBackUpTools(CreatePageButton(context, row.restore, *this), CreatePageButton(context, row.compare, *this));
    CreatePageButton(context, row.backUp, *this);
    CreatePageButton(context, row.save, *this);
    file->Lay(dpi_, shortfall_);
}

HBRUSH SysFilePages::ControlColor(HDC dc, HWND control) {
    bool isEditor = false;
    for (const FilePage* file : FilePages())
        isEditor = isEditor || file->Holds(control);
    if (!isEditor)
        return nullptr;
    // The editors: lime text on black.
    SetTextColor(dc, kLime);
    SetBkColor(dc, kBlack);
    return black_.get();
}

void SysFilePages::Posted(UINT message) {
    for (FilePage* file : FilePages()) {
        if (message == kComparedPosted)
            file->ShowCompared();
        else if (message == kWrittenPosted)
            file->EndWrite();
    }
}

void SysFilePages::Timer(UINT_PTR timerId) {
    for (FilePage* file : FilePages())
        file->FillMore(timerId);
}

bool SysFilePages::Busy() {
    for (const FilePage* file : FilePages())
        if (file->Comparing() || file->Filling() || file->Writing())
            return true;
    return false;
}

HWND SysFilePages::Editor(Page page) {
    const FilePage* file = Find(page);
    return file ? file->Editor() : nullptr;
}

void SysFilePages::CompleteText(HWND editor) {
    for (FilePage* file : FilePages())
        if (file->Editor() == editor)
            file->FinishFill();
}

void SysFilePages::LoadWinIni() { winIni_.Load(); }

void SysFilePages::Activate(Page page) {
    if (FilePage* file = Find(page))
        file->Activate();
}

bool SysFilePages::SaveChangesBeforeClosing() {
    // A write still going on ends first: its failure is told, and stops the closing.
    for (FilePage* file : FilePages())
        file->FinishWrite();
    std::vector<FilePage*> typedIn;
    std::string paths;
    for (FilePage* file : FilePages()) {
        if (!file->IsModified())
            continue;
        typedIn.push_back(file);
        paths += std::string("\n") + file->Row().path;
    }
    if (typedIn.empty())
        return true;
    switch (AskYesNoCancel("These files have changes that are not saved:\n" + paths + "\n\nSave them?")) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            return true;
        case Answer::Yes:
            break;
    }
    for (FilePage* file : typedIn) {
        if (!file->Save())
            return false;
        file->FinishWrite();
    }
    return true;
}

void SysFilePages::Button1Click() { winIni_.BackUp(); }
void SysFilePages::Button2Click() { winIni_.Save(); }
void SysFilePages::Button3Click() { systemIni_.BackUp(); }
void SysFilePages::Button10Click() { systemIni_.Save(); }
void SysFilePages::Button5Click() { bootIni_.BackUp(); }
void SysFilePages::Button11Click() { bootIni_.Save(); }
void SysFilePages::Button6Click() { controlIni_.BackUp(); }
void SysFilePages::Button12Click() { controlIni_.Save(); }
void SysFilePages::Button8Click() { autoexecBat_.BackUp(); }
void SysFilePages::Button13Click() { autoexecBat_.Save(); }
void SysFilePages::Button9Click() { configSys_.BackUp(); }
void SysFilePages::Button14Click() { configSys_.Save(); }
void SysFilePages::Button41Click() { winIni_.Restore(); }
void SysFilePages::Button42Click() { winIni_.Compare(dpi_); }
void SysFilePages::Button43Click() { systemIni_.Restore(); }
void SysFilePages::Button44Click() { systemIni_.Compare(dpi_); }
void SysFilePages::Button45Click() { bootIni_.Restore(); }
void SysFilePages::Button46Click() { bootIni_.Compare(dpi_); }
void SysFilePages::Button47Click() { controlIni_.Restore(); }
void SysFilePages::Button48Click() { controlIni_.Compare(dpi_); }
void SysFilePages::Button49Click() { autoexecBat_.Restore(); }
void SysFilePages::Button50Click() { autoexecBat_.Compare(dpi_); }
void SysFilePages::Button51Click() { configSys_.Restore(); }
void SysFilePages::Button52Click() { configSys_.Compare(dpi_); }
