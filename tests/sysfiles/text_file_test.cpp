#include "sysfiles/text_file.h"

#include <gtest/gtest.h>

#include "app/app_error.h"
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
        editor_.Create({window_.Handle(), "", "", {0, 0, 790, 393}}, ui::Dpi());
    }
    void TearDown() override { drive_c::Remove(kFolder); }

public:
    std::string ErrorOf(void (*action)(TextFileTest&)) {
        try {
            action(*this);
        } catch (const AppError& error) {
            return error.what();
        }
        return "no error";
    }

    ScratchWindow window_;
    ui::Memo editor_;
    platform::Files& files_ = platform::RealFiles();
};

// Fails the one step of a save it is told to, passing every other to the disk.
class FailingFiles : public platform::Files {
public:
    enum class Step { None, Create, Write, Flush, Replace };
    explicit FailingFiles(Step failing) : failing_(failing) {}

    HANDLE OpenForReading(const std::string& path, DWORD& error) override {
        return real_.OpenForReading(path, error);
    }
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

TEST_F(TextFileTest, LoadShowsAFourByteFileExactly) {
    drive_c::WriteBytes(kFile, "show");
    LoadFile(files_, kFile, editor_);
    EXPECT_EQ(editor_.Text(), "show");
}

TEST_F(TextFileTest, LoadOfLineFeedsAndSaveWritesCrLf) {
    drive_c::WriteBytes(kFile, "[boot]\nshell=explorer.exe\n");
    LoadFile(files_, kFile, editor_);
    EXPECT_EQ(editor_.Text(), "[boot]\r\nshell=explorer.exe\r\n");
    SaveFile(files_, editor_, kFile);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "[boot]\r\nshell=explorer.exe\r\n");
}

TEST_F(TextFileTest, LoadOfAMissingFileFailsAndLeavesTheEditor) {
    editor_.SetText("typed");
    EXPECT_EQ(ErrorOf([](TextFileTest& t) { LoadFile(t.files_, kFolder + "\\none.ini", t.editor_); }),
              "Cannot open file " + kFolder + "\\none.ini");
    EXPECT_EQ(editor_.Text(), "typed");
}

TEST_F(TextFileTest, LoadWhileAnotherProgramWritesTheFileFails) {
    drive_c::WriteBytes(kFile, "x");
    HANDLE writer = CreateFileA(kFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([](TextFileTest& t) { LoadFile(t.files_, kFile, t.editor_); }),
              "Cannot open file " + kFile + ": another program is using it");
    CloseHandle(writer);
}

TEST_F(TextFileTest, LoadOfAnEqualTextLeavesTheEditorUntouched) {
    drive_c::WriteBytes(kFile, "same\n");
    editor_.SetText("same\r\n");
    SendMessageA(editor_.Handle(), EM_SETMODIFY, TRUE, 0);
    LoadFile(files_, kFile, editor_);
    EXPECT_TRUE(SendMessageA(editor_.Handle(), EM_GETMODIFY, 0, 0)) << "the text was set again";
}

TEST_F(TextFileTest, LoadsAnEightMegabyteFile) {
    std::string big;
    while (big.size() < 8 * 1024 * 1024) big += "device=c:\\windows\\himem.sys ; some configuration line\r\n";
    drive_c::WriteBytes(kFile, big);
    LoadFile(files_, kFile, editor_);
    EXPECT_EQ(editor_.Text().size(), big.size());
}

TEST_F(TextFileTest, SaveWritesTheTextByteForByteWithNothingAdded) {
    editor_.SetText("no break at the end");
    SaveFile(files_, editor_, kFile);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "no break at the end");
    editor_.SetText("");
    SaveFile(files_, editor_, kFile);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "");
    EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 1 + 2) << "only the file, '.' and '..'";
}

TEST_F(TextFileTest, SaveKeepsHiddenAndSystemAttributes) {
    drive_c::WriteBytes(kFile, "old");
    SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    editor_.SetText("new");
    SaveFile(files_, editor_, kFile);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "new");
    const DWORD attributes = GetFileAttributesA(kFile.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(TextFileTest, SaveOverAReadOnlyFileFailsAndKeepsIt) {
    drive_c::WriteBytes(kFile, "old");
    SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_READONLY);
    editor_.SetText("new");
    EXPECT_EQ(ErrorOf([](TextFileTest& t) { SaveFile(t.files_, t.editor_, kFile); }), "Cannot create file " + kFile);
    EXPECT_EQ(drive_c::ReadBytes(kFile), "old");
}

TEST_F(TextFileTest, SaveIntoAMissingFolderFails) {
    editor_.SetText("x");
    EXPECT_EQ(ErrorOf([](TextFileTest& t) { SaveFile(t.files_, t.editor_, kFolder + "\\no\\x.ini"); }),
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
    editor_.SetText(std::string(5000, 'x'));
    for (const Case& c : cases) {
        drive_c::WriteBytes(kFile, original);
        SetFileAttributesA(kFile.c_str(), FILE_ATTRIBUTE_HIDDEN);
        FailingFiles failing(c.step);
        std::string message = "no error";
        try {
            SaveFile(failing, editor_, kFile);
        } catch (const AppError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << static_cast<int>(c.step);
        EXPECT_EQ(drive_c::ReadBytes(kFile), original) << static_cast<int>(c.step);
        EXPECT_TRUE(GetFileAttributesA(kFile.c_str()) & FILE_ATTRIBUTE_HIDDEN) << static_cast<int>(c.step);
        EXPECT_EQ(drive_c::CountMatching(kFolder, "*"), 1 + 2) << static_cast<int>(c.step);
    }
}
