#pragma once
// System information: the machine and user facts the SYSTEM INFO page shows.
// Each call returns the platform's answer as is; text is cut at its first zero.
#include <windows.h>

#include <cstdint>
#include <string>

namespace platform {

struct MemoryStatus {
    DWORD loadPercent = 0;
    uint64_t totalPhysical = 0;      // bytes
    uint64_t availablePhysical = 0;  // bytes
};

struct VolumeInfo {
    std::string label;
    DWORD serial = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::string ComputerName() = 0;
    virtual std::string UserName() = 0;
    virtual MemoryStatus Memory() = 0;
    virtual DWORD ProcessorType() = 0;
    // The processor's name as the system's own properties show it: the first
    // processor's ProcessorNameString, else the CPUID brand string; "" when
    // neither is there. Blanks around it are kept.
    virtual std::string ProcessorBrand() = 0;
    // The profile's entry `key` of `section`, or "" when absent.
    virtual std::string ProfileString(const std::string& section, const std::string& key) = 0;
    virtual LANGID SystemDefaultLanguage() = 0;
    virtual std::string LanguageName(LANGID language) = 0;
    // `root` such as "c:\"; empty label and serial 0 when the query fails.
    virtual VolumeInfo Volume(const std::string& root) = 0;
    // The user's locale setting `type` (LOCALE_STHOUSAND...), "" when unknown.
    virtual std::string UserLocaleInfo(LCTYPE type) = 0;
    // The Windows and system folders, without a trailing backslash.
    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;
    // True on Windows NT and its successors, false on the Windows 9x family.
    virtual bool IsNtFamily() = 0;
};

SystemInfo& RealSystemInfo();

}  // namespace platform
