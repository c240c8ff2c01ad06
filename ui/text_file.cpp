#include "ui/text_file.h"

#include <algorithm>

LoadError::LoadError(const std::string& path, const std::string& reason)
    : AppError("Cannot open file " + path + (reason.empty() ? "" : ": " + reason)), reason_(reason) {}

std::string OpenFailureReason(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "another program is using it";
        case ERROR_ACCESS_DENIED:
            return "access is denied";
        default:
            return platform::SystemErrorText(error);
    }
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

std::string ReadFileBytes(platform::Files& files, const std::string& path) {
    DWORD error = ERROR_SUCCESS;
    HANDLE file = files.OpenForReading(path, error);
    if (file == INVALID_HANDLE_VALUE)
        throw LoadError(path, OpenFailureReason(error));
    std::string bytes;
    const bool read = files.Read(file, bytes);
    files.Close(file);
    if (!read)
        throw LoadError(path, "it could not be read");
    return bytes;
}

namespace {

std::string TemporaryPathBeside(const std::string& path) {
    return path + "." + std::to_string(GetCurrentProcessId()) + ".qortmp";
}

constexpr DWORD kAlwaysKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

}  // namespace

bool IsReadOnlyFile(platform::Files& files, const std::string& path) {
    const DWORD attributes = files.Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

void WriteFileText(platform::Files& files, const std::string& path, std::string_view text, ReadOnlyFile readOnly) {
    const DWORD attributes = files.Attributes(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    const DWORD refused = FILE_ATTRIBUTE_DIRECTORY | (readOnly == ReadOnlyFile::Refuse ? FILE_ATTRIBUTE_READONLY : 0);
    if (exists && (attributes & refused))
        throw AppError::Format("Cannot create file %s", path);

    const std::string temporary = TemporaryPathBeside(path);
    HANDLE file = files.CreateNew(temporary, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        throw AppError::Format("Cannot create file %s", path);
    const bool written = files.Write(file, text.data(), text.size()) == text.size() && files.Flush(file);
    files.Close(file);
    if (!written) {
        files.Delete(temporary);
        throw AppError("Stream write error");
    }

    // The file's own attributes come off while it is replaced (a read-only
    // file cannot be) and go back on afterwards, also when replacing fails.
    const DWORD kept = exists ? attributes & (kAlwaysKept | FILE_ATTRIBUTE_READONLY) : 0;
    if (kept)
        files.SetAttributes(path, attributes & ~kept);
    if (!files.Replace(temporary, path)) {
        if (kept)
            files.SetAttributes(path, attributes);
        files.Delete(temporary);
        throw AppError::Format("Cannot create file %s", path);
    }
    if (kept)
        files.SetAttributes(path, attributes);
}

std::string LoadText(platform::Files& files, const std::string& path) {
    return EditorTextFromBytes(ReadFileBytes(files, path));
}
