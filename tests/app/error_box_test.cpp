#include "ui/error_box.h"

#include <gtest/gtest.h>

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithTheRestLowerCase) {
    EXPECT_EQ(ApplicationTitle("C:\\Program Files\\QOR\\QORSYSED.EXE"), "Qorsysed");
    EXPECT_EQ(ApplicationTitle("c:\\tools\\qorsysed.exe"), "qorsysed");
    EXPECT_EQ(ApplicationTitle("d:\\a.b\\MY.TOOL.EXE"), "My");
    EXPECT_EQ(ApplicationTitle("Z:/build/win64/QorSysEd.exe"), "Qorsysed");
    EXPECT_EQ(ApplicationTitle("NODOT"), "Nodot");
}

TEST(ApplicationTitle, OfThisTestProgramComesFromItsOwnPath) { EXPECT_EQ(ApplicationTitle(), "app_tests"); }

TEST(ErrorBoxText, AppendsAFullStopAfterLettersAndDigits) {
    EXPECT_EQ(ErrorBoxText("Cannot open file c:\\windows\\win.ini"), "Cannot open file c:\\windows\\win.ini.");
    EXPECT_EQ(ErrorBoxText("Cannot create C:\\QOR"), "Cannot create C:\\QOR.");
    EXPECT_EQ(ErrorBoxText("Error 5"), "Error 5.");
    EXPECT_EQ(ErrorBoxText("a/"), "a/.");  // '/' is 0x2F, just above the full stop
    EXPECT_EQ(ErrorBoxText("x\xE9"), "x\xE9.");
}

TEST(ErrorBoxText, LeavesMessagesEndingAtOrBelowTheFullStopAlone) {
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Really!"), "Really!");
    EXPECT_EQ(ErrorBoxText("a, b,"), "a, b,");
    EXPECT_EQ(ErrorBoxText("ends in space "), "ends in space ");
    EXPECT_EQ(ErrorBoxText("line\r\n"), "line\r\n");
    EXPECT_EQ(ErrorBoxText("minus-"), "minus-");
}
