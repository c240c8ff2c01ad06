#pragma once
// Clipboard: putting text where other programs can paste it.
#include <windows.h>

#include <string>

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with `text` (ANSI), as ANSI and as
    // Unicode text, on behalf of `owner`. False when the clipboard or the
    // memory for the text could not be had: it then keeps what it held.
    virtual bool SetText(HWND owner, const std::string& text) = 0;
};

Clipboard& RealClipboard();

}  // namespace platform
