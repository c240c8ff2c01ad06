#pragma once
// The six system file pages: an editor each, with "Back Up" and "Save".
#include <array>
#include <string>

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
    // Reloads the file of `page`, if it is a system file page.
    void Reload(Page page);

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
    void BackUp(int row);
    void Save(int row);

    platform::Files& files_;
    std::array<ui::Memo, kSysFileCount> editors_;
    HFONT editorFont_ = nullptr;
    HBRUSH black_ = nullptr;
};
