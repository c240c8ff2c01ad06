// The built qorsysed.exe: what its PE header promises about loading and hardening.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive_c.h"
#include "support/program.h"

namespace {

class PeImage {
public:
    explicit PeImage(std::string bytes) : bytes_(std::move(bytes)) {}

    const IMAGE_NT_HEADERS* Headers() const {
        const auto* dos = At<IMAGE_DOS_HEADER>(0);
        return dos->e_magic == IMAGE_DOS_SIGNATURE ? At<IMAGE_NT_HEADERS>(static_cast<size_t>(dos->e_lfanew)) : nullptr;
    }

    // The names of the DLLs in the import table, lower case.
    std::set<std::string> ImportedDlls() const {
        std::set<std::string> names;
        for (const IMAGE_IMPORT_DESCRIPTOR* descriptor : Descriptors()) {
            std::string name = &bytes_[FileOffset(descriptor->Name)];
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            names.insert(name);
        }
        return names;
    }

    // The functions imported by name, from any DLL.
    std::set<std::string> ImportedFunctions() const {
        std::set<std::string> names;
        for (const IMAGE_IMPORT_DESCRIPTOR* descriptor : Descriptors()) {
            const DWORD thunks =
                descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk;
            for (size_t offset = FileOffset(thunks);; offset += sizeof(IMAGE_THUNK_DATA)) {
                const auto* thunk = At<IMAGE_THUNK_DATA>(offset);
                if (thunk->u1.AddressOfData == 0)
                    break;
                if (!IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal))
                    names.insert(&bytes_[FileOffset(static_cast<DWORD>(thunk->u1.AddressOfData)) + 2]);
            }
        }
        return names;
    }

private:
    std::vector<const IMAGE_IMPORT_DESCRIPTOR*> Descriptors() const {
        std::vector<const IMAGE_IMPORT_DESCRIPTOR*> descriptors;
        const IMAGE_DATA_DIRECTORY& imports = Headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (size_t offset = FileOffset(imports.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
            if (descriptor->Name == 0)
                break;
            descriptors.push_back(descriptor);
        }
        return descriptors;
    }

    template <typename T>
    const T* At(size_t offset) const {
        if (offset + sizeof(T) > bytes_.size())
            throw std::runtime_error("not a PE image");
        return reinterpret_cast<const T*>(&bytes_[offset]);
    }
    size_t FileOffset(DWORD rva) const {
        const IMAGE_NT_HEADERS* headers = Headers();
        const auto* section = IMAGE_FIRST_SECTION(headers);
        for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section)
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
                return rva - section->VirtualAddress + section->PointerToRawData;
        throw std::runtime_error("address outside every section");
    }

    std::string bytes_;
};

// The DLLs that are KnownDLLs on every Windows from 7 to 11: the loader takes
// them from the system folder only, never from beside the program. A fixed
// list, because a Wine prefix has no KnownDLLs key at all
// (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs), and
// because the program must be safe on each of those Windows, not only on
// the one the tests run on.
const std::set<std::string> kKnownDlls = {"advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll",  "gdi32.dll",
                                          "imagehlp.dll", "imm32.dll",   "kernel32.dll", "msctf.dll",    "msvcrt.dll",
                                          "normaliz.dll", "nsi.dll",     "ole32.dll",    "oleaut32.dll", "psapi.dll",
                                          "rpcrt4.dll",   "sechost.dll", "setupapi.dll", "shell32.dll",  "shlwapi.dll",
                                          "user32.dll",   "wldap32.dll", "ws2_32.dll"};

}  // namespace

TEST(Executable, ImportsOnlyDllsTheLoaderTakesFromTheSystemFolder) {
    const PeImage image(drive_c::ReadBytes(e2e::ProgramPath()));
    ASSERT_TRUE(image.Headers());
    const std::set<std::string> imported = image.ImportedDlls();
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const std::string& dll : imported) {
        // comctl32 is bound by the program's manifest to the system's side-by-side copy.
        EXPECT_TRUE(kKnownDlls.count(dll) || dll == "comctl32.dll")
            << dll << " would be looked for beside the program first";
    }
}

TEST(Executable, ImportsNoFunctionWindows7Lacks) {
    const PeImage image(drive_c::ReadBytes(e2e::ProgramPath()));
    ASSERT_TRUE(image.Headers());
    const std::set<std::string> imported = image.ImportedFunctions();
    ASSERT_TRUE(imported.count("CreateWindowExA")) << "the import table was not read";
    for (const char* newer : {"GetDpiForWindow", "GetDpiForMonitor", "GetDpiForSystem", "AdjustWindowRectExForDpi",
                              "GetSystemMetricsForDpi", "SetProcessDpiAwarenessContext", "EnableNonClientDpiScaling"})
        EXPECT_FALSE(imported.count(newer)) << newer << " keeps the program from starting on Windows 7";
}

TEST(Executable, IsBuiltWithAslrAndDep) {
    const PeImage image(drive_c::ReadBytes(e2e::ProgramPath()));
    ASSERT_TRUE(image.Headers());
    const WORD flags = image.Headers()->OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
#ifdef _WIN64
    EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA);
#endif
    EXPECT_EQ(image.Headers()->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

#ifdef __MINGW32__
namespace {

// Runs the test helper smash_stack.exe with `arguments` and returns its exit code.
DWORD SmashStack(const std::string& arguments) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    std::string commandLine = "\"" + folder.substr(0, folder.find_last_of('\\')) + "\\smash_stack.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + commandLine);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

}  // namespace

TEST(Executable, AnOverrunStackEndsTheProgramAtOnceAndTheCanaryDiffersAtEveryStart) {
    EXPECT_EQ(SmashStack("seven"), 0u);
    EXPECT_EQ(SmashStack(std::string(64, 'x')), static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
    const DWORD first = SmashStack(""), second = SmashStack("");
    EXPECT_NE(first, second) << "the canary is not random";
    EXPECT_NE(first, 0u);
}
#endif
