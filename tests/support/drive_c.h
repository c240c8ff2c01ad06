#pragma once
// Drive C of the test prefix, or a scratch folder: put files into the state a
// test needs and read what the program left there.
#include <string>

namespace drive_c {

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; throws when it cannot be read.
std::string ReadBytes(const std::string& path);
// Whether the file can be read now and begins with `prefix`; a file the program
// is replacing at that moment reads as not yet, so polls can wait on it.
bool BeginsWith(const std::string& path, const std::string& prefix);
bool Exists(const std::string& path);
// Removes a file, or a folder with everything in it; absent is fine.
void Remove(const std::string& path);
void MakeFolder(const std::string& path);
// Dates the file's last write back to 2001, so that a later write shows.
void BackDate(const std::string& path);
// Whether the file was written after BackDate.
bool WrittenSinceBackDated(const std::string& path);
// Files in `folder` whose names match `pattern` ("*.tmp").
int CountMatching(const std::string& folder, const std::string& pattern);
// A folder path of this process alone, "<temporary folder>\qortest-<process id>-<name>",
// so that test programs running at the same time never share files. Not created.
std::string ScratchFolder(const std::string& name);

}  // namespace drive_c
