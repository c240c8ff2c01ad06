#pragma once
// A process that is elevated or not, as a test says, and objects whose owner
// the test names.
#include "platform/security.h"

class FakeSecurity : public platform::Security {
public:
    bool elevated = true;
    platform::Account user{"S-1-5-21-1-2-3-1001", "PC\\tech"};
    platform::Account owner{platform::kAdministratorsSid, "BUILTIN\\Administrators"};

    bool IsElevated() override { return elevated; }
    platform::Account CurrentUser() override { return user; }
    platform::Account OwnerOf(HANDLE) override { return owner; }
};
