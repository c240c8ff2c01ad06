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

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (!sid || !ConvertSidToStringSidA(sid, &text))
        return "";
    const std::string sidText = text;
    LocalFree(text);
    return sidText;
}

// Whether this thread's token holds the Administrators group as one it may use.
bool HoldsAdministrators() {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           CheckTokenMembership(nullptr, sid, &member) && member;
}

bool TokenIsElevated() {
    const ProcessToken token;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (token.Get() && GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size))
        return elevation.TokenIsElevated != 0;
    return HoldsAdministrators();
}

std::string TokenUser() {
    const ProcessToken token;
    DWORD size = 0;
    GetTokenInformation(token.Get(), ::TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (!token.Get() || size == 0 || !GetTokenInformation(token.Get(), ::TokenUser, user.data(), size, &size))
        return "";
    return SidText(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
}

class Win32Security : public Security {
public:
    // Neither changes while the process runs.
    bool IsElevated() override {
        static const bool elevated = TokenIsElevated();
        return elevated;
    }
    std::string CurrentUser() override {
        static const std::string user = TokenUser();
        return user;
    }

    std::string OwnerOf(HANDLE handle) override {
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                            &descriptor) != ERROR_SUCCESS)
            return "";
        const std::string sid = SidText(owner);
        LocalFree(descriptor);
        return sid;
    }

    std::string AccountName(const std::string& sid) override {
        PSID binary = nullptr;
        if (!ConvertStringSidToSidA(sid.c_str(), &binary))
            return sid;
        char name[256], domain[256];
        DWORD nameLength = sizeof(name), domainLength = sizeof(domain);
        SID_NAME_USE use;
        const bool named = LookupAccountSidA(nullptr, binary, name, &nameLength, domain, &domainLength, &use);
        LocalFree(binary);
        if (!named)
            return sid;
        return domainLength ? std::string(domain) + "\\" + name : std::string(name);
    }
};

}  // namespace

Security& RealSecurity() {
    static Win32Security security;
    return security;
}

}  // namespace platform
