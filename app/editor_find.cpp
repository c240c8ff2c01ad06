#include "app/editor_find.h"

#include <dlgs.h>

#include <algorithm>
#include <string>

#include "core/text_search.h"
#include "platform/find_dialog.h"
#include "ui/error_box.h"

namespace {

std::wstring EditorText(HWND editor) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(editor)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(editor, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsWordCharacter(wchar_t c) { return c == L'_' || IsCharAlphaNumericW(c); }

// The selected text when it is on one line, else the word at the caret.
std::wstring SelectionOrWord(HWND editor) {
    DWORD start = 0, end = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = EditorText(editor);
    if (start < end && end <= text.size()) {
        const std::wstring selected = text.substr(start, end - start);
        if (selected.find_first_of(L"\r\n") == std::wstring::npos)
            return selected;
    }
    size_t first = std::min<size_t>(end, text.size()), last = first;
    while (first > 0 && IsWordCharacter(text[first - 1]))
        --first;
    while (last < text.size() && IsWordCharacter(text[last]))
        ++last;
    return text.substr(first, last - first);
}

}  // namespace

UINT EditorFind::DialogMessage() {
    static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

void EditorFind::Open(HWND owner, HWND editor) {
    editor_ = editor;
    StartFromSelection();
    if (dialog_) {
        SetDlgItemTextW(dialog_, edt1, findWhat_.data());
        ShowWindow(dialog_, SW_SHOW);
        SetActiveWindow(dialog_);
        return;
    }
    const DWORD matchCase = request_.Flags & FR_MATCHCASE;  // as the user left it
    request_ = {};
    request_.lStructSize = sizeof(request_);
    request_.hwndOwner = owner;
    // Whole words are not looked for: the box would promise what Find Next does not do.
    request_.Flags = FR_DOWN | FR_HIDEWHOLEWORD | matchCase;
    request_.lpstrFindWhat = findWhat_.data();
    request_.wFindWhatLen = static_cast<WORD>(findWhat_.size() * sizeof(wchar_t));
    dialog_ = platform::OpenFindDialog(request_);
}

void EditorFind::StartFromSelection() {
    const std::wstring start = SelectionOrWord(editor_);
    if (start.empty())
        return;
    findWhat_.fill(L'\0');
    start.copy(findWhat_.data(), findWhat_.size() - 1);
}

void EditorFind::FindAgain(HWND owner, HWND editor, bool down) {
    editor_ = editor;
    if (!HasText())
        return Open(owner, editor);
    FindNext(down);
}

void EditorFind::Follow(HWND editor) {
    editor_ = editor;
    if (dialog_)
        ShowWindow(dialog_, editor ? SW_SHOWNA : SW_HIDE);
}

void EditorFind::DialogSaid() {
    if (request_.Flags & FR_DIALOGTERM) {
        dialog_ = nullptr;
        if (editor_)
            SetFocus(editor_);
        return;
    }
    if (request_.Flags & FR_FINDNEXT)
        FindNext((request_.Flags & FR_DOWN) != 0);
}

void EditorFind::FindNext(bool down) {
    if (!editor_)
        return;
    completeText_(editor_);
    DWORD start = 0, end = 0;
    SendMessageW(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const TextSearch search{findWhat_.data(), down, (request_.Flags & FR_MATCHCASE) != 0};
    const std::optional<TextMatch> match = FindInText(EditorText(editor_), search, start, end);
    // Over the dialog while it is up, as the user looks there.
    HWND owner = dialog_ ? dialog_ : GetAncestor(editor_, GA_ROOT);
    if (!match) {
        ShowNote(owner, L"Cannot find \"" + std::wstring(search.what) + L"\"");
        return;
    }
    SendMessageW(editor_, EM_SETSEL, match->start, match->start + search.what.size());
    SendMessageW(editor_, EM_SCROLLCARET, 0, 0);
    if (match->wrapped)
        ShowNote(owner, down ? L"Passed the end of the text; found from the top."
                             : L"Passed the top of the text; found from the end.");
}

bool EditorFind::PreTranslateMessage(MSG& message) {
    if (!dialog_ || (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)))
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_F3) {
        FindNext((GetKeyState(VK_SHIFT) & 0x8000) == 0);
        return true;
    }
    return IsDialogMessageW(dialog_, &message) != FALSE;
}
