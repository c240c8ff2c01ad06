#pragma once
// A folder of this test program's own that stands in for drive C: the page
// under test keeps its "c:\..." paths, and this file layer puts them into the
// folder. Test programs that run at the same time then never share a file,
// and the files the program itself uses (c:\windows\win.ini, c:\qor) stay as
// they were.
#include <string>

#include "platform/files.h"

class ScratchDrive : public platform::Files {
public:
    // An empty folder of this process (drive_c::ScratchFolder).
    ScratchDrive();
    // Removes the folder with everything in it.
    ~ScratchDrive() override;
    ScratchDrive(const ScratchDrive&) = delete;
    ScratchDrive& operator=(const ScratchDrive&) = delete;

    // Where a path on drive C ("c:\qor\TB.txt", any case) lies in the folder;
    // other paths are left as they are.
    std::string Path(const std::string& path) const;

    HANDLE OpenForReading(const std::string& path, DWORD& error) override;
    HANDLE CreateNew(const std::string& path, const std::string& security, DWORD& error) override;
    HANDLE OpenForRewriting(const std::string& path, DWORD& error) override;
    HANDLE OpenItself(const std::string& path, platform::OpenAs as, DWORD& error) override;
    bool Describe(HANDLE file, platform::FileFacts& facts) override;
    bool Read(HANDLE file, std::string& bytes) override;
    bool ReadSome(HANDLE file, std::span<char> buffer, DWORD& got) override;
    DWORD Write(HANDLE file, std::string_view bytes) override;
    DWORD Truncate(HANDLE file) override;
    DWORD Flush(HANDLE file) override;
    void Close(HANDLE file) override;
    DWORD LinkCount(const std::string& path) override;
    DWORD Replace(const std::string& target, const std::string& replacement, const std::string& backup) override;
    DWORD Move(const std::string& source, const std::string& target) override;
    DWORD MoveOver(const std::string& source, const std::string& target) override;
    DWORD Delete(const std::string& path) override;
    DWORD Attributes(const std::string& path) override;
    DWORD SetAttributes(const std::string& path, DWORD attributes) override;
    bool MakeDirectory(const std::string& path, const std::string& security) override;
    bool Random(void* buffer, size_t size) override;

private:
    std::string root_;
    platform::Files& real_ = platform::RealFiles();
};
