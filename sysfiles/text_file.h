#pragma once
// Loading a text file into an editor and saving an editor's text to a file:
// the program's only way of reading and writing files.
#include <string>
#include <string_view>

#include "app/controls.h"
#include "platform/files.h"

// The editor text for a file's bytes: cut at the first zero byte, every line
// break (CR, LF, CR+LF) made one CR+LF; LF followed by CR gives two.
std::string EditorTextFromBytes(std::string_view bytes);

// All bytes of the file, read while others may read but not write it.
// Throws "Cannot open file %s".
std::string ReadFileBytes(platform::Files& files, const std::string& path);

// Writes `text` byte for byte in place of the file. The text goes to a
// temporary file beside it first and replaces the file only once all of it is
// on disk, so a failure leaves the file as it was. Hidden and system
// attributes are kept. Throws "Cannot create file %s" or "Stream write error".
void WriteFileText(platform::Files& files, const std::string& path, std::string_view text);

// Load: the file's text into the editor; the editor is left alone when the
// text is equal, and keeps its text when the load fails.
void LoadFile(platform::Files& files, const std::string& path, ui::Memo& editor);
// Save: the editor's whole text to the file.
void SaveFile(platform::Files& files, const ui::Memo& editor, const std::string& path);
