#include "sysinfo/installed_software.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <set>
#include <thread>
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
constexpr char kOwnViewPrograms[] = "64-bit";
constexpr char kOtherViewPrograms[] = "32-bit";
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
constexpr char kOwnViewPrograms[] = "32-bit";
constexpr char kOtherViewPrograms[] = "64-bit";
#endif

// Where programs record their uninstall entries: for all users in either
// view, and for the user alone.
struct UninstallSource {
    HKEY root;
    REGSAM view;
    const char* recordedIn;
};
const UninstallSource kSources[] = {
    {HKEY_LOCAL_MACHINE, 0, kOwnViewPrograms},
    {HKEY_LOCAL_MACHINE, kOtherView, kOtherViewPrograms},
    {HKEY_CURRENT_USER, 0, "user"},
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

// The entries below the open uninstall key with subkey indexes from `first`
// up to `last`, in order, up to the first failure.
struct EntriesRead {
    std::vector<Entry> entries;
    std::exception_ptr failure;
};

EntriesRead ReadEntries(platform::Registry& platformRegistry, HKEY uninstallKey, REGSAM view, DWORD first, DWORD last,
                        const std::atomic<bool>& cancelled) {
    EntriesRead read;
    try {
        // Each entry opened below the uninstall key: a shorter path to look up.
        RegistryAccessor registry(platformRegistry, uninstallKey, view);
        for (DWORD index = first; index < last; ++index) {
            if (cancelled)
                break;
            // A subkey deleted since the count leaves no name: not an entry.
            const std::string name = platformRegistry.SubkeyName(uninstallKey, index);
            if (name.empty() || !registry.OpenKeyReadOnly(name))
                continue;
            std::string displayName = registry.ReadString("DisplayName");
            read.entries.emplace_back(name, std::move(displayName), registry.ReadString("UninstallString"));
            registry.CloseKey();
        }
    } catch (...) {
        read.failure = std::current_exception();
    }
    return read;
}

// The registry answers several readers at once: each takes a consecutive
// share of the entries, names and all. Three were the quickest on two processors.
constexpr DWORD kReaders = 3;

EntriesRead ReadEntriesInShares(platform::Registry& registry, HKEY uninstallKey, REGSAM view, DWORD count,
                                const std::atomic<bool>& cancelled) {
    std::array<EntriesRead, kReaders> shares;
    {
        std::vector<std::jthread> readers;
        for (DWORD share = 0; share < kReaders; ++share) {
            const DWORD first = count * share / kReaders, last = count * (share + 1) / kReaders;
            readers.emplace_back([&, share, first, last] {
                shares[share] = ReadEntries(registry, uninstallKey, view, first, last, cancelled);
            });
        }
    }
    // Put back in order, up to the first failure, as one reader would have.
    EntriesRead read;
    for (EntriesRead& share : shares) {
        read.entries.insert(read.entries.end(), std::make_move_iterator(share.entries.begin()),
                            std::make_move_iterator(share.entries.end()));
        if (share.failure) {
            read.failure = share.failure;
            break;
        }
    }
    return read;
}

// Adds the programs of the uninstall key under `root` in `view` not listed yet.
void ReadProgramsOf(platform::Registry& platformRegistry, const UninstallSource& source, std::set<Entry>& listed,
                    const std::atomic<bool>& cancelled, std::vector<InstalledProgram>& programs) {
    RegistryAccessor uninstall(platformRegistry, source.root, source.view);
    if (!uninstall.OpenKeyReadOnly(kUninstallKey))
        return;
    const EntriesRead read =
        ReadEntriesInShares(platformRegistry, uninstall.OpenedKey(), source.view, uninstall.KeyCount(), cancelled);
    for (const Entry& entry : read.entries) {
        // The same key seen through both views of 32-bit Windows, or a key
        // 64-bit Windows shares between them, is one program.
        const std::string& displayName = std::get<1>(entry);
        if (listed.insert(entry).second && !displayName.empty())
            programs.push_back({displayName, std::get<2>(entry), source.recordedIn});
    }
    if (read.failure)
        std::rethrow_exception(read.failure);
}

}  // namespace

namespace {
constexpr ui::Rect kList{InstalledSoftware::kLeft, 32, InstalledSoftware::kWidth, 173};
}  // namespace

void InstalledSoftware::Create(HWND sheet, const ui::Dpi& dpi, HFONT font) {
    dpi_ = dpi;
    right_ = dpi.Scale(kLeft + kWidth);
    list_.Create({.parent = sheet,
                  .bounds = kList,
                  .style = LVS_LIST | LVS_OWNERDATA | LVS_EDITLABELS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                  .exStyle = WS_EX_CLIENTEDGE,
                  .id = ids::ListView(2),
                  .font = font},
                 dpi);
    list_.SizeColumnsByOwner();
}

void InstalledSoftware::Place(const ui::Dpi& dpi, int shortfall) {
    dpi_ = dpi;
    RECT bounds = ui::Scaled(kList, dpi);
    bounds.right -= shortfall;
    right_ = bounds.right;
    list_.SetBounds(bounds);
}

void InstalledSoftware::ChangeDpi(const ui::Dpi& dpi, HFONT font) {
    list_.ChangeDpi(dpi, font);
    list_.FitColumnsTo(Captions());
}

void InstalledSoftware::MoveLeftEdge(int left) {
    const RECT bounds = list_.BoundsOnParent();
    if (bounds.left == left && bounds.right == right_)
        return;
    SetWindowPos(list_.Handle(), nullptr, left, bounds.top, right_ - left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
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
    // Sorted here, off the window's thread: comparing thousands of captions
    // is most of what filling the list would otherwise cost it.
    std::stable_sort(read.programs.begin(), read.programs.end(),
                     [](const InstalledProgram& first, const InstalledProgram& second) {
                         return lstrcmpA(first.caption.c_str(), second.caption.c_str()) < 0;
                     });
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
        if (auto watch = registry_.Watch(root, path, view))
            return watch;
        const size_t slash = path.rfind('\\');
        if (slash == std::string::npos)
            return nullptr;
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
    if (watches_.empty() || lastRead_.failure)
        return false;
    for (const auto& watch : watches_)
        if (watch->Changed())
            return false;
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
    // Rebuilt from what was read: captions renamed in place come back.
    programs_ = programs;
    SendMessageA(list_.Handle(), LVM_SETITEMCOUNT, programs_.size(), 0);
    list_.FitColumnsTo(Captions());
}

std::vector<std::string> InstalledSoftware::Captions() const {
    std::vector<std::string> captions;
    captions.reserve(programs_.size());
    for (const InstalledProgram& program : programs_)
        captions.push_back(program.caption);
    return captions;
}

std::string InstalledSoftware::UninstallCommand(int index) const {
    return programs_.at(static_cast<size_t>(index)).uninstallCommand;
}

LRESULT InstalledSoftware::EndLabelEdit(const NMLVDISPINFOA& edit) {
    if (!edit.item.pszText)
        return FALSE;  // editing cancelled
    programs_.at(static_cast<size_t>(edit.item.iItem)).caption = edit.item.pszText;
    return TRUE;
}

void InstalledSoftware::GiveCaption(LVITEMA& item) const {
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0)
        return;
    const size_t index = static_cast<size_t>(item.iItem);
    lstrcpynA(item.pszText, index < programs_.size() ? programs_[index].caption.c_str() : "", item.cchTextMax);
}
