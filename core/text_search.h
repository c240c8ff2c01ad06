#pragma once
// Finding a text in an editor's text, as the Find dialog and F3 search it.
#include <cstddef>
#include <optional>
#include <string_view>

struct TextSearch {
    std::wstring_view what;
    bool down = true;  // towards the end of the text
    bool matchCase = false;
};

struct TextMatch {
    size_t start = 0;
    // The search passed the end of the text (the start, going up) and went
    // on from the other end.
    bool wrapped = false;
};

// The next place of `search.what` after the selection [selectionStart,
// selectionEnd), or going up the last one that ends before it. Past the end
// of the text the search goes on once from the other end. Nothing when the
// text does not hold it at all.
std::optional<TextMatch> FindInText(std::wstring_view text, const TextSearch& search, size_t selectionStart,
                                    size_t selectionEnd);
