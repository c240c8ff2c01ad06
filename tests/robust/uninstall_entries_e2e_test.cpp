// The real program reads uninstall entries that are many, odd or of the
// wrong type: the SYSTEM INFO page lists what it should, reports a
// non-string name as "File not found", and the program goes on.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/control_ids.h"
#include "support/drive_c.h"
#include "support/registry_keys.h"
#include "support/program.h"
#include "support/tabs.h"

namespace {

using registry_keys::kUninstall;

constexpr int kListView2 = ids::ListView(2);

std::string UninstallPath(const std::string& subkey) { return std::string(kUninstall) + "\\" + subkey; }

void SetValue(const std::string& subkey, const std::string& name, DWORD type, const std::string& data) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, UninstallPath(subkey).c_str(), name.c_str(), type, data.data(),
                    static_cast<DWORD>(data.size()));
}

std::string String(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

// Captions in the list's own order: lstrcmpA, as the list sorts.
std::vector<std::string> SortedAsTheList(std::vector<std::string> captions) {
    std::stable_sort(captions.begin(), captions.end(),
                     [](const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; });
    return captions;
}

class UninstallEntriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry_keys::DeleteTree(kUninstall);
        drive_c::Remove("c:\\qor");  // a plain first start, whatever an earlier test left
    }
    void TearDown() override { registry_keys::DeleteTree(kUninstall); }

    // Brings a page to the front as the keyboard does, without waiting on a
    // handler that stops at a message box.
    static void Activate(e2e::Program& program, int tab) {
        PostMessageA(program.Control(ids::PageControl1), TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
        ASSERT_TRUE(program.WaitUntilIdle(120000));
    }
    static void ShowSystemInfo(e2e::Program& program) {
        ASSERT_TRUE(program.Window());
        Activate(program, 0);
        Activate(program, kSystemInfoTab);
        ASSERT_TRUE(program.WaitForSystemInfo(120000));
    }
    static void ExpectAnswering(e2e::Program& program) {
        ASSERT_TRUE(program.WaitUntilIdle(60000)) << "the program stopped answering";
        ASSERT_FALSE(program.WaitForExit(0).has_value()) << "the program ended";
    }
};

}  // namespace

TEST_F(UninstallEntriesTest, TenThousandEntriesWithFormatSignsBackslashesAndLongTextsAreAllListed) {
    std::vector<std::string> expected;
    const std::string longText(1000, 'L');
    for (int i = 0; i < 10000; ++i) {
        char number[16];
        std::snprintf(number, sizeof(number), "%05d", i);
        // Names and texts that would upset a printf-style formatter or a path builder.
        const std::string subkey = i % 4 == 0   ? std::string("%s%s%n") + number
                                   : i % 4 == 1 ? std::string("100% ") + number
                                   : i % 4 == 2 ? std::string(200, 'k') + number
                                                : std::string("{") + number + "}";
        std::string name = i % 5 == 0   ? std::string("%s %d %n %") + number
                           : i % 5 == 1 ? std::string("c:\\program files\\") + number + "\\"
                           : i % 5 == 2 ? longText + number
                           : i % 5 == 3 ? std::string("%SystemRoot%\\") + number
                                        : std::string("Program ") + number;
        SetValue(subkey, "DisplayName", i % 5 == 3 ? REG_EXPAND_SZ : REG_SZ, String(name));
        SetValue(subkey, "UninstallString", REG_SZ, String("\"%1\" \\\\ %s " + longText));
        SetValue(subkey, "%s%s%s", REG_BINARY, std::string("\x01\x02\0\x03", 4));
        expected.push_back(name);
    }

    e2e::Program program;
    ShowSystemInfo(program);
    ExpectAnswering(program);
    EXPECT_TRUE(program.MessageBoxes().empty());
    const std::vector<std::string> listed = program.ListItems(kListView2);
    ASSERT_EQ(listed.size(), expected.size());
    EXPECT_TRUE(listed == SortedAsTheList(expected)) << "first item: " << listed.front();
}

TEST_F(UninstallEntriesTest, ValuesOfEveryTypeListStringsAndReportTheOthersWithoutEndingTheProgram) {
    SetValue("a", "DisplayName", REG_SZ, String("Alpha"));
    SetValue("z", "DisplayName", REG_SZ, String("Omega"));
    // Other values of every type are never read.
    const DWORD kTypes[] = {REG_NONE,
                            REG_SZ,
                            REG_EXPAND_SZ,
                            REG_BINARY,
                            REG_DWORD,
                            REG_DWORD_BIG_ENDIAN,
                            REG_LINK,
                            REG_MULTI_SZ,
                            REG_RESOURCE_LIST,
                            REG_FULL_RESOURCE_DESCRIPTOR,
                            REG_RESOURCE_REQUIREMENTS_LIST,
                            REG_QWORD};
    for (DWORD type : kTypes)
        SetValue("a", "Other" + std::to_string(type), type, std::string("\x01\0\x02\0\0\0\0\0", 8));

    e2e::Program program;
    for (DWORD type : kTypes) {
        SCOPED_TRACE("DisplayName of type " + std::to_string(type));
        SetValue("m", "DisplayName", type, std::string("Mid\0dle\0\0\0", 10));
        ShowSystemInfo(program);
        const bool isString = type == REG_SZ || type == REG_EXPAND_SZ;
        if (isString) {
            ExpectAnswering(program);
            EXPECT_TRUE(program.MessageBoxes().empty());
            // The text ends at its first zero byte.
            EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{"Alpha", "Mid", "Omega"}));
        } else {
            const auto box = program.WaitForMessageBox();
            ASSERT_TRUE(box.has_value());
            EXPECT_EQ(box->text, "File not found");
            program.PressOk(*box);
            ExpectAnswering(program);
            // Entries are read in subkey order a, m, z: the read stopped at m.
            EXPECT_EQ(program.ListItems(kListView2), std::vector<std::string>{"Alpha"});
        }
    }
    // A zero-length value of any type reads as empty: no item, no message.
    SetValue("m", "DisplayName", REG_DWORD, "");
    ShowSystemInfo(program);
    ExpectAnswering(program);
    EXPECT_TRUE(program.MessageBoxes().empty());
    EXPECT_EQ(program.ListItems(kListView2), (std::vector<std::string>{"Alpha", "Omega"}));
    // A non-string uninstall command is reported the same way.
    SetValue("m", "DisplayName", REG_SZ, String("Mid"));
    SetValue("m", "UninstallString", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    ShowSystemInfo(program);
    const auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "File not found");
    program.PressOk(*box);
    ExpectAnswering(program);
}
