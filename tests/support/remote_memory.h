#pragma once
// Memory inside the program's process, for messages whose lParam points at a
// structure the control fills in its own process.
#include <windows.h>

#include <cstddef>

namespace e2e {

class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    LPARAM Address(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    void Write(const void* data, size_t size, size_t offset = 0) {
        WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }
    void Read(void* data, size_t size, size_t offset = 0) const {
        ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_;
};

// Sends `message` with a RECT in `control`'s process, which starts as `in`
// (some messages read a field of it), and returns what the control wrote there.
inline RECT RemoteRect(HANDLE process, HWND control, UINT message, WPARAM wParam, RECT in = {}) {
    RemoteMemory memory(process, sizeof(RECT));
    memory.Write(&in, sizeof(in));
    SendMessageA(control, message, wParam, memory.Address());
    RECT out{};
    memory.Read(&out, sizeof(out));
    return out;
}

}  // namespace e2e
