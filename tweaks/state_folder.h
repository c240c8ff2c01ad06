#pragma once
// c:\qor, held open while the page works in it. Other users may add files to
// the folder and write them, and may have made it or put a link in its place
// before this program ran. Held, it can be neither renamed nor removed, so
// every path under it names a file of the folder checked here.
#include <string>

#include "platform/files.h"
#include "platform/security.h"

class StateFolder {
public:
    // Opens c:\qor itself, never what a link there leads to, and checks it:
    // a link is refused, and so, when this process is elevated, is a folder
    // owned by anyone but Administrators, SYSTEM or this process's user.
    StateFolder(platform::Files& files, platform::Security& security);
    StateFolder(const StateFolder&) = delete;
    StateFolder& operator=(const StateFolder&) = delete;

    // There and fit for use: held until this goes.
    bool IsHeld() const { return handle_.IsOpen(); }
    // Why what is there is not used; empty when it is, and when there is no
    // folder (a file of that name counts as none).
    const std::string& Refusal() const { return refusal_; }
    // The message that says so.
    std::string RefusalMessage() const { return "Cannot use C:\\QOR" + (refusal_.empty() ? "" : ": " + refusal_); }

private:
    void Check(platform::Files& files, platform::Security& security);

    std::string refusal_;  // before handle_: opening it may set it
    platform::FileHandle handle_;
};
