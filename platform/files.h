#pragma once
// Files: the few file operations the load and save of text files need, behind
// an interface so that a test can make any single step fail.
#include <windows.h>

#include <string>

namespace platform {

class Files {
public:
    virtual ~Files() = default;
    // Opens for reading while others may read but not write. INVALID_HANDLE_VALUE
    // on failure, with the system's error code in `error`.
    virtual HANDLE OpenForReading(const std::string& path, DWORD& error) = 0;
    // Creates a new file that must not exist yet, for exclusive writing.
    virtual HANDLE CreateNew(const std::string& path, DWORD attributes) = 0;
    virtual bool Read(HANDLE file, std::string& bytes) = 0;
    // Returns the number of bytes written.
    virtual size_t Write(HANDLE file, const char* data, size_t size) = 0;
    virtual bool Flush(HANDLE file) = 0;
    virtual void Close(HANDLE file) = 0;
    // Puts `source` in place of `target`, which may exist.
    virtual bool Replace(const std::string& source, const std::string& target) = 0;
    virtual void Delete(const std::string& path) = 0;
    virtual DWORD Attributes(const std::string& path) = 0;  // INVALID_FILE_ATTRIBUTES when absent
    virtual bool SetAttributes(const std::string& path, DWORD attributes) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
};

Files& RealFiles();

// The system's own description of error `code`, without its trailing line break.
std::string SystemErrorText(DWORD code);

}  // namespace platform
