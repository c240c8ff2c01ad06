#include "about/about_page.h"

#include <commctrl.h>

#include "app/control_ids.h"

const Maker kMaker = {
    "QOR Software",
    "Freeware - (c) 2026 QOR Software",
    "www.example.com",
    "https://www.example.com/",
    "info@example.com",
    "Trade register Example City 4711",
};

namespace {

const char kMailSubject[] = "Please send info about...";
const char kMailBody[] = "Please typ your text here";

// Design positions of the frame and the two pictures.
constexpr ui::Rect kBevel1{245, 48, 225, 201};
constexpr POINT kImage1{248, 56};
constexpr POINT kImage2{400, 144};

bool IsLink(int id) { return id == ids::Label(14) || id == ids::Label(31); }

// Links show the hand while the mouse is over them.
LRESULT CALLBACK HandCursorProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(label, HandCursorProc, 0);
    return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace

AboutPage::~AboutPage() {
    for (HFONT font : {boldFont_, linkFont_, arialFont_})
        if (font) DeleteObject(font);
    if (image2_) DestroyIcon(image2_);
}

void AboutPage::Create(Page, const PageContext& context) {
    sheet_ = context.sheet;
    dpi_ = context.dpi;
    boldFont_ = ui::CreateDesignFont({"MS Sans Serif", -11, true, false}, dpi_);
    linkFont_ = ui::CreateDesignFont({"MS Sans Serif", -11, true, true}, dpi_);
    arialFont_ = ui::CreateDesignFont({"Arial", -11, true, false}, dpi_);
    image1_ = DecodeJpeg(ProgramResource("LOGO"));
    image2_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));

    AddLabel(5, 248, 144, kMaker.name, boldFont_);
    AddLabel(6, 248, 160, "QOR System Editor 1.0", boldFont_);
    AddLabel(9, 248, 176, kMaker.notice, boldFont_);
    for (HWND link : {AddLabel(14, 264, 192, std::string("internet : ") + kMaker.webAddress, linkFont_, SS_NOTIFY),
                      AddLabel(31, 264, 208, std::string("contact : ") + kMaker.mailAddress, linkFont_, SS_NOTIFY)})
        SetWindowSubclass(link, HandCursorProc, 0, 0);
    AddLabel(32, 251, 228, kMaker.tradeRegister, arialFont_);
}

HWND AboutPage::AddLabel(int number, int x, int y, const std::string& text, HFONT font, DWORD style) {
    ui::Label label;
    label.Create({sheet_, "STATIC", text, {x, y, 0, 0}, style, 0, ids::Label(number), font}, dpi_);
    label.FitToText();
    return label.Handle();
}

void AboutPage::Command(int controlId, int notifyCode) {
    if (notifyCode != STN_CLICKED) return;
    if (controlId == ids::Label(14)) Label14Click();
    if (controlId == ids::Label(31)) Label31Click();
}

HBRUSH AboutPage::ControlColor(HDC dc, HWND control) {
    if (GetParent(control) != sheet_) return nullptr;
    const int id = GetDlgCtrlID(control);
    SetBkMode(dc, TRANSPARENT);
    if (id == ids::Label(32)) {
        SetTextColor(dc, RGB(0, 0, 0));
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    SetTextColor(dc, IsLink(id) ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// The logo first, the lowered frame over it, then the icon.
void AboutPage::Paint(HDC dc) {
    image1_.Draw(dc, dpi_.Scale(kImage1.x), dpi_.Scale(kImage1.y));
    RECT frame{dpi_.Scale(kBevel1.x), dpi_.Scale(kBevel1.y), dpi_.Scale(kBevel1.x + kBevel1.width),
               dpi_.Scale(kBevel1.y + kBevel1.height)};
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    if (image2_) DrawIconEx(dc, dpi_.Scale(kImage2.x), dpi_.Scale(kImage2.y), image2_, 0, 0, 0, nullptr, DI_NORMAL);
}

void AboutPage::Label14Click() { shell_.ShellExecuteA(nullptr, "open", kMaker.webUrl, "", "", 5); }

void AboutPage::Label31Click() {
    const std::string mail =
        std::string("mailto:") + kMaker.mailAddress + "?subject=" + kMailSubject + "&Body=" + kMailBody;
    shell_.ShellExecuteA(GetAncestor(sheet_, GA_ROOT), "open", mail.c_str(), nullptr, nullptr, 1);
}
