#include "sysinfo/installed_software.h"

#include "ui/control_ids.h"
#include "sysinfo/registry_accessor.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// 64-bit Windows keeps the uninstall entries of 32-bit and 64-bit programs
// in two registry views; each build reads its own view, then the other one.
// On 32-bit Windows both views are the same key.
#ifdef _WIN64
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

// Where programs record their uninstall entries: for all users in either
// view, and for the user alone.
struct UninstallSource {
    HKEY root;
    REGSAM view;
};
const UninstallSource kSources[] = {
    {HKEY_LOCAL_MACHINE, 0},
    {HKEY_LOCAL_MACHINE, kOtherView},
    {HKEY_CURRENT_USER, 0},
};

// Stops the list repainting while it is rebuilt and lets it repaint after,
// whichever way the rebuild ends.
class RedrawSuspended {
public:
    explicit RedrawSuspended(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawSuspended() {
        SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    HWND list_;
};

// Sorts the list on every way out of the rebuild, also when a read throws.
template <typename Sort>
class SortOnExit {
public:
    explicit SortOnExit(Sort sort) : sort_(sort) {}
    ~SortOnExit() { sort_(); }
    SortOnExit(const SortOnExit&) = delete;
    SortOnExit& operator=(const SortOnExit&) = delete;

private:
    Sort sort_;
};

}  // namespace

void InstalledSoftware::Create(HWND sheet, const ui::Dpi& dpi, HFONT font) {
    dpi_ = dpi;
    list_ = ui::Window(ui::CreateControl({sheet, WC_LISTVIEWA, "", {kLeft, 32, kWidth, 173},
                                          LVS_LIST | LVS_EDITLABELS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                                          WS_EX_CLIENTEDGE, ids::ListView(2), font},
                                         dpi));
}

void InstalledSoftware::MoveLeftEdge(int left) {
    RECT bounds{};
    GetWindowRect(list_.Handle(), &bounds);
    MapWindowPoints(nullptr, GetParent(list_.Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    if (bounds.left == left) return;
    SetWindowPos(list_.Handle(), nullptr, left, bounds.top, dpi_.Scale(kLeft + kWidth) - left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void InstalledSoftware::Rebuild() {
    RedrawSuspended redraw(list_.Handle());
    SendMessageA(list_.Handle(), LVM_DELETEALLITEMS, 0, 0);
    programs_.clear();
    SortOnExit sorted([this] { SortByCaption(); });
    std::set<Entry> listed;
    for (const UninstallSource& source : kSources) AddProgramsOf(source.root, source.view, listed);
}

void InstalledSoftware::AddProgramsOf(HKEY root, REGSAM view, std::set<Entry>& listed) {
    RegistryAccessor registry(registry_, root, view);
    if (!registry.OpenKeyReadOnly(kUninstallKey)) return;
    const std::vector<std::string> names = registry.KeyNames();
    registry.CloseKey();
    for (const std::string& name : names) {
        if (!registry.OpenKeyReadOnly(std::string(kUninstallKey) + "\\" + name)) continue;
        const std::string displayName = registry.ReadString("DisplayName");
        const std::string uninstallCommand = registry.ReadString("UninstallString");
        // The same key seen through both views of 32-bit Windows, or a key
        // 64-bit Windows shares between them, is one program.
        if (listed.insert({name, displayName, uninstallCommand}).second) AddProgram(displayName, uninstallCommand);
        registry.CloseKey();
    }
}

void InstalledSoftware::AddProgram(const std::string& displayName, const std::string& uninstallCommand) {
    if (displayName.empty()) return;
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(SendMessageA(list_.Handle(), LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(displayName.c_str());
    item.lParam = static_cast<LPARAM>(programs_.size());
    programs_.push_back({displayName, uninstallCommand});
    SendMessageA(list_.Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int CALLBACK InstalledSoftware::CompareCaptions(LPARAM first, LPARAM second, LPARAM self) {
    const auto& programs = reinterpret_cast<const InstalledSoftware*>(self)->programs_;
    return lstrcmpA(programs[static_cast<size_t>(first)].caption.c_str(),
                    programs[static_cast<size_t>(second)].caption.c_str());
}

void InstalledSoftware::SortByCaption() {
    SendMessageA(list_.Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                 reinterpret_cast<LPARAM>(&InstalledSoftware::CompareCaptions));
}

std::string InstalledSoftware::Caption(int index) const {
    // LVM_GETITEMTEXT reports only how much it copied: grow until it fits.
    std::string text(256, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto copied = static_cast<size_t>(
            SendMessageA(list_.Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < text.size()) return text.substr(0, copied);
        text.resize(text.size() * 2);
    }
}

LPARAM InstalledSoftware::ItemParam(int index) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessageA(list_.Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

std::vector<std::string> InstalledSoftware::Captions() const {
    const int count = static_cast<int>(SendMessageA(list_.Handle(), LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> captions;
    for (int index = 0; index < count; ++index) captions.push_back(Caption(index));
    return captions;
}

std::string InstalledSoftware::UninstallCommand(int index) const {
    return programs_.at(static_cast<size_t>(ItemParam(index))).uninstallCommand;
}

LRESULT InstalledSoftware::EndLabelEdit(const NMLVDISPINFOA& edit) {
    if (!edit.item.pszText) return FALSE;  // editing cancelled
    programs_.at(static_cast<size_t>(ItemParam(edit.item.iItem))).caption = edit.item.pszText;
    return TRUE;
}
