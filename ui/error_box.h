#pragma once
// The application's message boxes: the default error box that every uncaught
// failure ends in, and the "File not found" box of page activation.
#include <windows.h>

#include <exception>
#include <string>

// The executable's file name without directory and without everything from
// its first ".", every letter after the first in lower case.
std::string ApplicationTitle(const std::string& exePath);
// The title of the running program.
const std::string& ApplicationTitle();

// The error box text: a "." is appended unless the message is empty or ends in
// a character whose code is 0x2E or lower.
std::string ErrorBoxText(const std::string& message);

// Shows the default error box; the program's windows are disabled meanwhile.
void ShowException(const std::exception& error);
// Same for anything thrown that is not a std::exception.
void ShowUnknownException();
// Runs `work`, handing any exception to the default error box. Used at every
// Win32 callback so that no exception crosses into the system's code.
template <typename Work>
void GuardCallback(Work&& work) {
    try {
        work();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowUnknownException();
    }
}

// "File not found": no icon, centred on the screen, Enter and Esc press OK.
void ShowFileNotFound();

// A note that needs no answer, over `owner`, captioned like the other boxes.
void ShowNote(HWND owner, const std::wstring& note);

// Questions before something the user may not want, captioned like the other
// boxes. True for Yes; `defaultYes` chooses the button Enter presses.
bool AskYesNo(const std::string& question, bool defaultYes);
enum class Answer { Yes, No, Cancel };
Answer AskYesNoCancel(const std::string& question);
