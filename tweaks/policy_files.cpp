#include "tweaks/policy_files.h"

#include <cstring>
#include <optional>

namespace {

constexpr char kPolicyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Where Explorer looks for its policies: the machine's key, in the view the
// system's own registry editor imports the policy file into, and the user's.
struct PolicyPlace {
    HKEY root;
    REGSAM view;
    const char* name;
};
const PolicyPlace kPolicyPlaces[] = {
    {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "HKLM"},
    {HKEY_CURRENT_USER, 0, "HKCU"},
};

// A DWORD as its number; so is a 4-byte binary value, as Windows 9x stored
// policies. Nothing when the value is missing.
std::optional<std::string> PolicyValueIn(platform::Registry& registry, const PolicyPlace& place,
                                         const std::string& valueName) {
    const platform::RegistryKey key(registry, place.root, kPolicyKey, KEY_QUERY_VALUE | place.view);
    const platform::RegistryValue value = registry.Read(key.Get(), valueName);
    if (!value.exists)
        return std::nullopt;
    if ((value.type != REG_DWORD && value.type != REG_BINARY) || value.data.size() != sizeof(DWORD))
        return "not a number";
    DWORD number = 0;
    std::memcpy(&number, value.data.data(), sizeof(number));
    return std::to_string(number);
}

}  // namespace

std::string PolicyValueLine(const std::string& valueName, const std::string& data) {
    return "\"" + valueName + "\"=dword:" + data;
}

std::vector<std::string> PolicyFileLines(const std::string& valueLine) {
    return {"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]",
            valueLine};
}

std::string PolicyValueText(platform::Registry& registry, const std::string& valueName) {
    std::string text;
    for (const PolicyPlace& place : kPolicyPlaces) {
        if (const std::optional<std::string> value = PolicyValueIn(registry, place, valueName))
            text += (text.empty() ? "" : ", ") + *value + " (" + place.name + ")";
    }
    return text.empty() ? "not set" : text;
}
