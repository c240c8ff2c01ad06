#pragma once
// Security: whether this process runs with an administrator's full rights,
// and who owns what, behind an interface so that a test can be elevated or
// not and meet any owner.
#include <windows.h>

#include <string>

namespace platform {

// An account as a SID string ("S-1-5-32-544") and the name it goes by.
struct Account {
    std::string sid;   // empty when it could not be read
    std::string name;  // "BUILTIN\Administrators"; the SID when it has no name
};

constexpr char kAdministratorsSid[] = "S-1-5-32-544";
constexpr char kSystemSid[] = "S-1-5-18";

class Security {
public:
    virtual ~Security() = default;
    // True when this process's token is elevated; where the system has no
    // elevation (before Windows Vista), when it holds the Administrators group.
    virtual bool IsElevated() = 0;
    // The user this process runs as.
    virtual Account CurrentUser() = 0;
    // The owner of the object open as `handle`, which must allow READ_CONTROL.
    virtual Account OwnerOf(HANDLE handle) = 0;
};

Security& RealSecurity();

}  // namespace platform
