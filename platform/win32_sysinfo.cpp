#include "platform/sysinfo.h"

#include <vector>

#include "platform/system_library.h"

namespace platform {
namespace {

// The text of a buffer the platform filled, up to its first zero byte.
std::string UpToZero(const std::vector<char>& buffer) { return std::string(buffer.data()); }

using VerLanguageNameFn = DWORD(WINAPI*)(DWORD, LPSTR, DWORD);

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
        if (verLanguageName) verLanguageName(language, name.data(), static_cast<DWORD>(name.size()));
        return UpToZero(name);
    }

    VolumeInfo Volume(const std::string& root) override {
        std::vector<char> label(261, '\0');
        DWORD serial = 0;
        GetVolumeInformationA(root.c_str(), label.data(), static_cast<DWORD>(label.size()), &serial, nullptr,
                              nullptr, nullptr, 0);
        return {UpToZero(label), serial};
    }

    std::string UserLocaleInfo(LCTYPE type) override {
        const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, nullptr, 0);
        if (length <= 0) return {};
        std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
        GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text.data(), length);
        return UpToZero(text);
    }
};

}  // namespace

SystemInfo& RealSystemInfo() {
    static Win32SystemInfo info;
    return info;
}

}  // namespace platform
