#include "sysfiles/text_file.h"

#include "app/app_error.h"

std::string EditorTextFromBytes(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            text += c;
        }
    }
    return text;
}

std::string ReadFileBytes(platform::Files& files, const std::string& path) {
    HANDLE file = files.OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE) throw AppError::Format("Cannot open file %s", path);
    std::string bytes;
    const bool read = files.Read(file, bytes);
    files.Close(file);
    if (!read) throw AppError("Stream read error");
    return bytes;
}

namespace {

std::string TemporaryPathBeside(const std::string& path) {
    return path + "." + std::to_string(GetCurrentProcessId()) + ".qortmp";
}

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

}  // namespace

void WriteFileText(platform::Files& files, const std::string& path, std::string_view text) {
    const DWORD attributes = files.Attributes(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw AppError::Format("Cannot create file %s", path);

    const std::string temporary = TemporaryPathBeside(path);
    HANDLE file = files.CreateNew(temporary, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) throw AppError::Format("Cannot create file %s", path);
    const bool written = files.Write(file, text.data(), text.size()) == text.size() && files.Flush(file);
    files.Close(file);
    if (!written) {
        files.Delete(temporary);
        throw AppError("Stream write error");
    }

    const DWORD kept = exists ? attributes & kKeptAttributes : 0;
    if (kept) files.SetAttributes(path, attributes & ~kKeptAttributes);
    if (!files.Replace(temporary, path)) {
        if (kept) files.SetAttributes(path, attributes);
        files.Delete(temporary);
        throw AppError::Format("Cannot create file %s", path);
    }
    if (kept) files.SetAttributes(path, attributes);
}

void LoadFile(platform::Files& files, const std::string& path, ui::Memo& editor) {
    const std::string text = EditorTextFromBytes(ReadFileBytes(files, path));
    const std::string previous = editor.Text();
    if (text == previous) return;
    try {
        editor.SetText(text);
    } catch (...) {
        editor.TrySetText(previous);
        throw;
    }
}

void SaveFile(platform::Files& files, const ui::Memo& editor, const std::string& path) {
    WriteFileText(files, path, editor.Text());
}
