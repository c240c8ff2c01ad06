#include "core/text_file.h"

#include <gtest/gtest.h>

#include "core/file_writer.h"
#include "ui/controls.h"
#include "support/drive_c.h"
#include "support/linked_drive.h"
#include "support/scratch_window.h"
#include "support/error_of.h"

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

    platform::Files& files_ = platform::RealFiles();
};

// Takes only the first ten characters of a longer text, as a control short of memory might.
LRESULT CALLBACK TakeTenCharacters(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(window, "original"));
    if (message == WM_SETTEXT && lstrlenW(reinterpret_cast<const wchar_t*>(lParam)) > 10) {
        const std::wstring part(reinterpret_cast<const wchar_t*>(lParam), 10);
        CallWindowProcW(original, window, message, wParam, reinterpret_cast<LPARAM>(part.c_str()));
        return TRUE;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

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
    bool toldMissing = false;
    try {
        LoadText(files_, none);
    } catch (const LoadError& error) {
        toldMissing = error.FileMissing();
    }
    EXPECT_TRUE(toldMissing) << "a missing file is told apart from one that cannot be read";

    drive_c::WriteBytes(kFile, "x");
    HANDLE writer = CreateFileA(kFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { LoadText(files_, kFile); }), "Cannot open file " + kFile + ": another program is using it");
    CloseHandle(writer);
}

TEST_F(TextFileTest, AGuardedReadTakesNoLinkAndNoFileOverItsBound) {
    const ReadOptions guarded{.refuseLinks = true, .maxBytes = 4};
    drive_c::WriteBytes(kFile, "hide");
    EXPECT_EQ(LoadText(files_, kFile, guarded), "hide");
    drive_c::WriteBytes(kFile + "!", "hide!");
    EXPECT_EQ(ErrorOf([&] { LoadText(files_, kFile + "!", guarded); }),
              "Cannot open file " + kFile + "!: it is larger than 4 bytes");
    LinkedDrive linked;
    drive_c::WriteBytes(linked.Path("c:\\TB.txt"), "hide");
    EXPECT_EQ(ErrorOf([&] { LoadText(linked, "c:\\TB.txt", guarded); }),
              "Cannot open file c:\\TB.txt: it is a link to another place");
}

TEST_F(TextFileTest, AFileHoldsBytesOnlyWhenTheyAreTheSameToTheLast) {
    const std::string text(700 * 1024, 'x');  // more than a piece read at a time
    drive_c::WriteBytes(kFile, text);
    EXPECT_TRUE(FileHolds(files_, kFile, text));
    std::string changedLate = text;
    changedLate[600 * 1024] = 'y';
    EXPECT_FALSE(FileHolds(files_, kFile, changedLate));
    EXPECT_FALSE(FileHolds(files_, kFile, text + "x")) << "the file ends first";
    EXPECT_FALSE(FileHolds(files_, kFile, text.substr(1))) << "the file goes on";
    drive_c::WriteBytes(kFile, "");
    EXPECT_TRUE(FileHolds(files_, kFile, ""));
    EXPECT_FALSE(FileHolds(files_, kFile, "x"));
    const std::string none = kFolder + "\\none.ini";
    EXPECT_EQ(ErrorOf([&] { FileHolds(files_, none, ""); }), "Cannot open file " + none);
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

TEST(Editor, AFailedTextSetKeepsTheTypedTextAndItsMark) {
    ScratchWindow window;
    ui::Memo editor;
    editor.Create({.parent = window.Handle(), .bounds = {0, 0, 790, 393}}, ui::Dpi());
    SetWindowTextW(editor.Handle(), L"typed \x2192");  // a character no ANSI code page here has
    editor.SetModified(true);
    SetPropA(editor.Handle(), "original",
             reinterpret_cast<HANDLE>(
                 SetWindowLongPtrW(editor.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TakeTenCharacters))));
    EXPECT_EQ(ErrorOf([&] { editor.SetText("a text longer than ten characters"); }), "Text exceeds memo capacity");
    EXPECT_EQ(editor.WideText(), L"typed \x2192");
    EXPECT_TRUE(editor.IsModified()) << "the typed text would escape the question on closing";
    SetWindowLongPtrW(editor.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(editor.Handle(), "original")));
    RemovePropA(editor.Handle(), "original");
}
