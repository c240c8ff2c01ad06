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
    explicit RedrawSuspended(ui::ListView& list) : list_(list) { list_.SetRedraw(false); }
    ~RedrawSuspended() {
        list_.SetRedraw(true);
        InvalidateRect(list_.Handle(), nullptr, TRUE);
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    ui::ListView& list_;
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
    list_.Create({.parent = sheet,
                  .bounds = {kLeft, 32, kWidth, 173},
                  .style = LVS_LIST | LVS_EDITLABELS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                  .exStyle = WS_EX_CLIENTEDGE,
                  .id = ids::ListView(2),
                  .font = font},
                 dpi);
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
    RedrawSuspended redraw(list_);
    list_.Clear();
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
    list_.Add(displayName, static_cast<LPARAM>(programs_.size()));
    programs_.push_back({displayName, uninstallCommand});
}

void InstalledSoftware::SortByCaption() {
    list_.Sort([this](LPARAM first, LPARAM second) {
        return lstrcmpA(programs_[static_cast<size_t>(first)].caption.c_str(),
                        programs_[static_cast<size_t>(second)].caption.c_str());
    });
}

std::vector<std::string> InstalledSoftware::Captions() const {
    std::vector<std::string> captions;
    for (int index = 0; index < list_.Count(); ++index) captions.push_back(list_.Caption(index));
    return captions;
}

std::string InstalledSoftware::UninstallCommand(int index) const {
    return programs_.at(static_cast<size_t>(list_.Data(index))).uninstallCommand;
}

LRESULT InstalledSoftware::EndLabelEdit(const NMLVDISPINFOA& edit) {
    if (!edit.item.pszText) return FALSE;  // editing cancelled
    programs_.at(static_cast<size_t>(list_.Data(edit.item.iItem))).caption = edit.item.pszText;
    return TRUE;
}
