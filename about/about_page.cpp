#include "about/about_page.h"

#include <commctrl.h>

#include <utility>

#include "ui/control_ids.h"

const Maker kMaker = {
    .name = "QOR Software",
    .notice = "Freeware - (c) 2026 QOR Software",
    .webAddress = "www.example.com",
    .webUrl = "https://www.example.com/",
    .mailAddress = "info@example.com",
    .tradeRegister = "Trade register Example City 4711",
};

namespace {

const char kMailSubject[] = "Please send info about...";
const char kMailBody[] = "Please typ your text here";

// Design positions of the frame and the two pictures.
constexpr ui::Rect kBevel1{245, 48, 225, 201};
constexpr POINT kImage1{248, 56};
constexpr POINT kImage2{400, 144};
constexpr int kIconSize = 32;

}  // namespace

enum class LabelStyle { Bold, Link, Arial };

struct LabelRow {
    int label;  // LabelN
    POINT at;
    const char* prefix;
    const char* text;
    LabelStyle style;
    void (AboutPage::*onClick)();
};

const LabelRow kLabels[] = {
    {5, {248, 144}, "", kMaker.name, LabelStyle::Bold, nullptr},
    {6, {248, 160}, "", "QOR System Editor 1.0", LabelStyle::Bold, nullptr},
    {9, {248, 176}, "", kMaker.notice, LabelStyle::Bold, nullptr},
    {14, {264, 192}, "internet : ", kMaker.webAddress, LabelStyle::Link, &AboutPage::Label14Click},
    {31, {264, 208}, "contact : ", kMaker.mailAddress, LabelStyle::Link, &AboutPage::Label31Click},
    {32, {251, 228}, "", kMaker.tradeRegister, LabelStyle::Arial, nullptr},
};

namespace {

const LabelRow* RowOf(int controlId) {
    for (const LabelRow& row : kLabels)
        if (ids::Label(row.label) == controlId)
            return &row;
    return nullptr;
}

// Links show the hand while the mouse is over them.
LRESULT CALLBACK HandCursorProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(label, HandCursorProc, 0);
    return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace

void AboutPage::Create(Page, const PageContext& context) {
    sheet_ = context.sheet;
    image1_ = DecodeJpeg(ProgramResource("LOGO"));
    MakeFontsAndIcon(context.dpi);
    for (const LabelRow& row : kLabels) {
        const bool link = row.style == LabelStyle::Link;
        ui::Label label;
        label.Create({.parent = sheet_,
                      .text = std::string(row.prefix) + row.text,
                      .style = static_cast<DWORD>(link ? SS_NOTIFY : 0),
                      .id = ids::Label(row.label),
                      .font = FontOf(row)},
                     dpi_);
        if (link)
            SetWindowSubclass(label.Handle(), HandCursorProc, 0, 0);
        if (row.onClick)
            context.clicks->Bind(ids::Label(row.label), [this, onClick = row.onClick] { (this->*onClick)(); });
    }
    PlaceLabels();
}

void AboutPage::ChangeDpi(Page, const PageContext& context) {
    // The labels take the new fonts before the old ones go.
    const ui::Font bold = std::move(boldFont_), link = std::move(linkFont_), arial = std::move(arialFont_);
    MakeFontsAndIcon(context.dpi);
    for (const LabelRow& row : kLabels)
        ui::Window(GetDlgItem(sheet_, ids::Label(row.label))).SetFont(FontOf(row));
    PlaceLabels();
    InvalidateRect(sheet_, nullptr, TRUE);
}

void AboutPage::MakeFontsAndIcon(const ui::Dpi& dpi) {
    dpi_ = dpi;
    boldFont_ = ui::CreateDesignFont({.bold = true}, dpi);
    linkFont_ = ui::CreateDesignFont({.bold = true, .underline = true}, dpi);
    arialFont_ = ui::CreateDesignFont({.face = "Arial", .bold = true}, dpi);
    image2_ = ui::ProgramIcon("MAINICON", kIconSize, dpi);
}

HFONT AboutPage::FontOf(const LabelRow& row) const {
    switch (row.style) {
        case LabelStyle::Link:
            return linkFont_.get();
        case LabelStyle::Arial:
            return arialFont_.get();
        case LabelStyle::Bold:
            break;
    }
    return boldFont_.get();
}

// Each label at its design place, as large as its text: auto-sized.
void AboutPage::PlaceLabels() {
    for (const LabelRow& row : kLabels) {
        ui::Label label(GetDlgItem(sheet_, ids::Label(row.label)));
        label.Place({row.at.x, row.at.y, 0, 0}, dpi_);
        label.FitToText();
    }
}

HBRUSH AboutPage::ControlColor(HDC dc, HWND control) {
    const LabelRow* row = RowOf(GetDlgCtrlID(control));
    if (GetParent(control) != sheet_ || !row)
        return nullptr;
    SetBkMode(dc, TRANSPARENT);
    if (row->style == LabelStyle::Arial) {
        SetTextColor(dc, RGB(0, 0, 0));
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    SetTextColor(dc, row->style == LabelStyle::Link ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// The logo first, the lowered frame over it, then the icon.
void AboutPage::Paint(HDC dc) {
    image1_.Draw(dc, dpi_.Scale(kImage1.x), dpi_.Scale(kImage1.y), dpi_);
    RECT frame{dpi_.Scale(kBevel1.x), dpi_.Scale(kBevel1.y), dpi_.Scale(kBevel1.x + kBevel1.width),
               dpi_.Scale(kBevel1.y + kBevel1.height)};
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    if (image2_)
        DrawIconEx(dc, dpi_.Scale(kImage2.x), dpi_.Scale(kImage2.y), image2_.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

void AboutPage::Label14Click() { shell_.ShellExecuteA(nullptr, "open", kMaker.webUrl, "", "", SW_SHOW); }

void AboutPage::Label31Click() {
    const std::string mail =
        std::string("mailto:") + kMaker.mailAddress + "?subject=" + kMailSubject + "&Body=" + kMailBody;
    shell_.ShellExecuteA(GetAncestor(sheet_, GA_ROOT), "open", mail.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
