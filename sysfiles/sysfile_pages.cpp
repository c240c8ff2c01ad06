#include "sysfiles/sysfile_pages.h"

#include "sysfiles/line_diff.h"
#include "ui/control_ids.h"
#include "ui/error_box.h"
#include "ui/text_file.h"

namespace {

// Every Back Up button carries its hint; only WIN.INI's shows it.
using FileButton = ButtonRow<SysFilePages>;

struct SysFileRow {
    Page page;
    int memo;  // MemoN, the editor
    ui::Rect editor;
    const char* path;
    const char* backUpPath;
    FileButton backUp;
    FileButton save;
};

constexpr ui::Rect kFirstEditor{0, 0, 790, 393};
constexpr ui::Rect kEditor{-1, 0, 790, 393};
// On AUTOEXEC.BAT the two buttons stand 8 pixels further left.
constexpr ui::Rect kBackUp{608, 397, 89, 25}, kSave{696, 397, 89, 25};
constexpr ui::Rect kBackUpLeft{600, 397, 89, 25}, kSaveLeft{688, 397, 89, 25};

const SysFileRow kSysFiles[SysFilePages::kFileCount] = {
    {Page::WinIni,
     1,
     kFirstEditor,
     "c:\\windows\\win.ini",
     "c:\\windows\\winBU.ini",
     {1, "Back Up", kBackUp, "Saves the file as winBU.INI in the same directory", &SysFilePages::Button1Click, true},
     {2, "Save", kSave, nullptr, &SysFilePages::Button2Click, false}},
    {Page::SystemIni,
     2,
     kEditor,
     "c:\\windows\\system.ini",
     "c:\\windows\\systemBU.ini",
     {3, "Back Up", kBackUp, "Saves the file as systemBU.INI in the same directory", &SysFilePages::Button3Click,
      false},
     {10, "Save", kSave, nullptr, &SysFilePages::Button10Click, false}},
    {Page::BootIni,
     3,
     kEditor,
     "c:\\boot.ini",
     "c:\\bootBU.ini",
     {5, "Back Up", kBackUp, "Saves the file as bootBU.INI in the same directory", &SysFilePages::Button5Click, false},
     {11, "Save", kSave, nullptr, &SysFilePages::Button11Click, false}},
    {Page::ControlIni,
     4,
     kEditor,
     "c:\\windows\\control.ini",
     "c:\\windows\\controlBU.ini",
     {6, "Back Up", kBackUp, "Saves the file as controlBU.INI in the same directory", &SysFilePages::Button6Click,
      false},
     {12, "Save", kSave, nullptr, &SysFilePages::Button12Click, false}},
    {Page::AutoexecBat,
     5,
     kEditor,
     "c:\\autoexec.bat",
     "c:\\autoexecBU.bat",
     {8, "Back Up", kBackUpLeft, "Saves the file as autoexecBU.BAT in the same directory", &SysFilePages::Button8Click,
      false},
     {13, "Save", kSaveLeft, nullptr, &SysFilePages::Button13Click, false}},
    {Page::ConfigSys,
     6,
     kEditor,
     "c:\\config.sys",
     "c:\\configBU.sys",
     {9, "Back Up", kBackUp, "Saves the file as configBU.SYS in the same directory", &SysFilePages::Button9Click,
      false},
     {14, "Save", kSave, nullptr, &SysFilePages::Button14Click, false}},
};

// Restore and Compare stand left of Back Up, shifted with it on AUTOEXEC.BAT.
struct BackUpRow {
    Page page;
    FileButton restore;
    FileButton compare;
};

constexpr ui::Rect kRestore{432, 397, 89, 25}, kCompare{520, 397, 89, 25};
constexpr ui::Rect kRestoreLeft{424, 397, 89, 25}, kCompareLeft{512, 397, 89, 25};

const BackUpRow kBackUpRows[SysFilePages::kFileCount] = {
    {Page::WinIni,
     {41, "Restore", kRestore, nullptr, &SysFilePages::Button41Click, false},
     {42, "Compare", kCompare, nullptr, &SysFilePages::Button42Click, false}},
    {Page::SystemIni,
     {43, "Restore", kRestore, nullptr, &SysFilePages::Button43Click, false},
     {44, "Compare", kCompare, nullptr, &SysFilePages::Button44Click, false}},
    {Page::BootIni,
     {45, "Restore", kRestore, nullptr, &SysFilePages::Button45Click, false},
     {46, "Compare", kCompare, nullptr, &SysFilePages::Button46Click, false}},
    {Page::ControlIni,
     {47, "Restore", kRestore, nullptr, &SysFilePages::Button47Click, false},
     {48, "Compare", kCompare, nullptr, &SysFilePages::Button48Click, false}},
    {Page::AutoexecBat,
     {49, "Restore", kRestoreLeft, nullptr, &SysFilePages::Button49Click, false},
     {50, "Compare", kCompareLeft, nullptr, &SysFilePages::Button50Click, false}},
    {Page::ConfigSys,
     {51, "Restore", kRestore, nullptr, &SysFilePages::Button51Click, false},
     {52, "Compare", kCompare, nullptr, &SysFilePages::Button52Click, false}},
};

// Unchanged lines shown before and after each change in the Compare window.
constexpr size_t kCompareContext = 3;

const COLORREF kLime = RGB(0, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);

size_t IndexOf(Page page) {
    for (size_t i = 0; i < SysFilePages::kFileCount; ++i)
        if (kSysFiles[i].page == page)
            return i;
    return SysFilePages::kFileCount;
}

const SysFileRow* RowOf(Page page) {
    const size_t index = IndexOf(page);
    return index < SysFilePages::kFileCount ? &kSysFiles[index] : nullptr;
}

}  // namespace

ui::Memo& SysFilePages::EditorOf(Page page) { return editors_[IndexOf(page)]; }
SysFilePages::FileState& SysFilePages::StateOf(Page page) { return states_[IndexOf(page)]; }

void SysFilePages::Create(Page page, const PageContext& context) {
    const SysFileRow* row = RowOf(page);
    if (!row)
        return;
    if (!editorFont_) {
        editorFont_ = ui::CreateDesignFont({.bold = true}, context.dpi);
        black_.reset(CreateSolidBrush(kBlack));
    }
    EditorOf(page).Create(
        {.parent = context.sheet, .bounds = row->editor, .id = ids::Memo(row->memo), .font = editorFont_.get()},
        context.dpi);
    dpi_ = context.dpi;
}

// The buttons: the file shows without them.
void SysFilePages::CreateRest(Page page, const PageContext& context) {
    const SysFileRow* row = RowOf(page);
    if (!row)
        return;
    // Created before Back Up so that Tab goes through the buttons from left to right.
    const BackUpRow& backUpRow = kBackUpRows[IndexOf(page)];
    restoreButtons_[IndexOf(page)] = CreatePageButton(context, backUpRow.restore, *this);
    compareButtons_[IndexOf(page)] = CreatePageButton(context, backUpRow.compare, *this);
    RefreshBackupButtons(page);
    CreatePageButton(context, row->backUp, *this);
    CreatePageButton(context, row->save, *this);
}

HBRUSH SysFilePages::ControlColor(HDC dc, HWND control) {
    bool isEditor = false;
    for (const ui::Memo& editor : editors_)
        isEditor = isEditor || editor.Handle() == control;
    if (!isEditor)
        return nullptr;
    // The editors: lime text on black.
    SetTextColor(dc, kLime);
    SetBkColor(dc, kBlack);
    return black_.get();
}

void SysFilePages::LoadWinIni() { Load(Page::WinIni); }

void SysFilePages::Activate(Page page) {
    if (!RowOf(page))
        return;
    RefreshBackupButtons(page);
    Load(page);
}

void SysFilePages::Load(Page page) {
    const char* path = RowOf(page)->path;
    std::string bytes;
    try {
        bytes = ReadFileBytes(files_, path);
    } catch (const LoadError& error) {
        if (!error.FileMissing())
            StateOf(page).loadFailure = error.Reason();
        throw;
    }
    if (StillShows(page, bytes))
        return;
    if (EditorOf(page).IsModified()) {
        if (bytes == StateOf(page).bytes)
            return Remember(page, bytes);
        const bool keepTyped = AskYesNo(std::string(path) +
                                            " has changed on disk since it was loaded, and the editor holds "
                                            "changes that are not saved.\n\n"
                                            "Yes keeps the text you typed; No shows the file as it is now.",
                                        true);
        // Saving the typed text later replaces the file as it is now.
        if (keepTyped)
            return Remember(page, bytes);
    }
    Show(page, bytes);
}

void SysFilePages::Show(Page page, const std::string& bytes) {
    ui::Memo& editor = EditorOf(page);
    const std::string text = EditorTextFromBytes(bytes);
    if (editor.Text() != text) {
        try {
            editor.SetText(text);
        } catch (const AppError&) {
            const LoadError error(RowOf(page)->path, "it is too large for the editor");
            StateOf(page).loadFailure = error.Reason();
            throw error;
        }
    }
    editor.SetModified(false);
    Remember(page, bytes);
    StateOf(page).shownLength = editor.Length();
}

bool SysFilePages::StillShows(Page page, const std::string& bytes) {
    const FileState& state = StateOf(page);
    const ui::Memo& editor = EditorOf(page);
    return state.shownLength >= 0 && state.loadFailure.empty() && bytes == state.bytes && !editor.IsModified() &&
           editor.Length() == state.shownLength;
}

void SysFilePages::Remember(Page page, const std::string& bytes) {
    StateOf(page) = {bytes, BytesFromFirstZero(bytes), ""};
}

bool SysFilePages::BackUp(Page page) {
    const bool written = WriteEditor(page, RowOf(page)->backUpPath);
    RefreshBackupButtons(page);
    return written;
}

bool SysFilePages::Save(Page page) {
    const std::string path = RowOf(page)->path;
    const FileState& state = StateOf(page);
    if (!state.loadFailure.empty() && !AskYesNo(path + " could not be loaded (" + state.loadFailure +
                                                    "), so the editor does not show what the file holds.\n\n"
                                                    "Write the editor's text over the file anyway?",
                                                false))
        return false;
    if (state.hiddenBytes &&
        !AskYesNo(path + " holds " + std::to_string(state.hiddenBytes) + (state.hiddenBytes == 1 ? " byte" : " bytes") +
                      " from a zero byte on, which the editor cannot show. Saving cuts them off the file.\n\n"
                      "Save anyway?",
                  false))
        return false;
    if (!WriteEditor(page, path))
        return false;
    EditorOf(page).SetModified(false);
    Remember(page, EditorOf(page).Text());
    return true;
}

bool SysFilePages::WriteEditor(Page page, const std::string& path) {
    ReadOnlyFile readOnly = ReadOnlyFile::Refuse;
    if (IsReadOnlyFile(files_, path)) {
        if (!AskYesNo(path + " is read-only.\n\nSave it anyway? It stays read-only afterwards.", false))
            return false;
        readOnly = ReadOnlyFile::Overwrite;
    }
    WriteFileText(files_, path, EditorOf(page).Text(), readOnly);
    return true;
}

bool SysFilePages::SaveChangesBeforeClosing() {
    std::vector<Page> typedIn;
    std::string files;
    for (const SysFileRow& row : kSysFiles) {
        if (!EditorOf(row.page).IsModified())
            continue;
        typedIn.push_back(row.page);
        files += std::string("\n") + row.path;
    }
    if (typedIn.empty())
        return true;
    switch (AskYesNoCancel("These files have changes that are not saved:\n" + files + "\n\nSave them?")) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            return true;
        case Answer::Yes:
            break;
    }
    for (Page page : typedIn)
        if (!Save(page))
            return false;
    return true;
}

void SysFilePages::RefreshBackupButtons(Page page) {
    const DWORD attributes = files_.Attributes(RowOf(page)->backUpPath);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EnableWindow(restoreButtons_[IndexOf(page)].Handle(), exists);
    EnableWindow(compareButtons_[IndexOf(page)].Handle(), exists);
}

std::string SysFilePages::ReadBackUp(Page page) {
    try {
        return ReadFileBytes(files_, RowOf(page)->backUpPath);
    } catch (const LoadError& error) {
        if (error.FileMissing())
            RefreshBackupButtons(page);
        throw;
    }
}

void SysFilePages::Restore(Page page) {
    const std::string text = EditorTextFromBytes(ReadBackUp(page));
    ui::Memo& editor = EditorOf(page);
    if (editor.IsModified() && !AskYesNo(std::string(RowOf(page)->path) +
                                             " has changes in the editor that are not saved.\n\n"
                                             "Replace them with the text of " +
                                             RowOf(page)->backUpPath + "?",
                                         false))
        return;
    editor.SetText(text);
    // Typed changes until saved: the file is written only by Save.
    editor.SetModified(true);
}

void SysFilePages::Compare(Page page) {
    const SysFileRow& row = *RowOf(page);
    const std::string backUp = EditorTextFromBytes(ReadBackUp(page));
    const std::string file = EditorTextFromBytes(ReadFileBytes(files_, row.path));
    const std::vector<DiffLine> lines =
        AroundChanges(CompareLines(SplitLines(file), SplitLines(backUp)), kCompareContext);
    compareWindows_[IndexOf(page)].Open(GetAncestor(EditorOf(page).Handle(), GA_ROOT), row.path, row.backUpPath, lines,
                                        dpi_);
}

void SysFilePages::Button1Click() { BackUp(Page::WinIni); }
void SysFilePages::Button2Click() { Save(Page::WinIni); }
void SysFilePages::Button3Click() { BackUp(Page::SystemIni); }
void SysFilePages::Button10Click() { Save(Page::SystemIni); }
void SysFilePages::Button5Click() { BackUp(Page::BootIni); }
void SysFilePages::Button11Click() { Save(Page::BootIni); }
void SysFilePages::Button6Click() { BackUp(Page::ControlIni); }
void SysFilePages::Button12Click() { Save(Page::ControlIni); }
void SysFilePages::Button8Click() { BackUp(Page::AutoexecBat); }
void SysFilePages::Button13Click() { Save(Page::AutoexecBat); }
void SysFilePages::Button9Click() { BackUp(Page::ConfigSys); }
void SysFilePages::Button14Click() { Save(Page::ConfigSys); }
void SysFilePages::Button41Click() { Restore(Page::WinIni); }
void SysFilePages::Button42Click() { Compare(Page::WinIni); }
void SysFilePages::Button43Click() { Restore(Page::SystemIni); }
void SysFilePages::Button44Click() { Compare(Page::SystemIni); }
void SysFilePages::Button45Click() { Restore(Page::BootIni); }
void SysFilePages::Button46Click() { Compare(Page::BootIni); }
void SysFilePages::Button47Click() { Restore(Page::ControlIni); }
void SysFilePages::Button48Click() { Compare(Page::ControlIni); }
void SysFilePages::Button49Click() { Restore(Page::AutoexecBat); }
void SysFilePages::Button50Click() { Compare(Page::AutoexecBat); }
void SysFilePages::Button51Click() { Restore(Page::ConfigSys); }
void SysFilePages::Button52Click() { Compare(Page::ConfigSys); }
