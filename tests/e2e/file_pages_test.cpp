// The real program: the six system file pages load, save and back up.
#include <map>

#include <gtest/gtest.h>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

struct FilePage {
    int tab;
    int memo;
    const char* path;
    int backUp;
    const char* backUpPath;
    int save;
};
const FilePage kFilePages[] = {
    {0, 1, "c:\\windows\\win.ini", 1, "c:\\windows\\winBU.ini", 2},
    {1, 2, "c:\\windows\\system.ini", 3, "c:\\windows\\systemBU.ini", 10},
    {2, 3, "c:\\boot.ini", 5, "c:\\bootBU.ini", 11},
    {3, 4, "c:\\windows\\control.ini", 6, "c:\\windows\\controlBU.ini", 12},
    {4, 5, "c:\\autoexec.bat", 8, "c:\\autoexecBU.bat", 13},
    {5, 6, "c:\\config.sys", 9, "c:\\configBU.sys", 14},
};

std::string OriginalOf(const FilePage& page) { return std::string("[original]\r\nfile=") + page.path + "\r\n"; }

class FilePagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const FilePage& page : kFilePages) {
            drive_c::WriteBytes(page.path, OriginalOf(page));
            drive_c::Remove(page.backUpPath);
        }
    }
    void ExpectFiles(const std::string& why, const std::map<std::string, std::string>& changed) {
        for (const FilePage& page : kFilePages) {
            const auto edit = changed.find(page.path);
            EXPECT_EQ(drive_c::ReadBytes(page.path), edit == changed.end() ? OriginalOf(page) : edit->second)
                << why << ": " << page.path;
            const auto backUp = changed.find(page.backUpPath);
            if (backUp == changed.end())
                EXPECT_FALSE(drive_c::Exists(page.backUpPath)) << why << ": " << page.backUpPath;
            else
                EXPECT_EQ(drive_c::ReadBytes(page.backUpPath), backUp->second) << why << ": " << page.backUpPath;
        }
    }
};

}  // namespace

TEST_F(FilePagesTest, EachPageBacksUpAndSavesItsOwnEditorByteForByte) {
    e2e::Program program;
    ASSERT_TRUE(program.Window());
    std::map<std::string, std::string> changed;
    for (const FilePage& page : kFilePages) {
        program.SelectPage(kRegistrySettingsTab);
        program.SelectPage(page.tab);
        ASSERT_EQ(program.Text(ids::Memo(page.memo)), OriginalOf(page)) << page.path;
        const std::string edited = std::string("edited ") + page.path + "\r\nno break at the end";
        program.Type(ids::Memo(page.memo), edited);
        program.Click(ids::Button(page.backUp));
        changed[page.backUpPath] = edited;
        ExpectFiles(std::string("after Back Up of ") + page.path, changed);
        program.Click(ids::Button(page.save));
        changed[page.path] = edited;
        ExpectFiles(std::string("after Save of ") + page.path, changed);
    }
    EXPECT_TRUE(program.MessageBoxes().empty());
}

TEST_F(FilePagesTest, AMissingFileShowsFileNotFoundAndTheEditorKeepsItsText) {
    e2e::Program program;
    program.SelectPage(kBootIniTab);
    program.Type(ids::Memo(3), "kept text");
    drive_c::Remove("c:\\boot.ini");
    program.SelectPage(kWinIniTab);
    program.SelectPage(kBootIniTab);
    const auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "File not found");
    EXPECT_EQ(box->caption, "qorsysed");  // from qorsysed.exe: the first letter as it stands
    EXPECT_FALSE(box->hasErrorIcon);
    program.PressOk(*box);
    EXPECT_EQ(program.Text(ids::Memo(3)), "kept text");

    // Saving now creates the file with the editor's text.
    program.Click(ids::Button(11));
    EXPECT_EQ(drive_c::ReadBytes("c:\\boot.ini"), "kept text");
}

TEST_F(FilePagesTest, AnEditorWithoutTypedChangesShowsTheFileAgainAfterLeavingThePage) {
    e2e::Program program;
    program.SelectPage(kSystemIniTab);
    program.Type(ids::Memo(2), "typed but not saved");
    program.SelectPage(kControlIniTab);
    program.SelectPage(kSystemIniTab);
    EXPECT_EQ(program.Text(ids::Memo(2)), OriginalOf(kFilePages[1]));
}

TEST_F(FilePagesTest, AFourByteFileShowsExactlyAndLineFeedsBecomeCrLf) {
    drive_c::WriteBytes("c:\\autoexec.bat", "show");
    drive_c::WriteBytes("c:\\config.sys", "FILES=40\nBUFFERS=20\n");
    e2e::Program program;
    program.SelectPage(kAutoexecBatTab);
    EXPECT_EQ(program.Text(ids::Memo(5)), "show");
    program.SelectPage(kConfigSysTab);
    EXPECT_EQ(program.Text(ids::Memo(6)), "FILES=40\r\nBUFFERS=20\r\n");
    program.Click(ids::Button(14));
    EXPECT_EQ(drive_c::ReadBytes("c:\\config.sys"), "FILES=40\r\nBUFFERS=20\r\n");
}
