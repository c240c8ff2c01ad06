#include "tweaks/policy_files.h"

std::string PolicyValueLine(const std::string& valueName, const std::string& data) {
    return "\"" + valueName + "\"=dword:" + data;
}

std::vector<std::string> PolicyFileLines(const std::string& valueLine) {
    return {"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]",
            valueLine};
}
