#include "platform/security.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace platform {
namespace {

// The process token, closed when it goes.
class ProcessToken {
public:
    ProcessToken() {
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token_))
            token_ = nullptr;
    }
    ~ProcessToken() {
        if (token_)
            CloseHandle(token_);
    }
    ProcessToken(const ProcessToken&) = delete;
    ProcessToken& operator=(const ProcessToken&) = delete;

    HANDLE Get() const { return token_; }

private:
    HANDLE token_ = nullptr;
};

Account AccountOf(PSID sid) {
    Account account;
    char* text = nullptr;
    if (!sid || !ConvertSidToStringSidA(sid, &text))
        return account;
    account.sid = text;
    LocalFree(text);
    char name[256], domain[256];
    DWORD nameLength = sizeof(name), domainLength = sizeof(domain);
    SID_NAME_USE use;
    if (LookupAccountSidA(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
        account.name = domainLength ? std::string(domain) + "\\" + name : name;
    else
        account.name = account.sid;
    return account;
}

// Whether this thread's token holds the Administrators group as a group it may use.
bool HoldsAdministrators() {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           CheckTokenMembership(nullptr, sid, &member) && member;
}

class Win32Security : public Security {
public:
    bool IsElevated() override {
        const ProcessToken token;
        if (!token.Get())
            return false;
        TOKEN_ELEVATION elevation{};
        DWORD size = 0;
        if (GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size))
            return elevation.TokenIsElevated != 0;
        return HoldsAdministrators();
    }

    Account CurrentUser() override {
        const ProcessToken token;
        DWORD size = 0;
        GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
        std::vector<BYTE> user(size);
        if (!token.Get() || size == 0 || !GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size))
            return {};
        return AccountOf(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
    }

    Account OwnerOf(HANDLE handle) override {
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                            &descriptor) != ERROR_SUCCESS)
            return {};
        const Account account = AccountOf(owner);
        LocalFree(descriptor);
        return account;
    }
};

}  // namespace

Security& RealSecurity() {
    static Win32Security security;
    return security;
}

}  // namespace platform
