#pragma once
// Files: the file operations the load and the writer need, one step each,
// behind an interface so that a test can make any single step fail.
#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// What an open file is, as the handle tells it.
struct FileFacts {
    DWORD attributes = 0;
    DWORD links = 1;  // how many names the file has
    ULONGLONG size = 0;
};

// How OpenItself opens the object at a path.
enum class OpenAs {
    // For reading while others may only read it.
    Reader,
    // For writing over in place while others may only read it.
    Rewriter,
    // A folder, held: others may read and write in it, but nobody can rename
    // or remove it while the handle is open. Its owner can be read through it.
    HeldFolder,
};

class Files {
public:
    virtual ~Files() = default;
    // Opens for reading while others may read but not write. INVALID_HANDLE_VALUE
    // on failure, with the system's error code in `error`.
    virtual HANDLE OpenForReading(const std::string& path, DWORD& error) = 0;
    // Creates a file that must not exist yet, for exclusive writing; likewise.
    // `security` is the file's descriptor in the system's descriptor language
    // (SDDL); empty gives it what its folder passes on.
    virtual HANDLE CreateNew(const std::string& path, const std::string& security, DWORD& error) = 0;
    // Opens an existing file to write it over in place while others may only read it; likewise.
    virtual HANDLE OpenForRewriting(const std::string& path, DWORD& error) = 0;
    // Opens what is at `path` itself, never what a link there (a symbolic
    // link, a junction) leads to; likewise.
    virtual HANDLE OpenItself(const std::string& path, OpenAs as, DWORD& error) = 0;
    // False when the system cannot tell.
    virtual bool Describe(HANDLE file, FileFacts& facts) = 0;
    virtual bool Read(HANDLE file, std::string& bytes) = 0;
    // The next bytes from the file's current position into `buffer`: `got`
    // is 0 at the end of the file.
    virtual bool ReadSome(HANDLE file, std::span<char> buffer, DWORD& got) = 0;
    // The steps below return ERROR_SUCCESS or the system's error code.
    // Writes all of `bytes` at the file's current position.
    virtual DWORD Write(HANDLE file, std::string_view bytes) = 0;
    // Ends the file at its current position.
    virtual DWORD Truncate(HANDLE file) = 0;
    // Puts everything written so far on the disk.
    virtual DWORD Flush(HANDLE file) = 0;
    virtual void Close(HANDLE file) = 0;
    // How many names the file has (its hard links); 1 when that cannot be told.
    virtual DWORD LinkCount(const std::string& path) = 0;
    // Puts `replacement` in place of `target`, which keeps its security and
    // streams (the step fails rather than drop them); the old file is renamed
    // to `backup` on the way.
    virtual DWORD Replace(const std::string& target, const std::string& replacement, const std::string& backup) = 0;
    // Renames a file; fails when `target` exists.
    virtual DWORD Move(const std::string& source, const std::string& target) = 0;
    // Renames a file over `target`, which goes whole, security and all; a
    // link at `target` is itself replaced, never followed.
    virtual DWORD MoveOver(const std::string& source, const std::string& target) = 0;
    virtual DWORD Delete(const std::string& path) = 0;
    virtual DWORD Attributes(const std::string& path) = 0;  // INVALID_FILE_ATTRIBUTES when absent
    virtual DWORD SetAttributes(const std::string& path, DWORD attributes) = 0;
    // `security` as for CreateNew.
    virtual bool MakeDirectory(const std::string& path, const std::string& security) = 0;
    // Fills `buffer` from the system's source of random numbers.
    virtual bool Random(void* buffer, size_t size) = 0;
};

Files& RealFiles();

// A handle of `files` that is closed when it goes.
class FileHandle {
public:
    FileHandle(Files& files, HANDLE handle) : files_(files), handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (IsOpen())
            files_.Close(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    // Hands the handle over to the caller, who closes it.
    HANDLE Release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    Files& files_;
    HANDLE handle_;
};

// The system's own description of error `code`, without its trailing line break.
std::string SystemErrorText(DWORD code);

}  // namespace platform
