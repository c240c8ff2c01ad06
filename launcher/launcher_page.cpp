#include "launcher/launcher_page.h"

#include <algorithm>
#include <utility>

#include "ui/control_ids.h"

namespace {

// The launch table, in the order ListView1DblClick compares the keys; the
// list shows it sorted by caption.
constexpr LaunchRow kLaunchTable[] = {
    {"Display Properties", 2, Launch::Applet, "Desk.cpl", nullptr, SW_SHOWNORMAL},
    {"Software", 0, Launch::Applet, "Appwiz.cpl", nullptr, SW_SHOWNORMAL},
    {"System", 1, Launch::Applet, "Sysdm.cpl", nullptr, SW_SHOWNORMAL},
    {"Windows Control Panel", 4, Launch::Program, "control.exe", "", SW_SHOW},
    {"Sounds/Multimedia", 5, Launch::Applet, "Mmsys.cpl", nullptr, SW_SHOWNORMAL},
    {"Date/Time Windows", 11, Launch::Applet, "timedate.cpl", nullptr, SW_SHOWNORMAL},
    {"DialUp Network", 10, Launch::DialUp, nullptr, nullptr, SW_SHOWNORMAL},
    {"Fonts", 14, Launch::Folder, "fonts", "", SW_SHOW},
    {"Printers", 20, Launch::Rundll, "rundll.exe", "shell32.dll,SHHelpShortcuts_RunDLL AddPrinter", SW_SHOWNORMAL},
    {"E-Mail", 12, Launch::Applet, "MLCFG32.CPL", nullptr, SW_SHOWNORMAL},
    {"Energy", 13, Launch::Applet, "Powercfg.cpl", nullptr, SW_SHOWNORMAL},
    {"Internet", 15, Launch::Applet, "inetcpl.cpl", nullptr, SW_SHOWNORMAL},
    {"Network", 16, Launch::Applet, "netcpl.cpl", nullptr, SW_SHOWNORMAL},
    {"Regional Options", 18, Launch::Applet, "intl.cpl", nullptr, SW_SHOWNORMAL},
    {"Modems", 21, Launch::Applet, "modem.cpl", nullptr, SW_SHOWNORMAL},
    {"ODBC", 22, Launch::Applet, "odbccp32.cpl", nullptr, SW_SHOWNORMAL},
    {"Game Controller", 23, Launch::Applet, "joy.cpl", nullptr, SW_SHOWNORMAL},
    {"Mouse", 24, Launch::Applet, "main.cpl", nullptr, SW_SHOWNORMAL},
    {"Accessibility", 25, Launch::Applet, "access.cpl", nullptr, SW_SHOWNORMAL},
    {"Keyboard", 26, Launch::Applet, "main.cpl,@1", nullptr, SW_SHOWNORMAL},
    {"Add New Hardware", 27, Launch::Applet, "sysdm.cpl,@1", nullptr, SW_SHOWNORMAL},
    // The Display applet opened at its first page, the background on the 9x family.
    {"Change Background Picture", 29, Launch::Applet, "Desk.cpl,,0", nullptr, SW_SHOWNORMAL},
};

const char kAppletCommand[] = "shell32.dll,Control_RunDLL ";
// The 9x family's wizard for a new dial-up connection; NT keeps dial-up
// connections in the Network Connections applet.
const char kDialUpWizard9x[] = "rnaui.dll,RnaWizard";
const char kDialUpAppletNt[] = "ncpa.cpl";

// Control_RunDLL takes the file up to the first comma, or a quoted one.
std::string QuotedIfNeeded(const std::string& path) {
    return path.find_first_of(" ,") == std::string::npos ? path : "\"" + path + "\"";
}

// The 31 pictures of ImageList2 side by side in one bitmap, magenta where
// transparent, each 16 pixels square at 96 DPI.
ui::ImageList LoadImageList2(const ui::Dpi& dpi) {
    const int size = dpi.Scale(16);
    ui::ImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kLaunchImageCount, 0));
    const ui::Bitmap strip(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "APPLETICONS", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const ui::Bitmap scaled = strip ? ui::ScaledBitmap(strip.get(), dpi) : nullptr;
    if (scaled)
        ImageList_AddMasked(list.get(), scaled.get(), RGB(255, 0, 255));
    return list;
}

}  // namespace

void LauncherPage::Create(Page, const PageContext& context) {
    imageList2_ = LoadImageList2(context.dpi);
    listView1_.Create({.parent = context.sheet,
                       .bounds = {0, 0, 794, 424},
                       .style = LVS_LIST | LVS_NOCOLUMNHEADER | LVS_AUTOARRANGE | LVS_EDITLABELS | LVS_SINGLESEL |
                                LVS_SHAREIMAGELISTS | WS_TABSTOP,
                       .exStyle = WS_EX_CLIENTEDGE,
                       .id = ids::ListView(1),
                       .font = context.font},
                      context.dpi);
    SendMessageA(listView1_.Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FLATSB, LVS_EX_FLATSB);
    listView1_.SetImages(imageList2_.get());
    captions_.assign(kLaunchImageCount, "");
    for (const LaunchRow& row : kLaunchTable) {
        captions_[row.image] = row.caption;
        listView1_.Add(row.caption, row.image, row.image);
    }
    SortByCaption();
}

void LauncherPage::ChangeDpi(Page, const PageContext& context) {
    // The list takes the new pictures before the old ones go.
    ui::ImageList pictures = LoadImageList2(context.dpi);
    listView1_.SetImages(pictures.get());
    imageList2_ = std::move(pictures);
    listView1_.ChangeDpi(context.dpi, context.font);
}

void LauncherPage::Resize(int width, int height) {
    if (listView1_.Handle())
        MoveWindow(listView1_.Handle(), 0, 0, width, height, TRUE);
}

LRESULT LauncherPage::Notify(const NMHDR& header) {
    if (header.hwndFrom != listView1_.Handle())
        return 0;
    // Enter on the list starts the selected item as a double-click does.
    if (header.code == NM_DBLCLK || header.code == NM_RETURN)
        ListView1DblClick();
    if (header.code == LVN_ENDLABELEDITA) {
        const auto& edit = reinterpret_cast<const NMLVDISPINFOA&>(header);
        // No text: the user cancelled the edit.
        if (edit.item.pszText)
            RenameItem(edit.item.iItem, edit.item.pszText);
    }
    // The list already has the new caption; it must not set it again on
    // what may now be another item.
    return FALSE;
}

void LauncherPage::ListView1DblClick() {
    const int selected = listView1_.Selected();
    if (selected < 0)
        return;
    const LPARAM image = listView1_.Data(selected);
    for (const LaunchRow& row : kLaunchTable)
        if (row.image == image)
            Run(row);
}

void LauncherPage::RenameItem(int index, const std::string& caption) {
    const LPARAM image = listView1_.Data(index);
    if (image < 0 || image >= kLaunchImageCount)
        return;
    captions_[image] = caption;
    listView1_.SetCaption(index, caption);
    SortByCaption();
}

void LauncherPage::SortByCaption() {
    listView1_.Sort(
        [this](LPARAM first, LPARAM second) { return lstrcmpA(captions_[first].c_str(), captions_[second].c_str()); });
}

void LauncherPage::Run(const LaunchRow& row) {
    switch (row.launch) {
        case Launch::Applet:
            RunControlApplet(row.target);
            break;
        case Launch::Folder:
            OpenFolder(row);
            break;
        case Launch::Program:
            OpenProgram(row);
            break;
        case Launch::Rundll:
            OpenRundll(row);
            break;
        case Launch::DialUp:
            OpenDialUp();
            break;
    }
}

// By its full path, so that rundll32 looks for it nowhere else.
void LauncherPage::RunControlApplet(const std::string& applet) {
    const size_t fileEnd = applet.find(',');
    const std::string path = system_.SystemDirectory() + "\\" + applet.substr(0, fileEnd);
    if (files_.Attributes(path) == INVALID_FILE_ATTRIBUTES)
        return;
    const std::string suffix = fileEnd == std::string::npos ? "" : applet.substr(fileEnd);
    StartRundll32(kAppletCommand + QuotedIfNeeded(path) + suffix, SW_SHOWNORMAL);
}

// The system folder's own rundll32.exe, never one found first on the search
// path; it gets the command-line text "rundll32.exe " + arguments.
void LauncherPage::StartRundll32(const std::string& arguments, UINT showCommand) {
    const std::string systemFolder = system_.SystemDirectory();
    shell_.StartProgram(systemFolder + "\\rundll32.exe", "rundll32.exe " + arguments, systemFolder, showCommand);
}

bool LauncherPage::Opened(const std::string& file, const LaunchRow& row, const std::string& directory) {
    return shell_.ShellExecuteA(nullptr, "open", file.c_str(), row.parameters, directory.c_str(), row.showCommand);
}

// By its full path; the 9x family's shell resolves the bare name against
// the Windows folder itself, which NT's does not.
void LauncherPage::OpenFolder(const LaunchRow& row) {
    if (system_.IsNtFamily())
        Opened(system_.WindowsDirectory() + "\\" + row.target, row, system_.SystemDirectory());
    else
        Opened(row.target, row, system_.WindowsDirectory());
}

// A program by its full path: the Windows folder (9x), else the system folder (NT).
void LauncherPage::OpenProgram(const LaunchRow& row) {
    if (!Opened(system_.WindowsDirectory() + "\\" + row.target, row, system_.SystemDirectory()))
        Opened(system_.SystemDirectory() + "\\" + row.target, row, system_.SystemDirectory());
}

// Only the 9x family has the 16-bit rundll; elsewhere rundll32 takes the same arguments.
void LauncherPage::OpenRundll(const LaunchRow& row) {
    if (!Opened(system_.WindowsDirectory() + "\\" + row.target, row, system_.SystemDirectory()))
        StartRundll32(row.parameters, static_cast<UINT>(row.showCommand));
}

void LauncherPage::OpenDialUp() {
    if (system_.IsNtFamily())
        RunControlApplet(kDialUpAppletNt);
    else
        StartRundll32(kDialUpWizard9x, SW_SHOWNORMAL);
}
