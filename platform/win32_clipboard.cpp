#include "platform/clipboard.h"

#include <cstring>
#include <string>

namespace platform {
namespace {

// The clipboard, open for this program while the object lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// Movable global memory the clipboard takes: `size` bytes from `data`.
// Freed on the way out unless handed to the clipboard.
class ClipboardMemory {
public:
    ClipboardMemory(const void* data, size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
        void* bytes = memory_ ? GlobalLock(memory_) : nullptr;
        if (!bytes) {
            Free();
            return;
        }
        std::memcpy(bytes, data, size);
        GlobalUnlock(memory_);
    }
    ~ClipboardMemory() { Free(); }
    ClipboardMemory(const ClipboardMemory&) = delete;
    ClipboardMemory& operator=(const ClipboardMemory&) = delete;
    bool Made() const { return memory_ != nullptr; }
    // Once set, the memory is the clipboard's.
    bool SetAs(UINT format) {
        if (!SetClipboardData(format, memory_))
            return false;
        memory_ = nullptr;
        return true;
    }

private:
    void Free() {
        if (memory_)
            GlobalFree(memory_);
        memory_ = nullptr;
    }
    HGLOBAL memory_;
};

// `text` in UTF-16 with its zero: a program that pastes it gets the
// characters the code page meant, whatever keyboard language is active.
std::wstring Wide(const std::string& text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

class Win32Clipboard : public Clipboard {
public:
    // Both texts are made before the clipboard is emptied: when there is not
    // memory enough, it keeps what it held.
    bool SetText(HWND owner, const std::string& text) override {
        const std::wstring wide = Wide(text);
        ClipboardMemory ansi(text.c_str(), text.size() + 1);
        ClipboardMemory unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        if (!ansi.Made() || !unicode.Made())
            return false;
        OpenedClipboard clipboard(owner);
        if (!clipboard.IsOpen() || !EmptyClipboard())
            return false;
        return ansi.SetAs(CF_TEXT) && unicode.SetAs(CF_UNICODETEXT);
    }
};

}  // namespace

Clipboard& RealClipboard() {
    static Win32Clipboard clipboard;
    return clipboard;
}

}  // namespace platform
