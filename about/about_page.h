#pragma once
// The ABOUT page: product, maker and two links.
#include <string>

#include "about/jpeg_picture.h"
#include "platform/shell.h"
#include "ui/controls.h"
#include "ui/page.h"

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

// One label of the page's design table.
struct LabelRow;

class AboutPage : public PageHandler {
public:
    explicit AboutPage(platform::Shell& shell = platform::RealShell()) : shell_(shell) {}
    AboutPage(const AboutPage&) = delete;
    AboutPage& operator=(const AboutPage&) = delete;

    void Create(Page page, const PageContext& context) override;
    void ChangeDpi(Page page, const PageContext& context) override;
    HBRUSH ControlColor(HDC dc, HWND control) override;
    void Paint(HDC dc) override;

    void Label14Click();
    void Label31Click();

private:
    void MakeFontsAndIcon(const ui::Dpi& dpi);
    HFONT FontOf(const LabelRow& row) const;
    void PlaceLabels();

    platform::Shell& shell_;
    HWND sheet_ = nullptr;
    ui::Dpi dpi_;
    ui::Font boldFont_;
    ui::Font linkFont_;
    ui::Font arialFont_;
    Picture image1_;
    ui::Icon image2_;
};
