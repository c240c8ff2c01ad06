#include "core/text_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

LoadError::LoadError(const std::string& path, const std::string& reason)
    : AppError("Cannot open file " + path + (reason.empty() ? "" : ": " + reason)), reason_(reason) {}

std::string FailureReason(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "another program is using it";
        case ERROR_ACCESS_DENIED:
            return "access is denied";
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL:
            return "the disk is full";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return "there is not enough memory";
        default:
            break;
    }
    // The sentence goes on after it.
    std::string text = platform::SystemErrorText(error);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

std::string OpenFailureReason(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "" : FailureReason(error);
}

std::string EditorTextFromBytes(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    // The runs between line breaks are found and copied whole, not a byte at
    // a time: a file of megabytes is ready in a few milliseconds.
    size_t start = 0;
    size_t cr = bytes.find('\r');
    size_t lf = bytes.find('\n');
    while (cr != std::string_view::npos || lf != std::string_view::npos) {
        const size_t lineBreak = std::min(cr, lf);
        text.append(bytes.substr(start, lineBreak - start)).append("\r\n");
        start = lineBreak + (lineBreak == cr && lf == cr + 1 ? 2 : 1);
        if (cr < start)
            cr = bytes.find('\r', start);
        if (lf < start)
            lf = bytes.find('\n', start);
    }
    text.append(bytes.substr(start));
    return text;
}

size_t BytesFromFirstZero(std::string_view bytes) {
    const size_t zero = bytes.find('\0');
    return zero == std::string_view::npos ? 0 : bytes.size() - zero;
}

namespace {

// Refuses what the options rule out, from what the open file is.
void CheckReadable(platform::Files& files, HANDLE file, const std::string& path, const ReadOptions& options) {
    platform::FileFacts facts;
    if (!files.Describe(file, facts))
        throw LoadError(path, kUnknownKind);
    if (options.refuseLinks && (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        throw LoadError(path, kLinkRefused);
    if (facts.size > options.maxBytes)
        throw LoadError(path, "it is larger than " + std::to_string(options.maxBytes) + " bytes");
}

}  // namespace

HANDLE OpenToRead(platform::Files& files, const std::string& path, const ReadOptions& options) {
    DWORD error = ERROR_SUCCESS;
    platform::FileHandle file(files, options.refuseLinks ? files.OpenItself(path, platform::OpenAs::Reader, error)
                                                         : files.OpenForReading(path, error));
    if (!file.IsOpen())
        throw LoadError(path, OpenFailureReason(error));
    // The size cannot change meanwhile: nobody may write the file while it is open here.
    if (options.refuseLinks || options.maxBytes != ReadOptions().maxBytes)
        CheckReadable(files, file.Get(), path, options);
    return file.Release();
}

std::string ReadFileBytes(platform::Files& files, const std::string& path, const ReadOptions& options) {
    platform::FileHandle file(files, OpenToRead(files, path, options));
    std::string bytes;
    try {
        if (!files.Read(file.Get(), bytes))
            throw LoadError(path, "it could not be read");
    } catch (const std::bad_alloc&) {
        throw LoadError(path, FailureReason(ERROR_NOT_ENOUGH_MEMORY));
    }
    return bytes;
}

bool FileHolds(platform::Files& files, const std::string& path, std::string_view bytes) {
    platform::FileHandle file(files, OpenToRead(files, path, {}));
    // Megabytes read into fresh memory take tens of milliseconds; a piece
    // read again and again into the same buffer, about one.
    constexpr size_t kPiece = 256 * 1024;
    const auto piece = std::make_unique<char[]>(kPiece);
    for (;;) {
        DWORD got = 0;
        if (!files.ReadSome(file.Get(), {piece.get(), kPiece}, got))
            throw LoadError(path, "it could not be read");
        if (got == 0)
            return bytes.empty();
        if (got > bytes.size() || std::memcmp(piece.get(), bytes.data(), got) != 0)
            return false;
        bytes.remove_prefix(got);
    }
}

std::string LoadText(platform::Files& files, const std::string& path, const ReadOptions& options) {
    return EditorTextFromBytes(ReadFileBytes(files, path, options));
}
