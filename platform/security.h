#pragma once
// Security: whether this process runs with an administrator's full rights,
// and who owns what, behind an interface so that a test can be elevated or
// not and meet any owner. Accounts are SID strings ("S-1-5-32-544").
#include <windows.h>

#include <string>

namespace platform {

constexpr char kAdministratorsSid[] = "S-1-5-32-544";
constexpr char kSystemSid[] = "S-1-5-18";

class Security {
public:
    virtual ~Security() = default;
    // True when this process's token is elevated; where the system has no
    // elevation (before Windows Vista), when it holds the Administrators group.
    virtual bool IsElevated() = 0;
    // The user this process runs as; empty when that cannot be told.
    virtual std::string CurrentUser() = 0;
    // The owner of the object open as `handle`, which must allow READ_CONTROL;
    // empty when it cannot be read.
    virtual std::string OwnerOf(HANDLE handle) = 0;
    // The name the account goes by ("PC\jane"), for messages; the SID string
    // itself when it has none.
    virtual std::string AccountName(const std::string& sid) = 0;
};

Security& RealSecurity();

}  // namespace platform
