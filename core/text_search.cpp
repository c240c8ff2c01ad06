#include "core/text_search.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// Letters in one case, so that a search without Match case finds either.
std::wstring Folded(std::wstring_view text) {
    std::wstring folded(text);
    if (!folded.empty())
        CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

}  // namespace

std::optional<TextMatch> FindInText(std::wstring_view text, const TextSearch& search, size_t selectionStart,
                                    size_t selectionEnd) {
    if (search.what.empty() || search.what.size() > text.size())
        return std::nullopt;
    std::wstring foldedText, foldedWhat;
    std::wstring_view what = search.what;
    if (!search.matchCase) {
        foldedText = Folded(text);
        foldedWhat = Folded(what);
        text = foldedText;
        what = foldedWhat;
    }
    selectionEnd = std::min(selectionEnd, text.size());
    selectionStart = std::min(selectionStart, selectionEnd);
    size_t found = std::wstring_view::npos;
    if (search.down)
        found = text.find(what, selectionEnd);
    else if (selectionStart >= what.size())
        found = text.rfind(what, selectionStart - what.size());
    if (found != std::wstring_view::npos)
        return TextMatch{found, false};
    found = search.down ? text.find(what) : text.rfind(what);
    if (found == std::wstring_view::npos)
        return std::nullopt;
    return TextMatch{found, true};
}
