#include "platform/sysinfo.h"

#include <vector>

#if defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
#include <intrin.h>
#elif defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "platform/registry.h"
#include "platform/system_library.h"

namespace platform {
namespace {

// A folder path as the platform reports it, without a trailing backslash.
std::string FolderFrom(UINT(WINAPI* query)(LPSTR, UINT)) {
    const UINT needed = query(nullptr, 0);
    if (needed == 0)
        return {};
    std::string path(needed, '\0');
    const UINT length = query(path.data(), needed);
    path.resize(length < needed ? length : 0);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

// The text of a buffer the platform filled, up to its first zero byte.
std::string UpToZero(const std::vector<char>& buffer) { return std::string(buffer.data()); }

using VerLanguageNameFn = DWORD(WINAPI*)(DWORD, LPSTR, DWORD);

const char kFirstProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

// Windows NT writes the brand string here at boot; Windows 9x has no such key.
std::string ProcessorNameString() {
    Registry& registry = RealRegistry();
    const RegistryKey key(registry, HKEY_LOCAL_MACHINE, kFirstProcessorKey, KEY_QUERY_VALUE);
    const RegistryValue value = registry.Read(key.Get(), "ProcessorNameString");
    if (!value.exists || value.type != REG_SZ)
        return {};
    return value.data.substr(0, value.data.find('\0'));
}

// The 48-byte brand string of CPUID leaves 0x80000002 to 0x80000004; "" on
// processors without them.
std::string CpuidBrandString() {
    unsigned int registers[12] = {};
#if defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
    int leaf[4];
    __cpuid(leaf, 0x80000000);
    if (static_cast<unsigned int>(leaf[0]) < 0x80000004)
        return {};
    for (int i = 0; i < 3; ++i)
        __cpuid(reinterpret_cast<int*>(&registers[4 * i]), 0x80000002 + i);
#elif defined(__i386__) || defined(__x86_64__)
    if (__get_cpuid_max(0x80000000, nullptr) < 0x80000004)
        return {};
    for (unsigned int i = 0; i < 3; ++i)
        __get_cpuid(0x80000002 + i, &registers[4 * i], &registers[4 * i + 1], &registers[4 * i + 2],
                    &registers[4 * i + 3]);
#endif
    const std::string brand(reinterpret_cast<const char*>(registers), sizeof(registers));
    return brand.substr(0, brand.find('\0'));
}

class Win32SystemInfo : public SystemInfo {
public:
    std::string ComputerName() override {
        std::vector<char> name(256, '\0');
        DWORD size = 255;
        GetComputerNameA(name.data(), &size);
        return UpToZero(name);
    }

    std::string UserName() override {
        std::vector<char> name(254, '\0');
        DWORD size = 253;
        GetUserNameA(name.data(), &size);
        return UpToZero(name);
    }

    MemoryStatus Memory() override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        GlobalMemoryStatusEx(&status);
        return {status.dwMemoryLoad, status.ullTotalPhys, status.ullAvailPhys};
    }

    DWORD ProcessorType() override {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        return info.dwProcessorType;
    }

    std::string ProcessorBrand() override {
        const std::string name = ProcessorNameString();
        return name.empty() ? CpuidBrandString() : name;
    }

    std::string ProfileString(const std::string& section, const std::string& key) override {
        std::vector<char> text(255, '\0');
        GetProfileStringA(section.c_str(), key.c_str(), "", text.data(), static_cast<DWORD>(text.size()));
        return UpToZero(text);
    }

    LANGID SystemDefaultLanguage() override { return GetSystemDefaultLangID(); }

    std::string LanguageName(LANGID language) override {
        static const auto verLanguageName =
            SystemFunction<VerLanguageNameFn>(LoadSystemLibrary("version.dll"), "VerLanguageNameA");
        std::vector<char> name(50, '\0');
        if (verLanguageName)
            verLanguageName(language, name.data(), static_cast<DWORD>(name.size()));
        return UpToZero(name);
    }

    VolumeInfo Volume(const std::string& root) override {
        std::vector<char> label(261, '\0');
        DWORD serial = 0;
        GetVolumeInformationA(root.c_str(), label.data(), static_cast<DWORD>(label.size()), &serial, nullptr, nullptr,
                              nullptr, 0);
        return {UpToZero(label), serial};
    }

    std::string UserLocaleInfo(LCTYPE type) override {
        const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, nullptr, 0);
        if (length <= 0)
            return {};
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text.data(), length);
        return UpToZero(text);
    }

    std::string WindowsDirectory() override { return FolderFrom(&::GetWindowsDirectoryA); }
    std::string SystemDirectory() override { return FolderFrom(&::GetSystemDirectoryA); }
    bool IsNtFamily() override { return (GetVersion() & 0x80000000u) == 0; }
};

}  // namespace

SystemInfo& RealSystemInfo() {
    // Never destroyed: a worker thread still running at exit may call it.
    static Win32SystemInfo* const info = new Win32SystemInfo;
    return *info;
}

}  // namespace platform
