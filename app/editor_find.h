#pragma once
// Find in the file pages' editors: the system's Find dialog, modeless, for
// the editor of the page in front; F3 and Shift+F3 find again.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <functional>
#include <utility>

class EditorFind {
public:
    // `completeText` puts the rest of a text still going into an editor in
    // at once, before a search of that editor; what it throws ends the search.
    explicit EditorFind(std::function<void(HWND editor)> completeText) : completeText_(std::move(completeText)) {}

    // The message the dialog sends the window that owns it.
    static UINT DialogMessage();

    // Ctrl+F: opens the dialog for `editor`, or brings it forward, with the
    // editor's selection or the word at its caret as the text to find.
    void Open(HWND owner, HWND editor);
    // F3 (`down`) and Shift+F3: the next or previous match of the text last
    // looked for; without one, opens the dialog.
    void FindAgain(HWND owner, HWND editor, bool down);
    // The page in front changed: `editor` is its editor, or nullptr on a page
    // without one, where the dialog hides until a page with one comes back.
    void Follow(HWND editor);
    // A DialogMessage reached the owner.
    void DialogSaid();
    // Keys for the dialog, F3 included; true when handled.
    bool PreTranslateMessage(MSG& message);

private:
    void FindNext(bool down);
    void StartFromSelection();
    bool HasText() const { return findWhat_[0] != L'\0'; }

    std::function<void(HWND)> completeText_;
    std::array<wchar_t, 256> findWhat_{};
    FINDREPLACEW request_{};
    HWND dialog_ = nullptr;
    HWND editor_ = nullptr;
};
