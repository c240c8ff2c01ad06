#include "ui/text_file.h"

#include <functional>

#include <gtest/gtest.h>

#include "ui/app_error.h"
#include "ui/controls.h"
#include "support/drive_c.h"
#include "support/scratch_window.h"

namespace {

// A folder of this test program alone, not on the prefix's drive C.
const std::string kFolder = drive_c::ScratchFolder("text-files");
const std::string kFile = kFolder + "\\config.sys";

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive_c::Remove(kFolder);
        drive_c::MakeFolder(kFolder);
    }
    void TearDown() override { drive_c::Remove(kFolder); }

public:
    static std::string ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const AppError& error) {
            return error.what();
        }
        return "no error";
    }

    platform::Files& files_ = platform::RealFiles();
};

// Fails the one step of a save it is told to, passing every other to the disk.
class FailingFiles : public platform::Files {
public:
    enum class Step { None, Create, Write, Flush, Replace };
    explicit FailingFiles(Step failing) : failing_(failing) {}

    HANDLE OpenForReading(const std::string& path, DWORD& error) override { return real_.OpenForReading(path, error); }
    HANDLE CreateNew(const std::string& path, DWORD attributes) override {
        return failing_ == Step::Create ? INVALID_HANDLE_VALUE : real_.CreateNew(path, attributes);
    }
    bool Read(HANDLE file, std::string& bytes) override { return real_.Read(file, bytes); }
    size_t Write(HANDLE file, const char* data, size_t size) override {
        // A full disk takes part of the text.
        return failing_ == Step::Write ? real_.Write(file, data, size / 2) : real_.Write(file, data, size);
    }
    bool Flush(HANDLE file) override { return failing_ != Step::Flush && real_.Flush(file); }
    void Close(HANDLE file) override { real_.Close(file); }
    bool Replace(const std::string& source, const std::string& target) override {
        return failing_ != Step::Replace && real_.Replace(source, target);
    }
    void Delete(const std::string& path) override { real_.Delete(path); }
    DWORD Attributes(const std::string& path) override { return real_.Attributes(path); }
    bool SetAttributes(const std::string& path, DWORD attributes) override {
        return real_.SetAttributes(path, attributes);
    }
    bool MakeDirectory(const std::string& path) override { return real_.MakeDirectory(path); }

private:
    Step failing_;
    platform::Files& real_ = platform::RealFiles();
};

}  // namespace

TEST(EditorTextFromBytes, MakesEveryLineBreakOneCrLf) {
    EXPECT_EQ(EditorTextFromBytes("a\nb"), "a\r\nb");
    EXPECT_EQ(EditorTextFromBytes("a\rb"), "a\r\nb");
    EXPECT_EQ(EditorTextFromBytes("a\r\nb"), "a\r\nb");
    EXPECT_EQ(EditorTextFromBytes("a\n\rb"), "a\r\n\r\nb");
    EXPECT_EQ(EditorTextFromBytes("a\r\r\nb"), "a\r\n\r\nb");
    EXPECT_EQ(EditorTextFromBytes("\n\n"), "\r\n\r\n");
    EXPECT_EQ(EditorTextFromBytes("end\r"), "end\r\n");
    EXPECT_EQ(EditorTextFromBytes("end\r\n"), "end\r\n");
}

TEST(EditorTextFromBytes, AddsAndRemovesNothingElse) {
    EXPECT_EQ(EditorTextFromBytes("show"), "show");
    EXPECT_EQ(EditorTextFromBytes(""), "");
    EXPECT_EQ(EditorTextFromBytes("\xE9t\xE9 \t [x]"), "\xE9t\xE9 \t [x]");
}

TEST(EditorTextFromBytes, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(EditorTextFromBytes(std::string("ab\0cd\ne", 7)), "ab");
    EXPECT_EQ(EditorTextFromBytes(std::string("\0x", 2)), "");
    EXPECT_EQ(EditorTextFromBytes(std::string("l1\nl2\0", 6)), "l1\r\nl2");
}

TEST_F(TextFileTest, LoadGivesAFourByteFileExactly) {
    drive_c::WriteBytes(kFile, "show");
    EXPECT_EQ(LoadText(files_, kFile), "show");
}

TEST_F(TextFileTest, LoadOfLineFeedsAndSaveWritesCrLf) {
    drive_c::WriteBytes(kFile, "[boot]\nshell=explorer.exe\n");
    const std::string text = LoadText(files_, kFile);
    EXPECT_EQ(text, "[boot]\r\nshell=explorer.exe\r\n");
    WriteFileText(files_, kFile, text);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "[boot]\r\nshell=explorer.exe\r\n");
}

TEST_F(TextFileTest, AMissingFileAndAHeldOneFailWithTheirReasons) {
    const std::string none = kFolder + "\\none.ini";
    EXPECT_EQ(ErrorOf([&] { LoadText(files_, none); }), "Cannot open file " + none);
    try {
        LoadText(files_, none);
    } catch (const LoadError& error) {
        EXPECT_TRUE(error.FileMissing());
    }

    drive_c::WriteBytes(kFile, "x");
    HANDLE writer = CreateFileA(kFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { LoadText(files_, kFile); }), "Cannot open file " + kFile + ": another program is using it");
    CloseHandle(writer);
}

TEST_F(TextFileTest, AnEightMegabyteFileFitsAnEditor) {
    std::string big;
    while (big.size() < 8 * 1024 * 1024)
        big += "device=c:\\windows\\himem.sys ; some configuration line\r\n";
    drive_c::WriteBytes(kFile, big);
    ScratchWindow window;
    ui::Memo editor;
    editor.Create({.parent = window.Handle(), .bounds = {0, 0, 790, 393}}, ui::Dpi());
    editor.SetText(LoadText(files_, kFile));
    EXPECT_EQ(editor.Text().size(), big.size());
}

TEST_F(TextFileTest, SaveWritesTheTextByteForByteWithNothingAdded) {
    WriteFileText(files_, kFile, "no break at the end");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "no break at the end");
    WriteFileText(files_, kFile, "");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "");
    EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 1 + 2) << "only the file, '.' and '..'";
}

TEST_F(TextFileTest, SaveKeepsHiddenAndSystemAttributes) {
    drive_c::WriteBytes(kFile, "old");
    SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(files_, kFile, "new");
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    const DWORD attributes = GetFileAttributesA(kFile.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(TextFileTest, AReadOnlyFileIsRefusedUnlessOverwritingIsAllowedAndThenStaysReadOnly) {
    constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    drive_c::WriteBytes(kFile, "old");
    SetFileAttributesA(kFile.c_str(), kProtected);
    EXPECT_TRUE(IsReadOnlyFile(files_, kFile));
    EXPECT_EQ(ErrorOf([&] { WriteFileText(files_, kFile, "new"); }), "Cannot create file " + kFile);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "old");

    WriteFileText(files_, kFile, "new", ReadOnlyFile::Overwrite);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    EXPECT_EQ(GetFileAttributesA(kFile.c_str()) & kProtected, kProtected);
    SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TextFileTest, SaveIntoAMissingFolderFails) {
    EXPECT_EQ(ErrorOf([&] { WriteFileText(files_, kFolder + "\\no\\x.ini", "x"); }),
              "Cannot create file " + kFolder + "\\no\\x.ini");
}

TEST_F(TextFileTest, AFailedSaveAtAnyStepLeavesTheOriginalAndNoTemporaryFile) {
    const std::string original = "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40\r\n";
    struct Case {
        FailingFiles::Step step;
        std::string message;
    };
    const Case cases[] = {
        {FailingFiles::Step::Create, "Cannot create file " + kFile},
        {FailingFiles::Step::Write, "Stream write error"},
        {FailingFiles::Step::Flush, "Stream write error"},
        {FailingFiles::Step::Replace, "Cannot create file " + kFile},
    };
    for (const Case& c : cases) {
        drive_c::WriteBytes(kFile, original);
        SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_HIDDEN);
        FailingFiles failing(c.step);
        std::string message = "no error";
        try {
            WriteFileText(failing, kFile, std::string(5000, 'x'));
        } catch (const AppError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << static_cast<int>(c.step);
        EXPECT_EQ(drive_c::ReadBytes(kFile), original) << static_cast<int>(c.step);
        EXPECT_TRUE(GetFileAttributesA(kFile.c_str()) & FILE_ATTRIBUTE_HIDDEN) << static_cast<int>(c.step);
        EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 1 + 2) << static_cast<int>(c.step);
    }
}
