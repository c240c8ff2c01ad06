#include "platform/file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/system_library.h"

namespace platform {
namespace {

// Pairs of description and pattern, each ended by a zero, and one zero more.
constexpr char kTextFilter[] = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";

class Win32FileDialog : public FileDialog {
public:
    std::optional<std::string> AskSavePath(HWND owner, const std::string& defaultName) override {
        std::vector<char> path(MAX_PATH, '\0');
        defaultName.copy(path.data(), path.size() - 1);
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = kTextFilter;
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = static_cast<DWORD>(path.size());
        dialog.lpstrDefExt = "txt";
        // Browsing to a folder must not change the program's current folder.
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        // Loaded on first use: start-up does not wait for the dialog's DLLs.
        static const auto getSaveFileName =
            SystemFunction<decltype(&::GetSaveFileNameA)>(LoadSystemLibrary("comdlg32.dll"), "GetSaveFileNameA");
        if (!getSaveFileName || !getSaveFileName(&dialog))
            return std::nullopt;
        return std::string(path.data());
    }
};

}  // namespace

FileDialog& RealFileDialog() {
    static Win32FileDialog dialog;
    return dialog;
}

}  // namespace platform
