#include "platform/files.h"

#include <ntsecapi.h>
#include <sddl.h>

#include <algorithm>

namespace platform {
namespace {

DWORD ErrorOf(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD& error,
            DWORD flags = FILE_ATTRIBUTE_NORMAL, SECURITY_ATTRIBUTES* security = nullptr) {
    HANDLE file = CreateFileA(path.c_str(), access, share, security, disposition, flags, nullptr);
    error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return file;
}

// The security descriptor an SDDL text gives, as CreateFile and
// CreateDirectory take it.
class Descriptor {
public:
    explicit Descriptor(const std::string& sddl) {
        if (!sddl.empty() &&
            !ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor_, nullptr))
            error_ = GetLastError();
        attributes_.lpSecurityDescriptor = descriptor_;
    }
    ~Descriptor() { LocalFree(descriptor_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    DWORD Error() const { return error_; }
    // Null for none: the object then gets what its folder passes on.
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    DWORD error_ = ERROR_SUCCESS;
};

class Win32Files : public Files {
public:
    HANDLE OpenForReading(const std::string& path, DWORD& error) override {
        return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, error);
    }

    HANDLE CreateNew(const std::string& path, const std::string& security, DWORD& error) override {
        Descriptor descriptor(security);
        error = descriptor.Error();
        if (error != ERROR_SUCCESS)
            return INVALID_HANDLE_VALUE;
        return Open(path, GENERIC_WRITE, 0, CREATE_NEW, error, FILE_ATTRIBUTE_NORMAL, descriptor.Attributes());
    }

    HANDLE OpenForRewriting(const std::string& path, DWORD& error) override {
        return Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, error);
    }

    HANDLE OpenItself(const std::string& path, OpenAs as, DWORD& error) override {
        switch (as) {
            case OpenAs::Reader:
                return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, error, FILE_FLAG_OPEN_REPARSE_POINT);
            case OpenAs::Rewriter:
                return Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, error, FILE_FLAG_OPEN_REPARSE_POINT);
            case OpenAs::HeldFolder:
                break;
        }
        // The system applies a handle's sharing only when it may read or
        // write data: listing the folder is what makes "no deleting" hold.
        return Open(path, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, error,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    }

    bool Describe(HANDLE file, FileFacts& facts) override {
        BY_HANDLE_FILE_INFORMATION information{};
        if (!GetFileInformationByHandle(file, &information))
            return false;
        facts.attributes = information.dwFileAttributes;
        facts.links = information.nNumberOfLinks;
        facts.size = (static_cast<ULONGLONG>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
        return true;
    }

    bool Read(HANDLE file, std::string& bytes) override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFE)
            return false;
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            if (!ReadSome(file, {bytes.data() + done, bytes.size() - done}, got))
                return false;
            if (got == 0)
                break;  // the file shrank meanwhile
            done += got;
        }
        bytes.resize(done);
        return true;
    }

    bool ReadSome(HANDLE file, std::span<char> buffer, DWORD& got) override {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(buffer.size(), 1 << 20));
        return ReadFile(file, buffer.data(), want, &got, nullptr) != FALSE;
    }

    DWORD Write(HANDLE file, std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD put = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20));
            if (!WriteFile(file, bytes.data(), want, &put, nullptr))
                return GetLastError();
            if (put == 0)
                return ERROR_HANDLE_DISK_FULL;
            bytes.remove_prefix(put);
        }
        return ERROR_SUCCESS;
    }

    DWORD Truncate(HANDLE file) override { return ErrorOf(SetEndOfFile(file)); }

    DWORD Flush(HANDLE file) override { return ErrorOf(FlushFileBuffers(file)); }

    void Close(HANDLE file) override { CloseHandle(file); }

    DWORD LinkCount(const std::string& path) override {
        HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        FileFacts facts;
        const bool known = file != INVALID_HANDLE_VALUE && Describe(file, facts);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        return known ? std::max<DWORD>(facts.links, 1) : 1;
    }

    DWORD Replace(const std::string& target, const std::string& replacement, const std::string& backup) override {
        return ErrorOf(ReplaceFileA(target.c_str(), replacement.c_str(), backup.c_str(), 0, nullptr, nullptr));
    }

    DWORD Move(const std::string& source, const std::string& target) override {
        return ErrorOf(MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH));
    }

    DWORD MoveOver(const std::string& source, const std::string& target) override {
        return ErrorOf(MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    }

    DWORD Delete(const std::string& path) override { return ErrorOf(DeleteFileA(path.c_str())); }

    DWORD Attributes(const std::string& path) override { return GetFileAttributesA(path.c_str()); }

    DWORD SetAttributes(const std::string& path, DWORD attributes) override {
        return ErrorOf(SetFileAttributesA(path.c_str(), attributes));
    }

    bool MakeDirectory(const std::string& path, const std::string& security) override {
        Descriptor descriptor(security);
        return descriptor.Error() == ERROR_SUCCESS && CreateDirectoryA(path.c_str(), descriptor.Attributes()) != FALSE;
    }

    bool Random(void* buffer, size_t size) override { return RtlGenRandom(buffer, static_cast<ULONG>(size)) != FALSE; }
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
