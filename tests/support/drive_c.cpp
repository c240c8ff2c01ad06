#include "support/drive_c.h"

#include <windows.h>

#include <stdexcept>

namespace drive_c {

void WriteBytes(const std::string& path, const std::string& bytes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        throw std::runtime_error("short write to " + path);
}

std::string ReadBytes(const std::string& path) {
    // Sharing all: a test polling the file never holds up the program's replacing it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + path);
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    const BOOL ok = bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    if (!ok)
        throw std::runtime_error("cannot read " + path);
    bytes.resize(got);
    return bytes;
}

bool BeginsWith(const std::string& path, const std::string& prefix) {
    try {
        return ReadBytes(path).rfind(prefix, 0) == 0;
    } catch (const std::runtime_error&) {
        return false;
    }
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Remove(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..")
                Remove(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void MakeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

namespace {

const SYSTEMTIME kBackDated{2001, 1, 1, 1, 0, 0, 0, 0};

// Opens the file for its times, also while the program holds it open.
HANDLE OpenTimes(const std::string& path, DWORD access) {
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path);
    return file;
}

}  // namespace

void BackDate(const std::string& path) {
    FILETIME time{};
    SystemTimeToFileTime(&kBackDated, &time);
    HANDLE file = OpenTimes(path, FILE_WRITE_ATTRIBUTES);
    const BOOL set = SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    if (!set)
        throw std::runtime_error("cannot date " + path);
}

bool WrittenSinceBackDated(const std::string& path) {
    FILETIME backDated{}, written{};
    SystemTimeToFileTime(&kBackDated, &backDated);
    HANDLE file = OpenTimes(path, FILE_READ_ATTRIBUTES);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return CompareFileTime(&written, &backDated) > 0;
}

int CountMatching(const std::string& folder, const std::string& pattern) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

std::string ScratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "qortest-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

}  // namespace drive_c
