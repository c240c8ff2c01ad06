#include "sysinfo/installed_software.h"

#include <set>
#include <tuple>

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

// A subkey name, display name and uninstall command: one entry, however
// many registry views show it.
using Entry = std::tuple<std::string, std::string, std::string>;

// Adds the programs of the uninstall key under `root` in `view` not listed yet.
void ReadProgramsOf(platform::Registry& platformRegistry, const UninstallSource& source, std::set<Entry>& listed,
                    const std::atomic<bool>& cancelled, std::vector<InstalledProgram>& programs) {
    RegistryAccessor registry(platformRegistry, source.root, source.view);
    if (!registry.OpenKeyReadOnly(kUninstallKey)) return;
    const std::vector<std::string> names = registry.KeyNames();
    registry.CloseKey();
    for (const std::string& name : names) {
        if (cancelled) return;
        if (!registry.OpenKeyReadOnly(std::string(kUninstallKey) + "\\" + name)) continue;
        const std::string displayName = registry.ReadString("DisplayName");
        const std::string uninstallCommand = registry.ReadString("UninstallString");
        // The same key seen through both views of 32-bit Windows, or a key
        // 64-bit Windows shares between them, is one program.
        if (listed.insert({name, displayName, uninstallCommand}).second && !displayName.empty())
            programs.push_back({displayName, uninstallCommand});
        registry.CloseKey();
    }
}

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

SoftwareRead ReadInstalledSoftware(platform::Registry& registry, const std::atomic<bool>& cancelled) {
    SoftwareRead read;
    std::set<Entry> listed;
    try {
        for (const UninstallSource& source : kSources)
            ReadProgramsOf(registry, source, listed, cancelled, read.programs);
    } catch (...) {
        read.failure = std::current_exception();
    }
    return read;
}

void InstalledSoftware::Rebuild() {
    WatchForChanges();
    const std::atomic<bool> notCancelled{false};
    Show(ReadInstalledSoftware(registry_, notCancelled));
}

// A missing uninstall key is watched through the nearest key above it that
// exists, so its creation counts as a change.
std::unique_ptr<platform::KeyWatch> InstalledSoftware::WatchUninstallKey(HKEY root, REGSAM view) {
    std::string path = kUninstallKey;
    for (;;) {
        if (auto watch = registry_.Watch(root, path, view)) return watch;
        const size_t slash = path.rfind('\\');
        if (slash == std::string::npos) return nullptr;
        path.resize(slash);
    }
}

void InstalledSoftware::WatchForChanges() {
    nextWatches_.clear();
    for (const UninstallSource& source : kSources) {
        std::unique_ptr<platform::KeyWatch> watch = WatchUninstallKey(source.root, source.view);
        if (!watch) {
            nextWatches_.clear();
            return;
        }
        nextWatches_.push_back(std::move(watch));
    }
}

bool InstalledSoftware::LastReadStillValid() const {
    if (watches_.empty() || lastRead_.failure) return false;
    for (const auto& watch : watches_)
        if (watch->Changed()) return false;
    return true;
}

void InstalledSoftware::Show(SoftwareRead read) {
    Fill(read.programs);
    if (read.failure) {
        watches_.clear();
        std::rethrow_exception(read.failure);
    }
    watches_ = std::move(nextWatches_);
    lastRead_ = std::move(read);
}

void InstalledSoftware::Fill(const std::vector<InstalledProgram>& programs) {
    RedrawSuspended redraw(list_);
    list_.Clear();
    // Rebuilt from what was read: captions renamed in place come back.
    programs_ = programs;
    for (size_t index = 0; index < programs_.size(); ++index)
        list_.Add(programs_[index].caption, static_cast<LPARAM>(index));
    SortByCaption();
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
