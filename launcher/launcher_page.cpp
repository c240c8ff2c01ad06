#include "launcher/launcher_page.h"

#include <algorithm>

#include "app/control_ids.h"

namespace {

// The launch table, in the order ListView1DblClick compares the keys; the
// list shows it sorted by caption.
constexpr LaunchRow kLaunchTable[] = {
    {"Display Properties", 2, Launch::Applet, "Desk.cpl", nullptr, nullptr, 1},
    {"Software", 0, Launch::Applet, "Appwiz.cpl", nullptr, nullptr, 1},
    {"System", 1, Launch::Applet, "Sysdm.cpl", nullptr, nullptr, 1},
    {"Windows Control Panel", 4, Launch::Program, "control.exe", "", "c:\\windows", 5},
    {"Sounds/Multimedia", 5, Launch::Applet, "Mmsys.cpl", nullptr, nullptr, 1},
    {"Date/Time Windows", 11, Launch::Applet, "timedate.cpl", nullptr, nullptr, 1},
    {"DialUp Network", 10, Launch::DialUp, nullptr, nullptr, nullptr, 1},
    {"Fonts", 14, Launch::Document, "fonts", "", "c:\\windows", 5},
    {"Printers", 20, Launch::Rundll, "rundll.exe", "shell32.dll,SHHelpShortcuts_RunDLL AddPrinter", "", 1},
    {"E-Mail", 12, Launch::Applet, "MLCFG32.CPL", nullptr, nullptr, 1},
    {"Energy", 13, Launch::Applet, "Powercfg.cpl", nullptr, nullptr, 1},
    {"Internet", 15, Launch::Applet, "inetcpl.cpl", nullptr, nullptr, 1},
    {"Network", 16, Launch::Applet, "netcpl.cpl", nullptr, nullptr, 1},
    {"Regional Options", 18, Launch::Applet, "intl.cpl", nullptr, nullptr, 1},
    {"Modems", 21, Launch::Applet, "modem.cpl", nullptr, nullptr, 1},
    {"ODBC", 22, Launch::Applet, "odbccp32.cpl", nullptr, nullptr, 1},
    {"Game Controller", 23, Launch::Applet, "joy.cpl", nullptr, nullptr, 1},
    {"Mouse", 24, Launch::Applet, "main.cpl", nullptr, nullptr, 1},
    {"Accessibility", 25, Launch::Applet, "access.cpl", nullptr, nullptr, 1},
    {"Keyboard", 26, Launch::Applet, "main.cpl,@1", nullptr, nullptr, 1},
    {"Add New Hardware", 27, Launch::Applet, "sysdm.cpl,@1", nullptr, nullptr, 1},
    // The Display applet opened at its first page, the background on the 9x family.
    {"Change Background Picture", 29, Launch::Applet, "Desk.cpl,,0", nullptr, nullptr, 1},
};

const char kAppletCommand[] = "shell32.dll,Control_RunDLL ";
// The 9x family's wizard for a new dial-up connection; NT keeps dial-up
// connections in the Network Connections applet.
const char kDialUpWizard9x[] = "rnaui.dll,RnaWizard";
const char kDialUpAppletNt[] = "ncpa.cpl";

// ShellExecuteA reports success with a value above 32.
bool Succeeded(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// The 31 pictures of ImageList2 side by side in one bitmap, magenta where transparent.
HIMAGELIST LoadImageList2() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, kLaunchImageCount, 0);
    auto strip = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "APPLETICONS", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (strip) {
        ImageList_AddMasked(list, strip, RGB(255, 0, 255));
        DeleteObject(strip);
    }
    return list;
}

}  // namespace

LauncherPage::~LauncherPage() {
    if (imageList2_) ImageList_Destroy(imageList2_);
}

void LauncherPage::Create(Page, const PageContext& context) {
    imageList2_ = LoadImageList2();
    listView1_ = ui::CreateControl({context.sheet, WC_LISTVIEWA, "", {0, 0, 794, 424},
                                    LVS_LIST | LVS_NOCOLUMNHEADER | LVS_AUTOARRANGE | LVS_EDITLABELS | LVS_SINGLESEL |
                                        LVS_SHAREIMAGELISTS | WS_TABSTOP,
                                    WS_EX_CLIENTEDGE, ids::ListView(1), context.font},
                                   context.dpi);
    SendMessageA(listView1_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FLATSB, LVS_EX_FLATSB);
    SendMessageA(listView1_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imageList2_));
    SendMessageA(listView1_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(imageList2_));
    for (const LaunchRow& row : kLaunchTable) AddItem(row);
    SortByCaption();
}

void LauncherPage::AddItem(const LaunchRow& row) {
    items_.push_back({row.image, row.caption});
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(items_.size());
    item.pszText = const_cast<char*>(row.caption);
    item.iImage = row.image;
    item.lParam = row.image;
    SendMessageA(listView1_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void LauncherPage::Resize(int width, int height) {
    if (listView1_) MoveWindow(listView1_, 0, 0, width, height, TRUE);
}

LRESULT LauncherPage::Notify(const NMHDR& header) {
    if (header.hwndFrom != listView1_) return 0;
    if (header.code == NM_DBLCLK) ListView1DblClick();
    if (header.code == LVN_ENDLABELEDITA) {
        const auto& edit = reinterpret_cast<const NMLVDISPINFOA&>(header);
        // No text: the user cancelled the edit.
        if (edit.item.pszText) RenameItem(edit.item.iItem, edit.item.pszText);
    }
    // The list already has the new caption; it must not set it again on
    // what may now be another item.
    return FALSE;
}

void LauncherPage::ListView1DblClick() {
    const auto selected = static_cast<int>(SendMessageA(listView1_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    if (selected < 0) return;
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = selected;
    SendMessageA(listView1_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (const LaunchRow& row : kLaunchTable)
        if (row.image == item.iImage) Run(row);
}

void LauncherPage::RenameItem(int index, const std::string& caption) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(listView1_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
    for (Item& entry : items_)
        if (entry.image == item.lParam) entry.caption = caption;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(listView1_, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    SortByCaption();
}

void LauncherPage::SortByCaption() {
    SendMessageA(listView1_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                 reinterpret_cast<LPARAM>(&LauncherPage::CompareCaptions));
}

int CALLBACK LauncherPage::CompareCaptions(LPARAM first, LPARAM second, LPARAM page) noexcept {
    const auto* self = reinterpret_cast<const LauncherPage*>(page);
    const std::string* a = self->CaptionOf(static_cast<int>(first));
    const std::string* b = self->CaptionOf(static_cast<int>(second));
    return (a && b) ? lstrcmpA(a->c_str(), b->c_str()) : 0;
}

const std::string* LauncherPage::CaptionOf(int image) const noexcept {
    const auto found = std::find_if(items_.begin(), items_.end(), [image](const Item& i) { return i.image == image; });
    return found == items_.end() ? nullptr : &found->caption;
}

void LauncherPage::Run(const LaunchRow& row) {
    switch (row.launch) {
        case Launch::Applet: RunControlApplet(row.target); break;
        case Launch::Document: OpenDocument(row); break;
        case Launch::Program: OpenProgram(row); break;
        case Launch::Rundll: OpenRundll(row); break;
        case Launch::DialUp: OpenDialUp(); break;
    }
}

void LauncherPage::RunControlApplet(const std::string& applet) { StartRundll32(kAppletCommand + applet, 1); }

// The system folder's own rundll32.exe, never one found first on the search
// path; it gets the command-line text "rundll32.exe " + arguments.
void LauncherPage::StartRundll32(const std::string& arguments, UINT showCommand) {
    shell_.StartProgram(shell_.SystemDirectory() + "\\rundll32.exe", "rundll32.exe " + arguments, showCommand);
}

bool LauncherPage::Opened(const std::string& file, const LaunchRow& row) {
    return Succeeded(shell_.ShellExecuteA(nullptr, "open", file.c_str(), row.parameters, row.directory,
                                          row.showCommand));
}

// The name as written first; where the shell does not resolve it against the
// directory (NT, Wine), the same name in the Windows folder by full path.
void LauncherPage::OpenDocument(const LaunchRow& row) {
    if (!Opened(row.target, row)) Opened(shell_.WindowsDirectory() + "\\" + row.target, row);
}

// A program by its full path: the Windows folder (9x), else the system folder (NT).
void LauncherPage::OpenProgram(const LaunchRow& row) {
    if (!Opened(shell_.WindowsDirectory() + "\\" + row.target, row))
        Opened(shell_.SystemDirectory() + "\\" + row.target, row);
}

// Only the 9x family has the 16-bit rundll; elsewhere rundll32 takes the same arguments.
void LauncherPage::OpenRundll(const LaunchRow& row) {
    if (!Opened(shell_.WindowsDirectory() + "\\" + row.target, row))
        StartRundll32(row.parameters, static_cast<UINT>(row.showCommand));
}

void LauncherPage::OpenDialUp() {
    if (shell_.IsNtFamily())
        RunControlApplet(kDialUpAppletNt);
    else
        StartRundll32(kDialUpWizard9x, 1);
}
