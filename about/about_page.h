#pragma once
// The ABOUT page: product, maker and two links.
#include <string>

#include "about/jpeg_picture.h"
#include "app/controls.h"
#include "app/page.h"
#include "platform/shell.h"

// The maker of QOR System Editor as the page shows it.
struct Maker {
    const char* name;
    const char* notice;
    const char* webAddress;  // shown
    const char* webUrl;      // opened
    const char* mailAddress;
    const char* tradeRegister;
};
extern const Maker kMaker;

class AboutPage : public PageHandler {
public:
    explicit AboutPage(platform::Shell& shell = platform::RealShell()) : shell_(shell) {}
    ~AboutPage() override;
    AboutPage(const AboutPage&) = delete;
    AboutPage& operator=(const AboutPage&) = delete;

    void Create(Page page, const PageContext& context) override;
    void Command(int controlId, int notifyCode) override;
    HBRUSH ControlColor(HDC dc, HWND control) override;
    void Paint(HDC dc) override;

    void Label14Click();
    void Label31Click();

    const Picture& Image1() const { return image1_; }

private:
    HWND AddLabel(int number, int x, int y, const std::string& text, HFONT font, DWORD style = 0);

    platform::Shell& shell_;
    HWND sheet_ = nullptr;
    ui::Dpi dpi_;
    HFONT boldFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    HFONT arialFont_ = nullptr;
    Picture image1_;
    HICON image2_ = nullptr;
};
