#pragma once
// Loading text files for editors and state holders.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/app_error.h"
#include "platform/files.h"

// A load that failed. A missing file is told apart from every other reason,
// which the message names.
class LoadError : public AppError {
public:
    LoadError(const std::string& path, const std::string& reason);
    bool FileMissing() const { return reason_.empty(); }
    // Why the load failed, in words for the user; empty for a missing file.
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// Why a file that other users may put somewhere is not used there.
constexpr char kLinkRefused[] = "it is a link to another place";
constexpr char kUnknownKind[] = "what it is cannot be told";

// Why a file operation failed with system error `error`, in words for the user.
std::string FailureReason(DWORD error);
// Why a file could not be opened: empty when it does not exist.
std::string OpenFailureReason(DWORD error);

// The editor text for a file's bytes: cut at the first zero byte, every line
// break (CR, LF, CR+LF) made one CR+LF; LF followed by CR gives two.
std::string EditorTextFromBytes(std::string_view bytes);
// How many of the file's bytes the editor cannot show: those from the first
// zero byte on.
size_t BytesFromFirstZero(std::string_view bytes);

// How a read goes about its file; what a caller may ask beyond the defaults.
struct ReadOptions {
    // Reads the file itself, never what a link at the path leads to, and
    // refuses a link: for files that other users may put there.
    bool refuseLinks = false;
    // A larger file counts as unreadable and is never read into memory.
    ULONGLONG maxBytes = ~0ULL;
};

// Opens the file for reading while others may read but not write it, as far
// as `options` allow it; the caller closes the handle. Throws LoadError.
HANDLE OpenToRead(platform::Files& files, const std::string& path, const ReadOptions& options);

// All bytes of the file, read while others may read but not write it.
// Throws LoadError, also when there is not memory enough for them.
std::string ReadFileBytes(platform::Files& files, const std::string& path, const ReadOptions& options = {});

// Whether the file holds exactly `bytes`: read and compared a piece at a
// time, never whole in memory. Throws LoadError as ReadFileBytes does.
bool FileHolds(platform::Files& files, const std::string& path, std::string_view bytes);

// The editor text of the file: ReadFileBytes made EditorTextFromBytes.
std::string LoadText(platform::Files& files, const std::string& path, const ReadOptions& options = {});
