#include "core/code_page.h"

#include <algorithm>

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The length of the character at `at`: 2 for a surrogate pair, else 1.
size_t CharacterLength(std::wstring_view text, size_t at) {
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

// Whether every unit is ASCII, which is the same character in every ANSI
// code page: megabytes of such text are copied, not looked up, a unit at a time.
template <typename Unit>
bool IsAscii(std::basic_string_view<Unit> text) {
    return std::all_of(text.begin(), text.end(), [](Unit unit) { return static_cast<unsigned>(unit) < 0x80; });
}

// Converts `text`, telling whether any character had no bytes of its own.
std::string Encode(std::wstring_view text, UINT codePage, bool& usedDefault) {
    usedDefault = false;
    if (text.empty())
        return {};
    if (IsAscii(text))
        return std::string(text.begin(), text.end());
    // UTF-8 holds every character; its converter takes neither flag nor
    // default character.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL used = FALSE;
    BOOL* usedFlag = utf8 ? nullptr : &used;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedFlag);
    std::string bytes(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr, usedFlag);
    usedDefault = used != FALSE;
    return bytes;
}

// Whether the character is one a UTF-8 file cannot hold: half a surrogate pair.
bool IsLoneSurrogate(std::wstring_view character) {
    return character.size() == 1 && (IsHighSurrogate(character[0]) || IsLowSurrogate(character[0]));
}

size_t CountUnstorable(std::wstring_view text, UINT codePage) {
    size_t count = 0;
    for (size_t at = 0; at < text.size();) {
        const std::wstring_view character = text.substr(at, CharacterLength(text, at));
        bool usedDefault = false;
        if (codePage == CP_UTF8)
            usedDefault = IsLoneSurrogate(character);
        else
            Encode(character, codePage, usedDefault);
        count += usedDefault;
        at += character.size();
    }
    return count;
}

// The same, a character at a time only in the pieces that hold such a
// character, so that a big text with a few stays quick.
size_t CountUnstorableInPieces(std::wstring_view text, UINT codePage) {
    constexpr size_t kPiece = 4096;
    size_t count = 0;
    for (size_t at = 0; at < text.size();) {
        size_t length = std::min(kPiece, text.size() - at);
        if (at + length < text.size() && IsHighSurrogate(text[at + length - 1]))
            ++length;  // a pair stays whole
        const std::wstring_view piece = text.substr(at, length);
        bool usedDefault = false;
        Encode(piece, codePage, usedDefault);
        if (usedDefault)
            count += CountUnstorable(piece, codePage);
        at += length;
    }
    return count;
}

}  // namespace

EncodedText EncodeText(std::wstring_view text, UINT codePage) {
    EncodedText encoded;
    bool usedDefault = false;
    encoded.bytes = Encode(text, codePage, usedDefault);
    if (codePage == CP_UTF8)
        encoded.unstorable = CountUnstorable(text, codePage);
    else if (usedDefault)
        encoded.unstorable = CountUnstorableInPieces(text, codePage);
    return encoded;
}

std::wstring DecodeText(std::string_view bytes, UINT codePage) {
    if (bytes.empty())
        return {};
    if (IsAscii(bytes))
        return std::wstring(bytes.begin(), bytes.end());
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
    return text;
}

bool ComesBackUnchanged(std::string_view bytes, UINT codePage) {
    // Most files need no conversion.
    if (IsAscii(bytes))
        return true;
    return EncodeText(DecodeText(bytes, codePage), codePage).bytes == bytes;
}
