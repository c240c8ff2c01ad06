#include "ui/error_box.h"

#include <cctype>

#include "core/code_page.h"

std::string ApplicationTitle(const std::string& exePath) {
    const size_t slash = exePath.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    for (size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

const std::string& ApplicationTitle() {
    static const std::string title = [] {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length < path.size()) {
                path.resize(length);
                return ApplicationTitle(path);
            }
            path.resize(path.size() * 2);
        }
    }();
    return title;
}

std::string ErrorBoxText(const std::string& message) {
    if (message.empty() || static_cast<unsigned char>(message.back()) <= 0x2E)
        return message;
    return message + ".";
}

static void ShowErrorText(const std::string& message) {
    MessageBoxA(nullptr, ErrorBoxText(message).c_str(), ApplicationTitle().c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void ShowException(const std::exception& error) { ShowErrorText(error.what()); }

void ShowUnknownException() { ShowErrorText("Unknown error"); }

void ShowFileNotFound() {
    // Without an owner and task-modal: centred on the screen, all of the
    // program's windows disabled while it is up.
    MessageBoxA(nullptr, "File not found", ApplicationTitle().c_str(), MB_OK | MB_TASKMODAL);
}

void ShowNote(HWND owner, const std::wstring& note) {
    MessageBoxW(owner, note.c_str(), DecodeText(ApplicationTitle(), CP_ACP).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool AskYesNo(const std::string& question, bool defaultYes) {
    const UINT style = MB_YESNO | MB_ICONWARNING | MB_TASKMODAL | (defaultYes ? MB_DEFBUTTON1 : MB_DEFBUTTON2);
    return MessageBoxA(nullptr, question.c_str(), ApplicationTitle().c_str(), style) == IDYES;
}

Answer AskYesNoCancel(const std::string& question) {
    switch (MessageBoxA(nullptr, question.c_str(), ApplicationTitle().c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_TASKMODAL)) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}
