#pragma once
// The six system file pages: an editor each, with "Back Up" and "Save", and
// "Restore" and "Compare" for the backup file.
#include <array>

#include "platform/files.h"
#include "sysfiles/file_page.h"
#include "ui/controls.h"
#include "ui/page.h"

// The six file pages' rows, in tab order.
std::array<const FilePageRow*, 6> FilePageRows();

class SysFilePages : public PageHandler {
public:
    explicit SysFilePages(platform::Files& files = platform::RealFiles());
    SysFilePages(const SysFilePages&) = delete;
    SysFilePages& operator=(const SysFilePages&) = delete;

    void Create(Page page, const PageContext& context) override;
    void CreateRest(Page page, const PageContext& context) override;
    void ChangeDpi(Page page, const PageContext& context) override;
    // Every file page's sheet has the same size: all are laid out for it.
    void Resize(int width, int height) override;
    // Shows the page's file again (FilePage::Activate). Throws LoadError.
    void Activate(Page page) override;
    HBRUSH ControlColor(HDC dc, HWND control) override;
    void Posted(UINT message) override;
    void Timer(UINT_PTR timerId) override;
    bool Busy() override;

    // The editor shown on `page`, or nullptr for a page without one.
    HWND Editor(Page page);
    // The rest of the text still going into `editor`, at once: a search needs all of it.
    void CompleteText(HWND editor);
    // At start-up, before the window shows: "c:\windows\win.ini" into Memo1.
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

private:
    // In tab order.
    std::array<FilePage*, 6> FilePages() {
        return {&winIni_, &systemIni_, &bootIni_, &controlIni_, &autoexecBat_, &configSys_};
    }
    // The file page shown on `page`, or nullptr for the other pages.
    FilePage* Find(Page page);

    FilePage winIni_, systemIni_, bootIni_, controlIni_, autoexecBat_, configSys_;
    ui::Dpi dpi_;
    SIZE shortfall_{};  // what the sheets lack of their design size
    ui::Font editorFont_;
    ui::Brush black_;
};
