#pragma once
// The installed software list (ListView2): display names of the programs the
// uninstall registry records, each carrying its uninstall command.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "ui/controls.h"

struct InstalledProgram {
    std::string caption;
    std::string uninstallCommand;
    // Where the entry is recorded: "64-bit" or "32-bit" for all users, as
    // programs of that kind record theirs, or "user" for the user alone.
    const char* recordedIn = "";
};

// What one read of the uninstall keys found: the programs sorted by caption
// (those of equal captions in the order read), and the failure that ended the
// read early, if any.
struct SoftwareRead {
    std::vector<InstalledProgram> programs;
    std::exception_ptr failure;
};

// Reads the machine's uninstall key in both registry views and the user's
// own; safe on any thread. Stops early, with what it has, once `cancelled`.
SoftwareRead ReadInstalledSoftware(platform::Registry& registry, const std::atomic<bool>& cancelled);

class InstalledSoftware {
public:
    // The list's design place on its sheet: left edge and width.
    static constexpr int kLeft = 360;
    static constexpr int kWidth = 425;

    explicit InstalledSoftware(platform::Registry& registry) : registry_(registry) {}
    void Create(HWND sheet, const ui::Dpi& dpi, HFONT font);
    HWND Handle() const { return list_.Handle(); }
    // Puts the list at its design place at `dpi`, its right edge
    // `shortfall` device pixels to the left of the design's.
    void Place(const ui::Dpi& dpi, int shortfall);
    // The list now shows at `dpi`, in `font`; its columns fit its captions again.
    void ChangeDpi(const ui::Dpi& dpi, HFONT font);
    // Puts the list's left edge at `left` (device pixels), keeping its right edge.
    void MoveLeftEdge(int left);
    // Rebuilds the list, sorted by caption, from the machine's uninstall key
    // in both registry views and the user's own. A value of the wrong type
    // throws after the items read so far are sorted.
    void Rebuild();
    // Starts watching the uninstall keys: call before a read whose result
    // Show will get, so a change made while it reads counts too.
    void WatchForChanges();
    // Whether the last read shown succeeded and nothing changed under the
    // uninstall keys since it began.
    bool LastReadStillValid() const;
    // Rebuilds the list from `read`, in its order; then throws the read's
    // failure, if any.
    void Show(SoftwareRead read);
    // Rebuilds the list from the last read shown (see LastReadStillValid).
    void ShowLastRead() { Fill(lastRead_.programs); }
    // Captions in display order.
    std::vector<std::string> Captions() const;
    // The uninstall command carried by the item at `index`.
    std::string UninstallCommand(int index) const;
    // LVN_ENDLABELEDIT: the user may rename an item in place.
    LRESULT EndLabelEdit(const NMLVDISPINFOA& edit);
    // LVN_GETDISPINFO: the list asks for the captions it shows.
    void GiveCaption(LVITEMA& item) const;

private:
    std::unique_ptr<platform::KeyWatch> WatchUninstallKey(HKEY root, REGSAM view);
    void Fill(const std::vector<InstalledProgram>& programs);

    platform::Registry& registry_;
    ui::Dpi dpi_;
    int right_ = 0;  // the list's right edge, in device pixels
    ui::ListView list_;
    // The items in display order: the list holds none of its own, so that
    // filling it takes as long for 5,000 programs as for one.
    std::vector<InstalledProgram> programs_;
    SoftwareRead lastRead_;
    // One per uninstall key, made before lastRead_ began; empty when some
    // key could not be watched, so the next refresh reads again.
    std::vector<std::unique_ptr<platform::KeyWatch>> watches_;
    std::vector<std::unique_ptr<platform::KeyWatch>> nextWatches_;
};
