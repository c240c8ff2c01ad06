#pragma once
// File dialog: the system's common Save dialog.
#include <windows.h>

#include <optional>
#include <string>

namespace platform {

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Asks where to save a text file, offering `defaultName`; asks before
    // replacing a file that exists. The chosen full path, or nothing when the
    // user cancelled.
    virtual std::optional<std::string> AskSavePath(HWND owner, const std::string& defaultName) = 0;
};

FileDialog& RealFileDialog();

}  // namespace platform
