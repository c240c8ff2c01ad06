#include "core/file_writer.h"

#include <vector>

#include <gtest/gtest.h>

#include "support/drive_c.h"
#include "support/linked_drive.h"
#include "support/scratch_drive.h"
#include "support/error_of.h"

namespace {

// Paths on the scratch drive C of each test.
const std::string kFile = "c:\\config.sys";
const std::string kLink = "c:\\config-link.sys";
const std::string kOld = "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40\r\n";
const std::string kNew(5000, 'x');

DWORD AttributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The disk, except that the `failing`th step of a write fails as the system
// would fail it.
class FailingStep : public ScratchDrive {
public:
    explicit FailingStep(int failing) : failing_(failing) {}

    HANDLE CreateNew(const std::string& path, const std::string& security, DWORD& error) override {
        return Fails(error) ? INVALID_HANDLE_VALUE : ScratchDrive::CreateNew(path, security, error);
    }
    HANDLE OpenForRewriting(const std::string& path, DWORD& error) override {
        return Fails(error) ? INVALID_HANDLE_VALUE : ScratchDrive::OpenForRewriting(path, error);
    }
    DWORD Write(HANDLE file, std::string_view bytes) override {
        if (!Fails())
            return ScratchDrive::Write(file, bytes);
        ScratchDrive::Write(file, bytes.substr(0, bytes.size() / 2));  // a full disk takes part of them
        return ERROR_HANDLE_DISK_FULL;
    }
    DWORD Truncate(HANDLE file) override { return Fails() ? kDenied : ScratchDrive::Truncate(file); }
    DWORD Flush(HANDLE file) override { return Fails() ? kDenied : ScratchDrive::Flush(file); }
    DWORD Replace(const std::string& target, const std::string& replacement, const std::string& backup) override {
        if (!Fails())
            return ScratchDrive::Replace(target, replacement, backup);
        // The worst way it is documented to fail: the old file already moved to the backup's name.
        MoveFileA(target.c_str(), backup.c_str());
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    }
    DWORD Move(const std::string& from, const std::string& to) override {
        return Fails() ? kDenied : ScratchDrive::Move(from, to);
    }
    DWORD Delete(const std::string& path) override { return Fails() ? kDenied : ScratchDrive::Delete(path); }
    DWORD SetAttributes(const std::string& path, DWORD attributes) override {
        return Fails() ? kDenied : ScratchDrive::SetAttributes(path, attributes);
    }
    bool Random(void* buffer, size_t size) override { return !Fails() && ScratchDrive::Random(buffer, size); }

    // Whether the write got as far as the failing step.
    bool Failed() const { return steps_ >= failing_; }

private:
    static constexpr DWORD kDenied = ERROR_ACCESS_DENIED;
    bool Fails() { return ++steps_ == failing_; }
    bool Fails(DWORD& error) {
        error = Fails() ? kDenied : ERROR_SUCCESS;
        return error != ERROR_SUCCESS;
    }

    int failing_;
    int steps_ = 0;
};

// The disk, except that another program holds the file open for the first
// `held` replacements.
class HeldFile : public ScratchDrive {
public:
    explicit HeldFile(int held) : held_(held) {}
    DWORD Replace(const std::string& target, const std::string& replacement, const std::string& backup) override {
        ++tries;
        return tries <= held_ ? ERROR_SHARING_VIOLATION : ScratchDrive::Replace(target, replacement, backup);
    }
    int tries = 0;

private:
    int held_;
};

// Random numbers from a list, for names that are known beforehand.
class KnownRandom : public ScratchDrive {
public:
    explicit KnownRandom(std::vector<unsigned long long> numbers) : numbers_(std::move(numbers)) {}
    bool Random(void* buffer, size_t size) override {
        if (numbers_.empty() || size != sizeof(numbers_[0]))
            return false;
        memcpy(buffer, &numbers_.front(), size);
        numbers_.erase(numbers_.begin());
        return true;
    }

private:
    std::vector<unsigned long long> numbers_;
};

}  // namespace

TEST(FileWriter, WritesTheBytesWithNothingAddedAndLeavesNothingElse) {
    ScratchDrive drive;
    WriteFileText(drive, kFile, "no break at the end");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "no break at the end");
    WriteFileText(drive, kFile, "");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "");
    EXPECT_EQ(drive_c::CountMatching(drive.Path("c:\\"), "*"), 1 + 2) << "only the file, '.' and '..'";
}

TEST(FileWriter, AFileKeepsItsAttributesAndGetsTheArchiveFlag) {
    ScratchDrive drive;
    drive_c::WriteBytes(drive.Path(kFile), kOld);
    SetFileAttributesA(drive.Path(kFile).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(drive, kFile, "new");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "new");
    EXPECT_EQ(AttributesOf(drive.Path(kFile)), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

TEST(FileWriter, AReadOnlyFileIsRefusedUnlessOverwritingIsAllowedAndThenStaysReadOnly) {
    constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ScratchDrive drive;
    drive_c::WriteBytes(drive.Path(kFile), kOld);
    SetFileAttributesA(drive.Path(kFile).c_str(), kProtected);
    EXPECT_TRUE(IsReadOnlyFile(drive, kFile));
    EXPECT_EQ(ErrorOf([&] { WriteFileText(drive, kFile, "new"); }),
              "Cannot create file c:\\config.sys: it is read-only");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), kOld);

    WriteFileText(drive, kFile, "new", {.readOnly = ReadOnlyFile::Overwrite});
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "new");
    EXPECT_EQ(AttributesOf(drive.Path(kFile)), kProtected | FILE_ATTRIBUTE_ARCHIVE);
}

TEST(FileWriter, ANameTakenByALeftoverIsPassedOverAndTheLeftoverKept) {
    KnownRandom drive({0xaa, 0xbb});
    drive_c::WriteBytes(drive.Path(kFile), kOld);
    const std::string leftover = drive.Path(kFile + ".00000000000000aa.qortmp");
    drive_c::WriteBytes(leftover, "left by a crash");
    WriteFileText(drive, kFile, "new");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "new");
    EXPECT_EQ(drive_c::ReadBytes(leftover), "left by a crash");
    EXPECT_EQ(drive_c::CountMatching(drive.Path("c:\\"), "*"), 2 + 2);
}

TEST(FileWriter, AFailureNamesTheFileItHappenedTo) {
    ScratchDrive drive;
    const std::string message = ErrorOf([&] { WriteFileText(drive, "c:\\no\\x.ini", "x"); });
    EXPECT_EQ(message.rfind("Cannot create file c:\\no\\x.ini.", 0), 0u) << message;
    EXPECT_NE(message.find(".qortmp: "), std::string::npos) << "the temporary file, and why: " << message;

    drive_c::MakeFolder(drive.Path(kFile));
    EXPECT_EQ(ErrorOf([&] { WriteFileText(drive, kFile, "x"); }),
              "Cannot create file c:\\config.sys: a folder has that name");
}

TEST(FileWriter, AFileHeldForAMomentIsReplacedOnceFreeAndOneHeldOnIsLeftAsItWas) {
    HeldFile drive(3);
    drive_c::WriteBytes(drive.Path(kFile), kOld);
    WriteFileText(drive, kFile, kNew);
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), kNew);
    EXPECT_EQ(drive.tries, 4);
    EXPECT_EQ(drive_c::CountMatching(drive.Path("c:\\"), "*"), 1 + 2);

    // A reader that lets others read and write, but not rename or remove.
    HANDLE reader = CreateFileA(drive.Path(kFile).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const std::string message = ErrorOf([&] { WriteFileText(drive, kFile, "new"); });
    CloseHandle(reader);
    EXPECT_EQ(drive.tries, 4 + 7) << "tried at once and after each of six pauses";
    EXPECT_EQ(message.rfind("Cannot create file c:\\config.sys: ", 0), 0u) << message;
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), kNew);
    EXPECT_EQ(drive_c::CountMatching(drive.Path("c:\\"), "*"), 1 + 2);
}

// Every step of every way of writing fails in turn: the file either keeps its
// old bytes and attributes with no other file left beside it, or holds the
// new bytes and the message says what went wrong after; a file written over
// in place (two names, or in a held folder) keeps the new bytes at hand. A
// file given its own security is new as a whole.
TEST(FileWriter, AFailureAtAnyStepLosesNeitherTheOldBytesNorTheNew) {
    enum class Kind { Existing, ReadOnly, New, Linked, Held, Secured };
    for (Kind kind : {Kind::Existing, Kind::ReadOnly, Kind::New, Kind::Linked, Kind::Held, Kind::Secured}) {
        const DWORD attributes =
            kind == Kind::ReadOnly ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_HIDDEN;
        const int names = kind == Kind::Linked ? 2 : 1;
        for (int step = 1;; ++step) {
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + ", step " + std::to_string(step));
            FailingStep drive(step);
            const std::string file = drive.Path(kFile), folder = drive.Path("c:\\");
            if (kind != Kind::New) {
                drive_c::WriteBytes(file, kOld);
                SetFileAttributesA(file.c_str(), attributes);
            }
            if (kind == Kind::Linked) {
                ASSERT_TRUE(CreateHardLinkA(drive.Path(kLink).c_str(), file.c_str(), nullptr));
            }
            bool trouble = false;
            std::string message;
            try {
                WriteFileText(drive, kFile, kNew,
                              {.readOnly = ReadOnlyFile::Overwrite,
                               .inHeldFolder = kind == Kind::Held,
                               .security = kind == Kind::Secured ? "D:P(A;;FA;;;BA)(A;;FR;;;BU)" : ""});
            } catch (const WrittenWithTrouble& error) {
                trouble = true;
                message = error.what();
            } catch (const AppError& error) {
                message = error.what();
            }
            if (!drive.Failed()) {
                EXPECT_EQ(message, "");
                EXPECT_EQ(drive_c::ReadBytes(file), kNew);
                const bool whole = kind == Kind::New || kind == Kind::Secured;
                EXPECT_EQ(AttributesOf(file), whole ? FILE_ATTRIBUTE_ARCHIVE : attributes | FILE_ATTRIBUTE_ARCHIVE);
                EXPECT_EQ(drive_c::CountMatching(folder, "*"), names + 2);
                break;
            }
            ASSERT_NE(message, "") << "a failed step went unreported";
            if (trouble) {
                EXPECT_EQ(message.rfind("c:\\config.sys was saved, but ", 0), 0u) << message;
                EXPECT_EQ(drive_c::ReadBytes(file), kNew);
            } else if (message.find("the new text is kept in ") != std::string::npos) {
                const std::string kept = message.substr(message.find(" kept in ") + 9);
                EXPECT_EQ(drive_c::ReadBytes(drive.Path(kept)), kNew) << message;
            } else {
                // The target or its temporary file, whose name begins with the target's.
                const bool named = message.rfind("Cannot create file c:\\config.sys", 0) == 0 ||
                                   message.rfind("Stream write error in c:\\config.sys", 0) == 0;
                EXPECT_TRUE(named) << message;
                if (kind == Kind::New) {
                    EXPECT_FALSE(drive_c::Exists(file));
                } else {
                    EXPECT_EQ(drive_c::ReadBytes(file), kOld) << message;
                    EXPECT_EQ(AttributesOf(file) & ~FILE_ATTRIBUTE_ARCHIVE, attributes) << message;
                }
                EXPECT_EQ(drive_c::CountMatching(folder, "*"), (kind == Kind::New ? 0 : names) + 2) << message;
            }
        }
    }
}

TEST(FileWriter, InAHeldFolderTheFileItselfIsWrittenNeverALinkOrAFileOfTwoNames) {
    const WriteOptions held{.inHeldFolder = true};
    LinkedDrive drive;
    drive.links = false;
    WriteFileText(drive, kFile, "show", held);
    WriteFileText(drive, kFile, "hide", held);
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "hide");

    drive.links = true;
    EXPECT_EQ(ErrorOf([&] { WriteFileText(drive, kFile, "show", held); }),
              "Cannot create file c:\\config.sys: it is a link to another place");
    drive.links = false;
    ASSERT_TRUE(CreateHardLinkA(drive.Path(kLink).c_str(), drive.Path(kFile).c_str(), nullptr));
    EXPECT_EQ(ErrorOf([&] { WriteFileText(drive, kFile, "show", held); }),
              "Cannot create file c:\\config.sys: it has more than one name");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kLink)), "hide");
    EXPECT_EQ(drive_c::CountMatching(drive.Path("c:\\"), "*"), 2 + 2) << "the two names and nothing else";
}

TEST(FileWriter, AFileGivenItsOwnSecurityReplacesItsNameOnlyAndAFileLinkedToItKeepsItsBytes) {
    ScratchDrive drive;
    drive_c::WriteBytes(drive.Path(kFile), kOld);
    ASSERT_TRUE(CreateHardLinkA(drive.Path(kLink).c_str(), drive.Path(kFile).c_str(), nullptr));
    WriteFileText(drive, kFile, "new", {.security = "D:P(A;;FA;;;BA)(A;;FR;;;BU)"});
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kFile)), "new");
    EXPECT_EQ(drive_c::ReadBytes(drive.Path(kLink)), kOld);
    EXPECT_EQ(drive_c::CountMatching(drive.Path("c:\\"), "*"), 2 + 2);
}
