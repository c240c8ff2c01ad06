// The real program meets damaged state and system files: it starts, keeps
// going, and leaves every byte of the user's files as the load and save
// rules say.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

const char* const kSystemFiles[] = {"c:\\windows\\win.ini",     "c:\\windows\\system.ini", "c:\\boot.ini",
                                    "c:\\windows\\control.ini", "c:\\autoexec.bat",        "c:\\config.sys"};
const char* const kBackUpFiles[] = {"c:\\windows\\winBU.ini",     "c:\\windows\\systemBU.ini", "c:\\bootBU.ini",
                                    "c:\\windows\\controlBU.ini", "c:\\autoexecBU.bat",        "c:\\configBU.sys"};
const char* const kStateFiles[] = {"c:\\qor\\TB.txt", "c:\\qor\\SB.txt", "c:\\qor\\DI.txt",
                                   "c:\\qor\\ST.txt", "c:\\qor\\CL.txt", "c:\\qor\\RU.txt",
                                   "c:\\qor\\SE.txt", "c:\\qor\\DO.txt", "c:\\qor\\TM.txt"};
const char kMarker[] = "c:\\qor\\install.txt";

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }

// What loading `bytes` must give: the text before the first zero byte with
// every CR+LF, lone CR and lone LF written as CR+LF.
std::string Loaded(const std::string& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;  // the LF writes the pair
        text += bytes[i] == '\r' || bytes[i] == '\n' ? std::string("\r\n") : std::string(1, bytes[i]);
    }
    return text;
}

// Everything the user has in the files the program may touch.
std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    auto take = [&files](const std::string& path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            files[path] = drive_c::ReadBytes(path);
    };
    for (const char* path : kSystemFiles)
        take(path);
    for (const char* path : kStateFiles)
        take(path);
    take(kMarker);
    return files;
}

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// Dates the file back to the year 2000, so that a later write shows.
void MakeOld(const std::string& path) {
    SYSTEMTIME old{};
    old.wYear = 2000;
    old.wMonth = 1;
    old.wDay = 1;
    FILETIME time;
    SystemTimeToFileTime(&old, &time);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, &time, &time, &time);
    CloseHandle(file);
}

bool WrittenSinceMadeOld(const std::string& path) {
    SYSTEMTIME when;
    const FILETIME time = LastWrite(path);
    FileTimeToSystemTime(&time, &when);
    return when.wYear > 2000;
}

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpA(className, "TForm1") == 0)
        search->found = true;
    return !search->found;
}

bool HasWindow(e2e::Program& program) {
    WindowSearch search{program.ProcessId(), false};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class BadFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (size_t i = 0; i < 6; ++i) {
            drive_c::WriteBytes(kSystemFiles[i], std::string("[user]\r\nfile=") + kSystemFiles[i] + "\r\n");
            drive_c::Remove(kBackUpFiles[i]);
        }
        drive_c::Remove("c:\\qor");
        drive_c::MakeFolder("c:\\qor");
        drive_c::WriteBytes(kMarker, "Memo8\r\n");
        for (const char* path : kStateFiles)
            drive_c::WriteBytes(path, "show");
    }
    void TearDown() override {
        drive_c::Remove("c:\\qor");
        for (const char* path : kBackUpFiles)
            drive_c::Remove(path);
    }
    // Checks the program is up and answering; a start that loads a 10 MB
    // state file into its memo takes a while under Wine.
    static void ExpectRunning(e2e::Program& program) {
        ASSERT_TRUE(e2e::PollFor([&] { return HasWindow(program); }, 180000)) << "the window never showed";
        ASSERT_TRUE(program.Window());
        ASSERT_TRUE(program.WaitUntilIdle(60000)) << "the program stopped answering";
        ASSERT_FALSE(program.WaitForExit(0).has_value()) << "the program ended";
    }
};

}  // namespace

TEST_F(BadFilesTest, StateFilesOfBinaryBytesTenMegabytesOrAFolderChangeNothingAndDoNotStopTheStart) {
    std::string binary(512, '\0');
    std::mt19937 random(11);
    for (char& c : binary)
        c = static_cast<char>(random());
    std::replace(binary.begin(), binary.end(), '\x98', '~');  // crashes Wine's edit control at a line's start
    binary.replace(0, 3, "\xFF\r\n");                         // never a state word before its first zero byte
    // 10 MB of state words, one per line: never one word alone.
    std::string huge;
    while (huge.size() < 10 * 1024 * 1024)
        huge += "hide\r\n";

    // In the restore's order TB, SB, CL, ST, TM: the folder ends it silently.
    drive_c::WriteBytes("c:\\qor\\TB.txt", binary);
    drive_c::WriteBytes("c:\\qor\\SB.txt", huge);
    drive_c::Remove("c:\\qor\\CL.txt");
    drive_c::MakeFolder("c:\\qor\\CL.txt");
    drive_c::WriteBytes("c:\\qor\\CL.txt\\user.dat", "kept");
    const auto before = Snapshot();
    for (const auto& [path, bytes] : before)
        MakeOld(path);

    {
        e2e::Program program;
        ExpectRunning(program);
        EXPECT_TRUE(program.MessageBoxes().empty()) << "the restore fails silently";
        program.SelectPage(kRegistrySettingsTab);
        EXPECT_EQ(program.Text(ids::Memo(9)), Loaded(binary));
        ExpectRunning(program);
    }
    EXPECT_EQ(Snapshot(), before);
    for (const auto& [path, bytes] : before)
        EXPECT_FALSE(WrittenSinceMadeOld(path)) << path << " was rewritten";
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor\\CL.txt\\user.dat"), "kept");
    EXPECT_EQ(drive_c::CountMatching("c:\\qor", "*.qortmp"), 0);
}

TEST_F(BadFilesTest, TheRestoreGoesOnPastStateFilesThatHoldNoWord) {
    drive_c::WriteBytes("c:\\qor\\TB.txt", Bytes("\0\0\0\0", 4));
    drive_c::WriteBytes("c:\\qor\\SB.txt", "showshow");
    drive_c::WriteBytes("c:\\qor\\CL.txt", "SHOW");
    drive_c::WriteBytes("c:\\qor\\ST.txt", "show");
    drive_c::WriteBytes("c:\\qor\\TM.txt", "hide");
    const auto before = Snapshot();
    for (const auto& [path, bytes] : before)
        MakeOld(path);

    {
        e2e::Program program;
        ExpectRunning(program);
        EXPECT_TRUE(program.MessageBoxes().empty());
    }
    EXPECT_EQ(Snapshot(), before);
    for (const char* path : {"c:\\qor\\TB.txt", "c:\\qor\\SB.txt", "c:\\qor\\CL.txt"})
        EXPECT_FALSE(WrittenSinceMadeOld(path)) << path;
    // Their toggles ran and wrote the same word again.
    for (const char* path : {"c:\\qor\\ST.txt", "c:\\qor\\TM.txt"})
        EXPECT_TRUE(WrittenSinceMadeOld(path)) << path;
}

TEST_F(BadFilesTest, AFolderInPlaceOfTheMarkerOrOfTheStateFolderIsReportedAndNoFileIsLost) {
    drive_c::Remove(kMarker);
    drive_c::MakeFolder(kMarker);
    drive_c::WriteBytes("c:\\qor\\DI.txt", Bytes("\x01\x02\0hide", 7));
    auto before = Snapshot();
    {
        e2e::Program program;
        const auto box = program.WaitForMessageBox();  // shown before the window
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, "Cannot create file c:\\QOR\\install.txt: a folder has that name.");
        program.PressOk(*box);
        ExpectRunning(program);
    }
    EXPECT_EQ(Snapshot(), before) << "the first run stops before it writes any state file";

    drive_c::Remove("c:\\qor");
    drive_c::WriteBytes("c:\\qor", "a plain file named like the state folder");
    before = Snapshot();
    {
        e2e::Program program;
        const auto box = program.WaitForMessageBox();  // shown before the window
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, "Cannot create C:\\QOR.");
        program.PressOk(*box);
        ExpectRunning(program);
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(drive_c::ReadBytes("c:\\qor"), "a plain file named like the state folder");
    drive_c::Remove("c:\\qor");
}

namespace {

struct FilePage {
    int tab;
    int memo;
    int backUp;
    int save;
};
// SYSTEM.INI ... CONFIG.SYS, in the order of kSystemFiles from its second entry.
const FilePage kPages[] = {{kSystemIniTab, 2, 3, 10},
                           {kBootIniTab, 3, 5, 11},
                           {kControlIniTab, 4, 6, 12},
                           {kAutoexecBatTab, 5, 8, 13},
                           {kConfigSysTab, 6, 9, 14}};

}  // namespace

TEST_F(BadFilesTest, SystemFilesWithZeroBytesLoneCrsHugeLinesOrNoLineBreakSaveAsLoaded) {
    // A 64 KB line: Wine's edit control takes minutes to wrap a line of
    // megabytes, far too long for a test run.
    std::string hugeLine = "[big]\r\nline=";
    hugeLine.append(64 * 1024, 'x');
    hugeLine += "\r\nafter";
    const std::string inputs[] = {
        Bytes("[a]\r\nkey=1\0hidden\r\nbytes\0", 25),   // zero bytes: the text ends at the first
        "[boot loader]\rtimeout=30\rdefault=c:\\\r\r",  // lone CRs
        hugeLine,                                       // a very long line
        "@echo off set PATH=c:\\dos;%PATH% %1 %s",      // no line break at all
        "a\n\rb\r\n\nc\r\r\nd\n",                       // every kind of break
    };
    for (size_t i = 0; i < 5; ++i)
        drive_c::WriteBytes(kSystemFiles[i + 1], inputs[i]);
    const std::string winIni = drive_c::ReadBytes(kSystemFiles[0]);

    e2e::Program program;
    ExpectRunning(program);
    for (size_t i = 0; i < 5; ++i) {
        const FilePage& page = kPages[i];
        const std::string expected = Loaded(inputs[i]);
        program.SelectPage(page.tab);
        ASSERT_TRUE(program.WaitUntilIdle(60000));
        ASSERT_TRUE(program.MessageBoxes().empty()) << kSystemFiles[i + 1];
        if (expected.size() < 4096) {
            EXPECT_EQ(program.Text(ids::Memo(page.memo)), expected) << kSystemFiles[i + 1];
        }
        EXPECT_EQ(drive_c::ReadBytes(kSystemFiles[i + 1]), inputs[i]) << "loading changes nothing on disk";
        program.Click(ids::Button(page.backUp));
        program.Click(ids::Button(page.save));
        if (i == 0) {  // cutting the file at its zero byte needs the user's consent
            const auto box = program.WaitForMessageBox();
            ASSERT_TRUE(box.has_value());
            EXPECT_NE(box->text.find("15 bytes"), std::string::npos) << box->text;
            program.Press(*box, IDYES);
        }
        ASSERT_TRUE(program.WaitUntilIdle(60000));
        EXPECT_EQ(drive_c::ReadBytes(kBackUpFiles[i + 1]), expected) << kBackUpFiles[i + 1];
        EXPECT_EQ(drive_c::ReadBytes(kSystemFiles[i + 1]), expected) << kSystemFiles[i + 1];
        // What was saved loads back unchanged, and saves the same again.
        program.SelectPage(kRegistrySettingsTab);
        program.SelectPage(page.tab);
        program.Click(ids::Button(page.save));
        ASSERT_TRUE(program.WaitUntilIdle(60000));
        EXPECT_EQ(drive_c::ReadBytes(kSystemFiles[i + 1]), expected) << kSystemFiles[i + 1];
    }
    EXPECT_TRUE(program.MessageBoxes().empty());
    ExpectRunning(program);
    EXPECT_EQ(drive_c::ReadBytes(kSystemFiles[0]), winIni);
    EXPECT_FALSE(drive_c::Exists(kBackUpFiles[0]));
}
