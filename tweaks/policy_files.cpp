#include "tweaks/policy_files.h"

#include "app/app_error.h"

const PolicyRow& PolicyOf(int button) {
    for (const PolicyRow& policy : kPolicies)
        if (policy.button == button) return policy;
    throw AppError("No policy for Button" + std::to_string(button));
}

std::string PolicyValueLine(const PolicyRow& policy) {
    return std::string("\"") + policy.valueName + "\"=dword:" + policy.data;
}

std::vector<std::string> PolicyFileLines(const std::string& valueLine) {
    return {"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]",
            valueLine};
}
