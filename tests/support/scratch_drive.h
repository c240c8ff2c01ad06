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
    HANDLE CreateNew(const std::string& path, DWORD attributes) override;
    bool Read(HANDLE file, std::string& bytes) override;
    size_t Write(HANDLE file, const char* data, size_t size) override;
    bool Flush(HANDLE file) override;
    void Close(HANDLE file) override;
    bool Replace(const std::string& source, const std::string& target) override;
    void Delete(const std::string& path) override;
    DWORD Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, DWORD attributes) override;
    bool MakeDirectory(const std::string& path) override;

private:
    std::string root_;
    platform::Files& real_ = platform::RealFiles();
};
