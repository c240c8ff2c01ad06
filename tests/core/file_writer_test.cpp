#include "core/file_writer.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive_c.h"
#include "error_of.h"

namespace {

// A folder of this test program alone, not on the prefix's drive C.
const std::string kFolder = drive_c::ScratchFolder("file-writer");
const std::string kFile = kFolder + "\\config.sys";
const std::string kLink = kFolder + "\\config-link.sys";
const std::string kOld = "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40\r\n";
const std::string kNew(5000, 'x');

class FileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive_c::Remove(kFolder);
        drive_c::MakeFolder(kFolder);
    }
    void TearDown() override {
        for (const std::string& path : {kFile, kLink})
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        drive_c::Remove(kFolder);
    }
    static DWORD AttributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

    platform::Files& files_ = platform::RealFiles();
};

// The disk, except that the `failing`th step of a write fails as the system
// would fail it. Replace fails the worst way it is documented to: the old file
// already moved to the backup's name.
class FailingStep : public platform::Files {
public:
    explicit FailingStep(int failing) : failing_(failing) {}

    HANDLE OpenForReading(const std::string& path, DWORD& error) override { return real_.OpenForReading(path, error); }
    HANDLE CreateNew(const std::string& path, DWORD& error) override {
        return Fails(error) ? INVALID_HANDLE_VALUE : real_.CreateNew(path, error);
    }
    HANDLE OpenForRewriting(const std::string& path, DWORD& error) override {
        return Fails(error) ? INVALID_HANDLE_VALUE : real_.OpenForRewriting(path, error);
    }
    bool Read(HANDLE file, std::string& bytes) override { return real_.Read(file, bytes); }
    DWORD Write(HANDLE file, std::string_view bytes) override {
        DWORD error = ERROR_SUCCESS;
        if (!Fails(error))
            return real_.Write(file, bytes);
        real_.Write(file, bytes.substr(0, bytes.size() / 2));  // a full disk takes part of them
        return ERROR_HANDLE_DISK_FULL;
    }
    DWORD Truncate(HANDLE file) override {
        return Step([&] { return real_.Truncate(file); });
    }
    DWORD Flush(HANDLE file) override {
        return Step([&] { return real_.Flush(file); });
    }
    void Close(HANDLE file) override { real_.Close(file); }
    DWORD LinkCount(const std::string& path) override { return real_.LinkCount(path); }
    DWORD Replace(const std::string& target, const std::string& replacement, const std::string& backup) override {
        DWORD error = ERROR_SUCCESS;
        if (!Fails(error))
            return real_.Replace(target, replacement, backup);
        MoveFileA(target.c_str(), backup.c_str());
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    }
    DWORD Move(const std::string& source, const std::string& target) override {
        return Step([&] { return real_.Move(source, target); });
    }
    DWORD Delete(const std::string& path) override {
        return Step([&] { return real_.Delete(path); });
    }
    DWORD Attributes(const std::string& path) override { return real_.Attributes(path); }
    DWORD SetAttributes(const std::string& path, DWORD attributes) override {
        return Step([&] { return real_.SetAttributes(path, attributes); });
    }
    bool MakeDirectory(const std::string& path) override { return real_.MakeDirectory(path); }
    bool Random(void* buffer, size_t size) override {
        DWORD error = ERROR_SUCCESS;
        return !Fails(error) && real_.Random(buffer, size);
    }

    // Whether the write got as far as the failing step.
    bool Failed() const { return steps_ >= failing_; }

private:
    bool Fails(DWORD& error) {
        const bool fails = ++steps_ == failing_;
        error = fails ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
        return fails;
    }
    DWORD Step(const std::function<DWORD()>& step) {
        DWORD error = ERROR_SUCCESS;
        return Fails(error) ? error : step();
    }

    int failing_;
    int steps_ = 0;
    platform::Files& real_ = platform::RealFiles();
};

// Random numbers from a list, for names that are known beforehand.
class KnownRandom : public FailingStep {
public:
    explicit KnownRandom(std::vector<unsigned long long> numbers) : FailingStep(0), numbers_(std::move(numbers)) {}
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

TEST_F(FileWriterTest, WritesTheBytesWithNothingAddedAndLeavesNothingElse) {
    WriteFileText(files_, kFile, "no break at the end");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "no break at the end");
    WriteFileText(files_, kFile, "");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "");
    EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 1 + 2) << "only the file, '.' and '..'";
}

TEST_F(FileWriterTest, AFileKeepsItsAttributesAndGetsTheArchiveFlag) {
    drive_c::WriteBytes(kFile, kOld);
    SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(files_, kFile, "new");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    EXPECT_EQ(AttributesOf(kFile), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FileWriterTest, AReadOnlyFileIsRefusedUnlessOverwritingIsAllowedAndThenStaysReadOnly) {
    constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    drive_c::WriteBytes(kFile, kOld);
    SetFileAttributesA(kFile.c_str(), kProtected);
    EXPECT_TRUE(IsReadOnlyFile(files_, kFile));
    EXPECT_EQ(ErrorOf([&] { WriteFileText(files_, kFile, "new"); }),
              "Cannot create file " + kFile + ": it is read-only");
    EXPECT_EQ(drive_c::ReadBytes(kFile), kOld);

    WriteFileText(files_, kFile, "new", {.readOnly = ReadOnlyFile::Overwrite});
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    EXPECT_EQ(AttributesOf(kFile), kProtected | FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FileWriterTest, AFileWithTwoNamesShowsTheNewBytesUnderBoth) {
    drive_c::WriteBytes(kFile, kOld);
    ASSERT_TRUE(CreateHardLinkA(kLink.c_str(), kFile.c_str(), nullptr));
    WriteFileText(files_, kFile, "new");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    EXPECT_EQ(drive_c::ReadBytes(kLink), "new");
    EXPECT_EQ(files_.LinkCount(kFile), 2u);
    EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 2 + 2);
}

TEST_F(FileWriterTest, ANameTakenByALeftoverIsPassedOverAndTheLeftoverKept) {
    drive_c::WriteBytes(kFile, kOld);
    const std::string leftover = kFile + ".00000000000000aa.qortmp";
    drive_c::WriteBytes(leftover, "left by a crash");
    KnownRandom files({0xaa, 0xbb});
    WriteFileText(files, kFile, "new");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    EXPECT_EQ(drive_c::ReadBytes(leftover), "left by a crash");
    EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 2 + 2);
}

TEST_F(FileWriterTest, AFailureNamesTheFileItHappenedTo) {
    const std::string missing = kFolder + "\\no\\x.ini";
    const std::string message = ErrorOf([&] { WriteFileText(files_, missing, "x"); });
    EXPECT_EQ(message.rfind("Cannot create file " + missing + ".", 0), 0u) << message;
    EXPECT_NE(message.find(".qortmp: "), std::string::npos) << "the temporary file, and why: " << message;

    drive_c::MakeFolder(kFile);
    EXPECT_EQ(ErrorOf([&] { WriteFileText(files_, kFile, "x"); }),
              "Cannot create file " + kFile + ": a folder has that name");
}

// Every step of every way of writing fails in turn: the file either keeps its
// old bytes and attributes with no other file left beside it, or holds the
// new bytes and the message says what went wrong after; a file with two names
// written over in place keeps the new bytes at hand.
TEST_F(FileWriterTest, AFailureAtAnyStepLosesNeitherTheOldBytesNorTheNew) {
    enum class Kind { Existing, ReadOnly, New, Linked };
    for (Kind kind : {Kind::Existing, Kind::ReadOnly, Kind::New, Kind::Linked}) {
        const DWORD attributes =
            kind == Kind::ReadOnly ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_HIDDEN;
        const int names = kind == Kind::Linked ? 2 : 1;
        for (int step = 1;; ++step) {
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + ", step " + std::to_string(step));
            TearDown();
            SetUp();
            if (kind != Kind::New) {
                drive_c::WriteBytes(kFile, kOld);
                SetFileAttributesA(kFile.c_str(), attributes);
            }
            if (kind == Kind::Linked) {
                ASSERT_TRUE(CreateHardLinkA(kLink.c_str(), kFile.c_str(), nullptr));
            }
            FailingStep files(step);
            bool trouble = false;
            std::string message;
            try {
                WriteFileText(files, kFile, kNew, {.readOnly = ReadOnlyFile::Overwrite});
            } catch (const WrittenWithTrouble& error) {
                trouble = true;
                message = error.what();
            } catch (const AppError& error) {
                message = error.what();
            }
            if (!files.Failed()) {
                EXPECT_EQ(message, "");
                EXPECT_EQ(drive_c::ReadBytes(kFile), kNew);
                EXPECT_EQ(AttributesOf(kFile),
                          kind == Kind::New ? FILE_ATTRIBUTE_ARCHIVE : attributes | FILE_ATTRIBUTE_ARCHIVE);
                EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), names + 2);
                break;
            }
            ASSERT_NE(message, "") << "a failed step went unreported";
            if (trouble) {
                EXPECT_EQ(message.rfind(kFile + " was saved, but ", 0), 0u) << message;
                EXPECT_EQ(drive_c::ReadBytes(kFile), kNew);
            } else if (message.find("the new text is kept in ") != std::string::npos) {
                const std::string kept = message.substr(message.find(" kept in ") + 9);
                EXPECT_EQ(drive_c::ReadBytes(kept), kNew) << message;
            } else {
                // The target or its temporary file, whose name begins with the target's.
                const bool named = message.rfind("Cannot create file " + kFile, 0) == 0 ||
                                   message.rfind("Stream write error in " + kFile, 0) == 0;
                EXPECT_TRUE(named) << message;
                if (kind == Kind::New) {
                    EXPECT_FALSE(drive_c::Exists(kFile));
                } else {
                    EXPECT_EQ(drive_c::ReadBytes(kFile), kOld) << message;
                    EXPECT_EQ(AttributesOf(kFile) & ~FILE_ATTRIBUTE_ARCHIVE, attributes) << message;
                }
                EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), (kind == Kind::New ? 0 : names) + 2) << message;
            }
        }
    }
}
