#pragma once
// Drive C of the test prefix: put files into the state a test needs and read
// what the program left there.
#include <string>

namespace drive_c {

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; throws when it cannot be read.
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// Removes a file, or a folder with everything in it; absent is fine.
void Remove(const std::string& path);
void MakeFolder(const std::string& path);
// Files in `folder` whose names match `pattern` ("*.tmp").
int CountMatching(const std::string& folder, const std::string& pattern);

}  // namespace drive_c
