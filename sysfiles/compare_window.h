#pragma once
// The Compare window: a file's lines and its backup's, each line marked and
// coloured by which of the two holds it, in a read-only list that scrolls.
// Esc or the close button closes it. The list asks for each line as it shows
// it, so a file of any length opens, scrolls and closes at once.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "sysfiles/line_diff.h"
#include "ui/base_window.h"
#include "ui/controls.h"

class CompareWindow : public ui::BaseWindow<CompareWindow> {
public:
    CompareWindow() = default;
    ~CompareWindow();
    CompareWindow(const CompareWindow&) = delete;
    CompareWindow& operator=(const CompareWindow&) = delete;

    // The id of the list of lines on the window.
    static constexpr int kListId = 1;

    // Shows `lines`, the file's as first and the backup's as second, in a
    // window owned by `owner`; an open one shows them instead and comes to the front.
    void Open(HWND owner, const std::string& file, const std::string& backup, std::vector<DiffLine> lines,
              const ui::Dpi& dpi);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Create(HWND owner, const ui::Dpi& dpi);
    // WM_DPICHANGED: the window takes `suggested`, its lines the font of `dpi`.
    void ChangeDpi(const ui::Dpi& dpi, const RECT& suggested);
    void Fill(std::vector<DiffLine> lines);
    void FitColumn();
    void Layout();
    LRESULT Notify(NMHDR& header);
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;

    ui::Dpi dpi_;
    ui::Font font_;
    std::vector<DiffLine> lines_;
    ui::Window legend_;
    ui::Window list_;
};
