#include "platform/clipboard.h"

#include <cstring>

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

// Movable global memory holding `text` and its zero, as the clipboard takes it.
HGLOBAL GlobalCopy(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
        return nullptr;
    void* bytes = GlobalLock(memory);
    if (!bytes) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    return memory;
}

class Win32Clipboard : public Clipboard {
public:
    bool SetText(HWND owner, const std::string& text) override {
        OpenedClipboard clipboard(owner);
        if (!clipboard.IsOpen() || !EmptyClipboard())
            return false;
        HGLOBAL memory = GlobalCopy(text);
        if (!memory)
            return false;
        // Once set, the memory is the clipboard's; until then it is ours to free.
        if (SetClipboardData(CF_TEXT, memory))
            return true;
        GlobalFree(memory);
        return false;
    }
};

}  // namespace

Clipboard& RealClipboard() {
    static Win32Clipboard clipboard;
    return clipboard;
}

}  // namespace platform
