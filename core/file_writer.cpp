#include "core/file_writer.h"

#include <cstdint>
#include <cstdio>

#include "core/text_file.h"
#include "platform/timing.h"

namespace {

// The attributes SetFileAttributes takes.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                            FILE_ATTRIBUTE_TEMPORARY;
// Random names tried for the temporary file before giving up.
constexpr int kNameTries = 16;
// Another program may hold the file for a moment (a virus scanner, an
// indexer, a reader): the file is replaced after these pauses, in
// milliseconds, before the save gives up.
constexpr DWORD kHeldPauses[] = {10, 20, 40, 80, 160, 320};

AppError CannotCreate(const std::string& path, const std::string& reason) {
    return AppError("Cannot create file " + path + ": " + reason);
}
AppError CannotCreate(const std::string& path, DWORD error) { return CannotCreate(path, FailureReason(error)); }
AppError StreamWriteError(const std::string& path, DWORD error) {
    return AppError("Stream write error in " + path + ": " + FailureReason(error));
}

// The new bytes in a file of their own beside the target, removed again
// unless they took the target's place or must be kept.
class Temporary {
public:
    // "<path>.<random>.qortmp"; a name already taken, such as one left by a
    // crash, is passed over for another.
    Temporary(platform::Files& files, const std::string& path, const std::string& security)
        : files_(files), file_(files, CreateUnderRandomName(path, security)) {}
    ~Temporary() {
        file_.Close();
        if (!kept_)
            files_.Delete(Name());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    std::string Name() const { return base_ + ".qortmp"; }
    // Another name of the same random part, which no other file has.
    std::string Sibling(const char* extension) const { return base_ + "." + extension; }

    // All of `bytes`, on the disk.
    void Fill(std::string_view bytes) {
        DWORD error = files_.Write(file_.Get(), bytes);
        if (error == ERROR_SUCCESS)
            error = files_.Flush(file_.Get());
        file_.Close();
        if (error != ERROR_SUCCESS)
            throw StreamWriteError(Name(), error);
    }
    // The file now has another name, or holds what must not be lost.
    void Keep() { kept_ = true; }

private:
    HANDLE CreateUnderRandomName(const std::string& path, const std::string& security) {
        for (int attempt = 1;; ++attempt) {
            std::uint64_t random = 0;
            if (!files_.Random(&random, sizeof(random)))
                throw CannotCreate(path, "the system gave no random number for its temporary file");
            char hex[17];
            std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(random));
            base_ = path + "." + hex;
            DWORD error = ERROR_SUCCESS;
            HANDLE file = files_.CreateNew(Name(), security, error);
            if (file != INVALID_HANDLE_VALUE)
                return file;
            const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
            if (!taken || attempt == kNameTries)
                throw CannotCreate(Name(), error);
        }
    }

    platform::Files& files_;
    std::string base_;
    platform::FileHandle file_;
    bool kept_ = false;
};

bool Exists(platform::Files& files, const std::string& path) {
    return files.Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

// A read-only file can be neither replaced nor opened for writing: the flag
// comes off while it is written and goes back on by SetAttributes.
void LiftReadOnly(platform::Files& files, const std::string& path, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_READONLY))
        return;
    const DWORD error = files.SetAttributes(path, (attributes & kSettable & ~FILE_ATTRIBUTE_READONLY));
    if (error != ERROR_SUCCESS)
        throw CannotCreate(path, error);
}

void PutBackAttributes(platform::Files& files, const std::string& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY)
        files.SetAttributes(path, attributes & kSettable);
}

// The temporary file takes the name: a new file, or one that replaces the
// old whole (`over`).
void PlaceTemporary(platform::Files& files, Temporary& temporary, const std::string& path, bool over) {
    const DWORD error = over ? files.MoveOver(temporary.Name(), path) : files.Move(temporary.Name(), path);
    if (error != ERROR_SUCCESS)
        throw CannotCreate(path, error);
    temporary.Keep();
}

// Whether `error` of a replacement is another program holding the file
// open; both files then keep their own names.
bool HeldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

DWORD ReplaceOnceFree(platform::Files& files, const std::string& path, const Temporary& temporary,
                      const std::string& backup) {
    DWORD error = files.Replace(path, temporary.Name(), backup);
    for (DWORD pause : kHeldPauses) {
        if (!HeldByAnother(error))
            break;
        platform::RealTiming().Sleep(pause);
        error = files.Replace(path, temporary.Name(), backup);
    }
    return error;
}

// Replaces the file by the temporary one; the old file passes through a
// backup beside it on the way. Returns the backup's name: it is the copy left to remove.
std::string ReplaceExisting(platform::Files& files, Temporary& temporary, const std::string& path, DWORD attributes) {
    LiftReadOnly(files, path, attributes);
    const std::string backup = temporary.Sibling("qorold");
    const DWORD error = ReplaceOnceFree(files, path, temporary, backup);
    if (error == ERROR_SUCCESS) {
        temporary.Keep();
        return backup;
    }
    // ERROR_UNABLE_TO_REMOVE_REPLACED and ERROR_UNABLE_TO_MOVE_REPLACEMENT
    // leave both files under their own names; ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
    // leaves the old file under the backup's name only: it gets its own back.
    if (!Exists(files, path) && Exists(files, backup)) {
        const DWORD putBack = files.Move(backup, path);
        if (putBack != ERROR_SUCCESS) {
            temporary.Keep();
            throw CannotCreate(path, FailureReason(error) + "; its old text is in " + backup + " and the new text in " +
                                         temporary.Name());
        }
    }
    PutBackAttributes(files, path, attributes);
    throw CannotCreate(path, error);
}

// Writes all of `bytes` over the open file, once the temporary copy is on
// disk; on failure that copy is kept with the whole new text. Returns the
// temporary file's name: it is the copy left to remove.
std::string WriteOver(platform::Files& files, platform::FileHandle& file, Temporary& temporary, const std::string& path,
                      std::string_view bytes, DWORD attributes) {
    DWORD error = files.Write(file.Get(), bytes);
    if (error == ERROR_SUCCESS)
        error = files.Truncate(file.Get());
    if (error == ERROR_SUCCESS)
        error = files.Flush(file.Get());
    file.Close();
    temporary.Keep();
    if (error == ERROR_SUCCESS)
        return temporary.Name();
    // The file may hold part of the bytes now: all of them stay at hand.
    PutBackAttributes(files, path, attributes);
    throw AppError("Stream write error in " + path + ": " + FailureReason(error) + "; the new text is kept in " +
                   temporary.Name());
}

// Writes the file over in place, once the temporary copy is on disk.
std::string RewriteInPlace(platform::Files& files, Temporary& temporary, const std::string& path,
                           std::string_view bytes, DWORD attributes) {
    LiftReadOnly(files, path, attributes);
    DWORD error = ERROR_SUCCESS;
    platform::FileHandle file(files, files.OpenForRewriting(path, error));
    if (!file.IsOpen()) {
        PutBackAttributes(files, path, attributes);
        throw CannotCreate(path, error);
    }
    return WriteOver(files, file, temporary, path, bytes, attributes);
}

// Writes the file over in place through one handle to the file itself, once
// it is known to be neither a link nor a file of several names: whatever is
// put at the path meanwhile, the bytes land in no other file. Its attributes
// are left as they are, so nothing is done by its name.
std::string RewriteItself(platform::Files& files, Temporary& temporary, const std::string& path,
                          std::string_view bytes) {
    DWORD error = ERROR_SUCCESS;
    platform::FileHandle file(files, files.OpenItself(path, platform::OpenAs::Rewriter, error));
    if (!file.IsOpen())
        throw CannotCreate(path, error);
    platform::FileFacts facts;
    if (!files.Describe(file.Get(), facts))
        throw CannotCreate(path, kUnknownKind);
    if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        throw CannotCreate(path, kLinkRefused);
    if (facts.links > 1)
        throw CannotCreate(path, "it has more than one name");
    return WriteOver(files, file, temporary, path, bytes, 0);  // it was writable: no read-only flag to put back
}

// Sets the file's attributes as they were, with the archive flag of a changed
// file; what went wrong, if anything.
std::string RestoreAttributes(platform::Files& files, const std::string& path, DWORD attributes) {
    const DWORD error = files.SetAttributes(path, (attributes & kSettable) | FILE_ATTRIBUTE_ARCHIVE);
    return error == ERROR_SUCCESS ? "" : "its attributes could not be set back: " + FailureReason(error);
}

// Removes the copy the write left beside the file; what went wrong, if anything.
std::string RemoveCopy(platform::Files& files, const std::string& copy) {
    const DWORD error = files.Delete(copy);
    return error == ERROR_SUCCESS ? "" : "its copy " + copy + " could not be removed: " + FailureReason(error);
}

// Reports what went wrong once the file held the new bytes.
void Finish(const std::string& path, std::string trouble, const std::string& more) {
    if (!more.empty())
        trouble += (trouble.empty() ? "" : "; and ") + more;
    if (!trouble.empty())
        throw WrittenWithTrouble(path + " was saved, but " + trouble);
}

}  // namespace

bool IsReadOnlyFile(platform::Files& files, const std::string& path) {
    const DWORD attributes = files.Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

void WriteFileText(platform::Files& files, const std::string& path, std::string_view bytes,
                   const WriteOptions& options) {
    const DWORD attributes = files.Attributes(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw CannotCreate(path, "a folder has that name");
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) && options.readOnly == ReadOnlyFile::Refuse)
        throw CannotCreate(path, "it is read-only");

    Temporary temporary(files, path, options.security);
    temporary.Fill(bytes);
    if (!exists || !options.security.empty())
        return PlaceTemporary(files, temporary, path, exists);
    if (options.inHeldFolder)
        return Finish(path, "", RemoveCopy(files, RewriteItself(files, temporary, path, bytes)));
    const std::string copy = files.LinkCount(path) > 1 ? RewriteInPlace(files, temporary, path, bytes, attributes)
                                                       : ReplaceExisting(files, temporary, path, attributes);
    const std::string trouble = RestoreAttributes(files, path, attributes);
    Finish(path, trouble, RemoveCopy(files, copy));
}
