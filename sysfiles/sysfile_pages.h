#pragma once
// The six system file pages: an editor each, with "Back Up" and "Save".
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/page.h"
#include "platform/files.h"

struct SysFileRow {
    Page page;
    int memo;                // MemoN
    const char* path;
    int backUpButton;        // ButtonN "Back Up"
    const char* backUpPath;
    int saveButton;          // ButtonN "Save"
    const char* backUpHint;
    bool hintShown;
    int buttonShift;         // design pixels the two buttons stand further left
};

constexpr int kSysFileCount = 6;
extern const SysFileRow kSysFiles[kSysFileCount];

class SysFilePages : public PageHandler {
public:
    explicit SysFilePages(platform::Files& files = platform::RealFiles()) : files_(files) {}
    ~SysFilePages() override;
    SysFilePages(const SysFilePages&) = delete;
    SysFilePages& operator=(const SysFilePages&) = delete;

    void Create(Page page, const PageContext& context) override;
    void Command(int controlId, int notifyCode) override;
    HBRUSH ControlColor(HDC dc, HWND control) override;

    // Start-up step 1: "c:\windows\win.ini" into Memo1.
    void LoadWinIni();
    // Shows the file of `page` again, if it is a system file page: an editor
    // without typed changes reloads it; typed changes are kept, and when the
    // file changed on disk meanwhile the user chooses which to keep.
    // Throws LoadError.
    void Reload(Page page);
    // Before the window closes: asks whether to save typed changes. False
    // when the user cancels or a save did not happen.
    bool SaveChangesBeforeClosing();

    ui::Memo& Editor(int row) { return editors_[row]; }

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

private:
    // What the page knows of its file since the editor last showed or saved it.
    struct FileState {
        std::optional<std::string> bytes;  // the file's bytes, when known
        size_t hiddenBytes = 0;            // from a zero byte on: the editor cannot show them
        std::string loadFailure;           // why the last load failed, other than a missing file
    };

    void Load(int row);
    // The file's bytes into the editor, its typed changes gone.
    void Show(int row, const std::string& bytes);
    void Remember(int row, const std::string& bytes);
    // Each returns false when the user chose not to write.
    bool BackUp(int row);
    bool Save(int row);
    bool WriteEditor(int row, const std::string& path);
    std::vector<int> RowsWithTypedChanges() const;

    platform::Files& files_;
    std::array<ui::Memo, kSysFileCount> editors_;
    std::array<FileState, kSysFileCount> states_;
    HFONT editorFont_ = nullptr;
    HBRUSH black_ = nullptr;
};
