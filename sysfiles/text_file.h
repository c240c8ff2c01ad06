#pragma once
// Loading a text file into an editor and saving an editor's text to a file:
// the program's only way of reading and writing files.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/app_error.h"
#include "app/controls.h"
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

// Why a file could not be opened: empty when it does not exist.
std::string OpenFailureReason(DWORD error);

// The editor text for a file's bytes: cut at the first zero byte, every line
// break (CR, LF, CR+LF) made one CR+LF; LF followed by CR gives two.
std::string EditorTextFromBytes(std::string_view bytes);
// How many of the file's bytes the editor cannot show: those from the first
// zero byte on.
size_t BytesFromFirstZero(std::string_view bytes);

// All bytes of the file, read while others may read but not write it.
// Throws LoadError.
std::string ReadFileBytes(platform::Files& files, const std::string& path);

enum class ReadOnlyFile { Refuse, Overwrite };

// Writes `text` byte for byte in place of the file. The text goes to a
// temporary file beside it first and replaces the file only once all of it is
// on disk, so a failure leaves the file as it was. Hidden and system
// attributes are kept, and so is read-only when the caller lets a read-only
// file be overwritten. Throws "Cannot create file %s" or "Stream write error".
void WriteFileText(platform::Files& files, const std::string& path, std::string_view text,
                   ReadOnlyFile readOnly = ReadOnlyFile::Refuse);
bool IsReadOnlyFile(platform::Files& files, const std::string& path);

// Puts the text of the file `path` into the editor unless it holds it already.
// A text too large for the editor throws LoadError; the editor keeps its text.
void ShowFileText(const std::string& path, const std::string& text, ui::Memo& editor);

// Load: the file's text into the editor; the editor is left alone when the
// text is equal, and keeps its text when the load fails.
void LoadFile(platform::Files& files, const std::string& path, ui::Memo& editor);
// Save: the editor's whole text to the file.
void SaveFile(platform::Files& files, const ui::Memo& editor, const std::string& path);
