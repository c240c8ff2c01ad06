#pragma once
// The installed software list (ListView2): display names of the programs the
// uninstall registry records, each carrying its uninstall command.
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/registry.h"
#include "ui/controls.h"

class InstalledSoftware {
public:
    // The list's design place on its sheet: left edge and width.
    static constexpr int kLeft = 360;
    static constexpr int kWidth = 425;

    explicit InstalledSoftware(platform::Registry& registry) : registry_(registry) {}
    void Create(HWND sheet, const ui::Dpi& dpi, HFONT font);
    HWND Handle() const { return list_.Handle(); }
    // Puts the list's left edge at `left` (device pixels), keeping its right edge.
    void MoveLeftEdge(int left);
    // Rebuilds the list, sorted by caption, from the machine's uninstall key
    // in both registry views and the user's own. A value of the wrong type
    // throws after the items read so far are sorted.
    void Rebuild();
    // Captions in display order.
    std::vector<std::string> Captions() const;
    // The uninstall command carried by the item at `index`.
    std::string UninstallCommand(int index) const;
    // LVN_ENDLABELEDIT: the user may rename an item in place.
    LRESULT EndLabelEdit(const NMLVDISPINFOA& edit);

private:
    struct Program {
        std::string caption;
        std::string uninstallCommand;
    };
    // A subkey name, display name and uninstall command: one entry, however
    // many registry views show it.
    using Entry = std::tuple<std::string, std::string, std::string>;
    // Adds the entries of the uninstall key under `root` in `view` not listed yet.
    void AddProgramsOf(HKEY root, REGSAM view, std::set<Entry>& listed);
    // Adds the item of one uninstall subkey, if it has a display name.
    void AddProgram(const std::string& displayName, const std::string& uninstallCommand);
    void SortByCaption();

    platform::Registry& registry_;
    ui::Dpi dpi_;
    ui::ListView list_;
    // Indexed by each item's lParam: list style keeps no sub-items itself,
    // and sorting compares these captions with no buffer size to guess.
    std::vector<Program> programs_;
};
