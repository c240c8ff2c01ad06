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
HANDLE ScratchDrive::CreateNew(const std::string& path, const std::string& security, DWORD& error) {
    return real_.CreateNew(Path(path), security, error);
}
HANDLE ScratchDrive::OpenForRewriting(const std::string& path, DWORD& error) {
    return real_.OpenForRewriting(Path(path), error);
}
HANDLE ScratchDrive::OpenItself(const std::string& path, platform::OpenAs as, DWORD& error) {
    return real_.OpenItself(Path(path), as, error);
}
bool ScratchDrive::Describe(HANDLE file, platform::FileFacts& facts) { return real_.Describe(file, facts); }
bool ScratchDrive::Read(HANDLE file, std::string& bytes) { return real_.Read(file, bytes); }
bool ScratchDrive::ReadSome(HANDLE file, std::span<char> buffer, DWORD& got) {
    return real_.ReadSome(file, buffer, got);
}
DWORD ScratchDrive::Write(HANDLE file, std::string_view bytes) { return real_.Write(file, bytes); }
DWORD ScratchDrive::Truncate(HANDLE file) { return real_.Truncate(file); }
DWORD ScratchDrive::Flush(HANDLE file) { return real_.Flush(file); }
void ScratchDrive::Close(HANDLE file) { real_.Close(file); }
DWORD ScratchDrive::LinkCount(const std::string& path) { return real_.LinkCount(Path(path)); }
DWORD ScratchDrive::Replace(const std::string& target, const std::string& replacement, const std::string& backup) {
    return real_.Replace(Path(target), Path(replacement), Path(backup));
}
DWORD ScratchDrive::Move(const std::string& source, const std::string& target) {
    return real_.Move(Path(source), Path(target));
}
DWORD ScratchDrive::MoveOver(const std::string& source, const std::string& target) {
    return real_.MoveOver(Path(source), Path(target));
}
DWORD ScratchDrive::Delete(const std::string& path) { return real_.Delete(Path(path)); }
DWORD ScratchDrive::Attributes(const std::string& path) { return real_.Attributes(Path(path)); }
DWORD ScratchDrive::SetAttributes(const std::string& path, DWORD attributes) {
    return real_.SetAttributes(Path(path), attributes);
}
bool ScratchDrive::MakeDirectory(const std::string& path, const std::string& security) {
    return real_.MakeDirectory(Path(path), security);
}
bool ScratchDrive::Random(void* buffer, size_t size) { return real_.Random(buffer, size); }
