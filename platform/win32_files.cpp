#include "platform/files.h"

#include <algorithm>

namespace platform {
namespace {

class Win32Files : public Files {
public:
    HANDLE OpenForReading(const std::string& path, DWORD& error) override {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        return file;
    }

    HANDLE CreateNew(const std::string& path, DWORD attributes) override {
        return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    }

    bool Read(HANDLE file, std::string& bytes) override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFE)
            return false;
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            if (!ReadFile(file, bytes.data() + done, want, &got, nullptr))
                return false;
            if (got == 0)
                break;  // the file shrank meanwhile
            done += got;
        }
        bytes.resize(done);
        return true;
    }

    size_t Write(HANDLE file, const char* data, size_t size) override {
        size_t done = 0;
        while (done < size) {
            DWORD put = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(size - done, 1 << 20));
            if (!WriteFile(file, data + done, want, &put, nullptr) || put == 0)
                break;
            done += put;
        }
        return done;
    }

    bool Flush(HANDLE file) override { return FlushFileBuffers(file) != FALSE; }

    void Close(HANDLE file) override { CloseHandle(file); }

    bool Replace(const std::string& source, const std::string& target) override {
        return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }

    void Delete(const std::string& path) override { DeleteFileA(path.c_str()); }

    DWORD Attributes(const std::string& path) override { return GetFileAttributesA(path.c_str()); }

    bool SetAttributes(const std::string& path, DWORD attributes) override {
        return SetFileAttributesA(path.c_str(), attributes) != FALSE;
    }

    bool MakeDirectory(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }
};

}  // namespace

Files& RealFiles() {
    static Win32Files files;
    return files;
}

std::string SystemErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : "error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace platform
