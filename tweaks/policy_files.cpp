#include "tweaks/policy_files.h"

#include <cstring>

namespace {

constexpr char kPolicyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

}  // namespace

std::string PolicyValueLine(const std::string& valueName, const std::string& data) {
    return "\"" + valueName + "\"=dword:" + data;
}

std::vector<std::string> PolicyFileLines(const std::string& valueLine) {
    return {"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]",
            valueLine};
}

std::string PolicyValueText(platform::Registry& registry, const std::string& valueName) {
    // The view the system's own registry editor imports the policy file into.
    const platform::RegistryKey key(registry, HKEY_LOCAL_MACHINE, kPolicyKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY);
    const platform::RegistryValue value = registry.Read(key.Get(), valueName);
    if (!value.exists)
        return "not set";
    if (value.type != REG_DWORD || value.data.size() != sizeof(DWORD))
        return "not a number";
    DWORD number = 0;
    std::memcpy(&number, value.data.data(), sizeof(number));
    return std::to_string(number);
}
