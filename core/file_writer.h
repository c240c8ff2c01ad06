#pragma once
// The program's one way of writing a file: system files, backups, state
// files, the policy file and the report.
#include <string>
#include <string_view>

#include "core/app_error.h"
#include "platform/files.h"

enum class ReadOnlyFile { Refuse, Overwrite };

// How a write goes about its file; what a caller may ask beyond the defaults.
struct WriteOptions {
    // Whether a read-only file may be written over; it stays read-only.
    ReadOnlyFile readOnly = ReadOnlyFile::Refuse;
    // The file lies in a folder where other users may add and write files,
    // and which the caller holds open so that the folder itself cannot be
    // swapped. An existing file is then written over in place through one
    // handle to the file itself, refused when it is a link or has another
    // name, so that nobody can point the write at a file of their choosing.
    bool inHeldFolder = false;
    // The file's security in the system's descriptor language (SDDL), given
    // instead of keeping the old file's. The file is then replaced whole; a
    // link at its name is replaced, never followed.
    std::string security;
};

// The file holds the new bytes, but a step after writing them failed: the
// message says which.
class WrittenWithTrouble : public AppError {
public:
    using AppError::AppError;
};

// Writes `bytes`, and nothing else, as the file at `path`.
//
// The bytes go to a temporary file beside it first, named with a random part,
// and only once all of them are on disk is the file touched, so a failure
// leaves it as it was. An existing file is replaced keeping its security,
// streams and attributes, and gets the archive flag as any change gives it; a
// file with more than one name (hard links) is written over in place once
// the temporary copy is on disk, so that every name shows the new bytes. A
// new file is the temporary one renamed.
//
// Throws "Cannot create file %s" or "Stream write error in %s" with the file
// the step failed on and why, and WrittenWithTrouble.
void WriteFileText(platform::Files& files, const std::string& path, std::string_view bytes,
                   const WriteOptions& options = {});
bool IsReadOnlyFile(platform::Files& files, const std::string& path);
