#pragma once
// The six system file pages: an editor each, with "Back Up" and "Save", and
// "Restore" and "Compare" for the backup file.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "sysfiles/compare_window.h"
#include "ui/controls.h"
#include "ui/page.h"

class SysFilePages : public PageHandler {
public:
    explicit SysFilePages(platform::Files& files = platform::RealFiles()) : files_(files) {}
    SysFilePages(const SysFilePages&) = delete;
    SysFilePages& operator=(const SysFilePages&) = delete;

    void Create(Page page, const PageContext& context) override;
    void CreateRest(Page page, const PageContext& context) override;
    // Shows the page's file again: an editor without typed changes reloads
    // it; typed changes are kept, and when the file changed on disk meanwhile
    // the user chooses which to keep. Throws LoadError.
    void Activate(Page page) override;
    HBRUSH ControlColor(HDC dc, HWND control) override;

    // Start-up step 1: "c:\windows\win.ini" into Memo1.
    void LoadWinIni();
    // Before the window closes: asks whether to save typed changes. False
    // when the user cancels or a save did not happen.
    bool SaveChangesBeforeClosing();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button10Click();
    void Button5Click();
    void Button11Click();
    void Button6Click();
    void Button12Click();
    void Button8Click();
    void Button13Click();
    void Button9Click();
    void Button14Click();
    // Restore and Compare of each page, left of its Back Up button.
    void Button41Click();
    void Button42Click();
    void Button43Click();
    void Button44Click();
    void Button45Click();
    void Button46Click();
    void Button47Click();
    void Button48Click();
    void Button49Click();
    void Button50Click();
    void Button51Click();
    void Button52Click();

    static constexpr size_t kFileCount = 6;

private:
    // What the page knows of its file since the editor last showed or saved it.
    struct FileState {
        std::optional<std::string> bytes;  // the file's bytes, when known
        size_t hiddenBytes = 0;            // from a zero byte on: the editor cannot show them
        std::string loadFailure;           // why the last load failed, other than a missing file
        int shownLength = -1;              // the editor's text length when it last showed `bytes`
    };
    // Whether the editor, untouched, still shows `bytes` as it last did:
    // then a reload has nothing to do, and the big text is not fetched.
    bool StillShows(Page page, const std::string& bytes);

    void Load(Page page);
    // The file's bytes into the editor, its typed changes gone.
    void Show(Page page, const std::string& bytes);
    void Remember(Page page, const std::string& bytes);
    // Each returns false when the user chose not to write.
    bool BackUp(Page page);
    bool Save(Page page);
    bool WriteEditor(Page page, const std::string& path);
    ui::Memo& EditorOf(Page page);
    FileState& StateOf(Page page);
    // Restore and Compare are enabled while the backup file exists.
    void RefreshBackupButtons(Page page);
    // The backup's bytes; a missing backup disables its buttons. Throws LoadError.
    std::string ReadBackUp(Page page);
    // The backup's text into the editor, as typed changes; the file stays as it is.
    void Restore(Page page);
    void Compare(Page page);

    platform::Files& files_;
    std::array<ui::Memo, kFileCount> editors_;
    std::array<FileState, kFileCount> states_;
    std::array<ui::Button, kFileCount> restoreButtons_, compareButtons_;
    std::array<CompareWindow, kFileCount> compareWindows_;
    ui::Dpi dpi_;
    ui::Font editorFont_;
    ui::Brush black_;
};
