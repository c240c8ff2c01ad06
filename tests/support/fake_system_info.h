#pragma once
// A machine of fixed facts, as the system information calls report them.
#include <string>
#include <vector>

#include "platform/sysinfo.h"

class FakeSystemInfo : public platform::SystemInfo {
public:
    std::string computerName = "BUILDHOST";
    std::string userName = "alice";
    platform::MemoryStatus memory{37, 64ull << 20, 32ull << 20};
    DWORD processorType = 586;
    std::string processorBrand;
    std::string printer = "LaserJet,winspool,LPT1:";
    std::string languageName = "English (United States)";
    LANGID language = 0x0409;
    platform::VolumeInfo volume{"SYSTEM", 0x1234};
    std::string thousands = ",";
    std::string decimal = ".";
    std::vector<std::string> asked;
    bool ntFamily = false;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";

    std::string ComputerName() override { return computerName; }
    std::string UserName() override { return userName; }
    platform::MemoryStatus Memory() override { return memory; }
    DWORD ProcessorType() override { return processorType; }
    std::string ProcessorBrand() override { return processorBrand; }
    std::string ProfileString(const std::string& section, const std::string& key) override {
        asked.push_back(section + "/" + key);
        return printer;
    }
    LANGID SystemDefaultLanguage() override { return language; }
    std::string LanguageName(LANGID id) override { return id == language ? languageName : "wrong language"; }
    platform::VolumeInfo Volume(const std::string& root) override {
        asked.push_back(root);
        return volume;
    }
    std::string UserLocaleInfo(LCTYPE type) override { return type == LOCALE_STHOUSAND ? thousands : decimal; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string SystemDirectory() override { return systemDirectory; }
    bool IsNtFamily() override { return ntFamily; }
};
