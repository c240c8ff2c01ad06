#pragma once
// A process that is elevated or not, as a test says, and objects whose owner
// the test names.
#include <map>
#include <string>

#include "platform/security.h"

class FakeSecurity : public platform::Security {
public:
    bool elevated = true;
    std::string user = "S-1-5-21-1-2-3-1001";
    std::string owner = platform::kAdministratorsSid;
    std::map<std::string, std::string> names;  // by SID; others go by their SID

    bool IsElevated() override { return elevated; }
    std::string CurrentUser() override { return user; }
    std::string OwnerOf(HANDLE) override { return owner; }
    std::string AccountName(const std::string& sid) override { return names.count(sid) ? names.at(sid) : sid; }
};
