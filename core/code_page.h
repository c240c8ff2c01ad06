#pragma once
// Text between the editors' UTF-16 and the files' bytes in an ANSI code page,
// without a character silently turned into another.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

struct EncodedText {
    std::string bytes;
    // Characters the code page has no bytes for: each is written as its
    // default character ("?"). A surrogate pair counts once.
    size_t unstorable = 0;
};

// `text` in `codePage`. No character becomes a look-alike ("ā" never becomes "a").
EncodedText EncodeText(std::wstring_view text, UINT codePage);
std::wstring DecodeText(std::string_view bytes, UINT codePage);
// Whether `bytes` come back unchanged once an editor has made them UTF-16 and
// they are written again: not so for sequences that are no character in a
// double-byte or UTF-8 code page.
bool ComesBackUnchanged(std::string_view bytes, UINT codePage);
