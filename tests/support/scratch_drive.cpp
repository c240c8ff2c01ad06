#include "support/scratch_drive.h"

#include "support/drive_c.h"

ScratchDrive::ScratchDrive() : root_(drive_c::ScratchFolder("drive-c")) {
    drive_c::Remove(root_);
    drive_c::MakeFolder(root_);
}

ScratchDrive::~ScratchDrive() { drive_c::Remove(root_); }

std::string ScratchDrive::Path(const std::string& path) const {
    if (path.size() < 3 || (path[0] != 'c' && path[0] != 'C') || path[1] != ':' || path[2] != '\\')
        return path;
    return path.size() == 3 ? root_ : root_ + path.substr(2);  // the root itself without a trailing '\\'
}

HANDLE ScratchDrive::OpenForReading(const std::string& path, DWORD& error) {
    return real_.OpenForReading(Path(path), error);
}
HANDLE ScratchDrive::CreateNew(const std::string& path, DWORD attributes) {
    return real_.CreateNew(Path(path), attributes);
}
bool ScratchDrive::Read(HANDLE file, std::string& bytes) { return real_.Read(file, bytes); }
size_t ScratchDrive::Write(HANDLE file, const char* data, size_t size) { return real_.Write(file, data, size); }
bool ScratchDrive::Flush(HANDLE file) { return real_.Flush(file); }
void ScratchDrive::Close(HANDLE file) { real_.Close(file); }
bool ScratchDrive::Replace(const std::string& source, const std::string& target) {
    return real_.Replace(Path(source), Path(target));
}
void ScratchDrive::Delete(const std::string& path) { real_.Delete(Path(path)); }
DWORD ScratchDrive::Attributes(const std::string& path) { return real_.Attributes(Path(path)); }
bool ScratchDrive::SetAttributes(const std::string& path, DWORD attributes) {
    return real_.SetAttributes(Path(path), attributes);
}
bool ScratchDrive::MakeDirectory(const std::string& path) { return real_.MakeDirectory(Path(path)); }
