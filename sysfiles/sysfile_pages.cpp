#include "sysfiles/sysfile_pages.h"

#include "app/control_ids.h"
#include "app/error_box.h"
#include "sysfiles/text_file.h"

const SysFileRow kSysFiles[kSysFileCount] = {
    {Page::WinIni, 1, "c:\\windows\\win.ini", 1, "c:\\windows\\winBU.ini", 2,
     "Saves the file as winBU.INI in the same directory", true, 0},
    {Page::SystemIni, 2, "c:\\windows\\system.ini", 3, "c:\\windows\\systemBU.ini", 10,
     "Saves the file as systemBU.INI in the same directory", false, 0},
    {Page::BootIni, 3, "c:\\boot.ini", 5, "c:\\bootBU.ini", 11,
     "Saves the file as bootBU.INI in the same directory", false, 0},
    {Page::ControlIni, 4, "c:\\windows\\control.ini", 6, "c:\\windows\\controlBU.ini", 12,
     "Saves the file as controlBU.INI in the same directory", false, 0},
    {Page::AutoexecBat, 5, "c:\\autoexec.bat", 8, "c:\\autoexecBU.bat", 13,
     "Saves the file as autoexecBU.BAT in the same directory", false, 8},
    {Page::ConfigSys, 6, "c:\\config.sys", 9, "c:\\configBU.sys", 14,
     "Saves the file as configBU.SYS in the same directory", false, 0},
};

namespace {

using Handler = void (SysFilePages::*)();
struct ButtonHandler {
    int button;
    Handler handler;
};
const ButtonHandler kButtonHandlers[] = {
    {1, &SysFilePages::Button1Click},   {2, &SysFilePages::Button2Click},
    {3, &SysFilePages::Button3Click},   {10, &SysFilePages::Button10Click},
    {5, &SysFilePages::Button5Click},   {11, &SysFilePages::Button11Click},
    {6, &SysFilePages::Button6Click},   {12, &SysFilePages::Button12Click},
    {8, &SysFilePages::Button8Click},   {13, &SysFilePages::Button13Click},
    {9, &SysFilePages::Button9Click},   {14, &SysFilePages::Button14Click},
};

const COLORREF kLime = RGB(0, 255, 0);

}  // namespace

void SysFilePages::Create(Page page, const PageContext& context) {
    if (!editorFont_) {
        editorFont_ = ui::CreateDesignFont({"MS Sans Serif", -11, true}, context.dpi);
        black_ = CreateSolidBrush(RGB(0, 0, 0));
    }
    for (int row = 0; row < kSysFileCount; ++row) {
        const SysFileRow& file = kSysFiles[row];
        if (file.page != page) continue;
        const int left = row == 0 ? 0 : -1;
        editors_[row].Create({context.sheet, "", "", {left, 0, 790, 393}, 0, 0, ids::Memo(file.memo), editorFont_},
                             context.dpi);
        ui::Button backUp, save;
        backUp.Create({context.sheet, "", "Back Up", {608 - file.buttonShift, 397, 89, 25}, 0, 0,
                       ids::Button(file.backUpButton), context.font},
                      context.dpi);
        save.Create({context.sheet, "", "Save", {696 - file.buttonShift, 397, 89, 25}, 0, 0,
                     ids::Button(file.saveButton), context.font},
                    context.dpi);
        if (file.hintShown) context.hints->Add(backUp.Handle(), file.backUpHint);
    }
}

void SysFilePages::Command(int controlId, int notifyCode) {
    if (notifyCode != BN_CLICKED) return;
    for (const ButtonHandler& entry : kButtonHandlers)
        if (ids::Button(entry.button) == controlId) (this->*entry.handler)();
}

SysFilePages::~SysFilePages() {
    if (editorFont_) DeleteObject(editorFont_);
    if (black_) DeleteObject(black_);
}

HBRUSH SysFilePages::ControlColor(HDC dc, HWND control) {
    bool isEditor = false;
    for (const ui::Memo& editor : editors_) isEditor = isEditor || editor.Handle() == control;
    if (!isEditor) return nullptr;
    // The editors: lime text on black.
    SetTextColor(dc, kLime);
    SetBkColor(dc, RGB(0, 0, 0));
    return black_;
}

void SysFilePages::LoadWinIni() { Load(0); }

void SysFilePages::Reload(Page page) {
    for (int row = 0; row < kSysFileCount; ++row)
        if (kSysFiles[row].page == page) Load(row);
}

void SysFilePages::Load(int row) {
    const char* path = kSysFiles[row].path;
    std::string bytes;
    try {
        bytes = ReadFileBytes(files_, path);
    } catch (const LoadError& error) {
        if (!error.FileMissing()) states_[row].loadFailure = error.Reason();
        throw;
    }
    if (editors_[row].IsModified()) {
        if (bytes == states_[row].bytes) return Remember(row, bytes);
        const bool keepTyped = AskYesNo(std::string(path) +
                                            " has changed on disk since it was loaded, and the editor holds "
                                            "changes that are not saved.\n\n"
                                            "Yes keeps the text you typed; No shows the file as it is now.",
                                        true);
        // Saving the typed text later replaces the file as it is now.
        if (keepTyped) return Remember(row, bytes);
    }
    Show(row, bytes);
}

void SysFilePages::Show(int row, const std::string& bytes) {
    try {
        ShowFileText(kSysFiles[row].path, EditorTextFromBytes(bytes), editors_[row]);
    } catch (const LoadError& error) {
        states_[row].loadFailure = error.Reason();
        throw;
    }
    editors_[row].SetModified(false);
    Remember(row, bytes);
}

void SysFilePages::Remember(int row, const std::string& bytes) {
    states_[row] = {bytes, BytesFromFirstZero(bytes), ""};
}

bool SysFilePages::BackUp(int row) { return WriteEditor(row, kSysFiles[row].backUpPath); }

bool SysFilePages::Save(int row) {
    const std::string path = kSysFiles[row].path;
    FileState& state = states_[row];
    if (!state.loadFailure.empty() &&
        !AskYesNo(path + " could not be loaded (" + state.loadFailure +
                      "), so the editor does not show what the file holds.\n\n"
                      "Write the editor's text over the file anyway?",
                  false))
        return false;
    if (state.hiddenBytes &&
        !AskYesNo(path + " holds " + std::to_string(state.hiddenBytes) +
                      (state.hiddenBytes == 1 ? " byte" : " bytes") +
                      " from a zero byte on, which the editor cannot show. Saving cuts them off the file.\n\n"
                      "Save anyway?",
                  false))
        return false;
    if (!WriteEditor(row, path)) return false;
    editors_[row].SetModified(false);
    Remember(row, editors_[row].Text());
    return true;
}

bool SysFilePages::WriteEditor(int row, const std::string& path) {
    ReadOnlyFile readOnly = ReadOnlyFile::Refuse;
    if (IsReadOnlyFile(files_, path)) {
        if (!AskYesNo(path + " is read-only.\n\nSave it anyway? It stays read-only afterwards.", false)) return false;
        readOnly = ReadOnlyFile::Overwrite;
    }
    WriteFileText(files_, path, editors_[row].Text(), readOnly);
    return true;
}

std::vector<int> SysFilePages::RowsWithTypedChanges() const {
    std::vector<int> rows;
    for (int row = 0; row < kSysFileCount; ++row)
        if (editors_[row].IsModified()) rows.push_back(row);
    return rows;
}

bool SysFilePages::SaveChangesBeforeClosing() {
    const std::vector<int> rows = RowsWithTypedChanges();
    if (rows.empty()) return true;
    std::string files;
    for (int row : rows) files += std::string("\n") + kSysFiles[row].path;
    switch (AskYesNoCancel("These files have changes that are not saved:\n" + files + "\n\nSave them?")) {
        case Answer::Cancel: return false;
        case Answer::No: return true;
        case Answer::Yes: break;
    }
    for (int row : rows)
        if (!Save(row)) return false;
    return true;
}

void SysFilePages::Button1Click() { BackUp(0); }
void SysFilePages::Button2Click() { Save(0); }
void SysFilePages::Button3Click() { BackUp(1); }
void SysFilePages::Button10Click() { Save(1); }
void SysFilePages::Button5Click() { BackUp(2); }
void SysFilePages::Button11Click() { Save(2); }
void SysFilePages::Button6Click() { BackUp(3); }
void SysFilePages::Button12Click() { Save(3); }
void SysFilePages::Button8Click() { BackUp(4); }
void SysFilePages::Button13Click() { Save(4); }
void SysFilePages::Button9Click() { BackUp(5); }
void SysFilePages::Button14Click() { Save(5); }
