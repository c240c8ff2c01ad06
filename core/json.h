#pragma once
// Writing JSON text (RFC 8259) in UTF-8 for other programs to read.
#include <windows.h>

#include <string>
#include <string_view>

// `utf8` as a JSON string, quotes included: the quote, the backslash and
// every control character escaped, all else as it is.
std::string JsonString(std::string_view utf8);
// `text`, whose bytes are in `codePage`, in UTF-8.
std::string Utf8From(std::string_view text, UINT codePage);
