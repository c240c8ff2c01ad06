#include "sysfiles/sysfile_pages.h"

#include <exception>
#include <future>
#include <new>
#include <stdexcept>
#include <utility>

#include <gtest/gtest.h>

#include "core/text_file.h"

#include "ui/control_ids.h"
#include "support/error_of.h"
#include "support/drive_c.h"
#include "support/program.h"
#include "support/scratch_drive.h"
#include "support/scratch_sheet.h"

namespace {

// Each button and the file it writes: its own page's backup or file.
struct Expected {
    Page page;
    int button;
    const char* path;
};
const Expected kWrites[] = {
    {Page::WinIni, 1, "c:\\windows\\winBU.ini"},
    {Page::WinIni, 2, "c:\\windows\\win.ini"},
    {Page::SystemIni, 3, "c:\\windows\\systemBU.ini"},
    {Page::SystemIni, 10, "c:\\windows\\system.ini"},
    {Page::BootIni, 5, "c:\\bootBU.ini"},
    {Page::BootIni, 11, "c:\\boot.ini"},
    {Page::ControlIni, 6, "c:\\windows\\controlBU.ini"},
    {Page::ControlIni, 12, "c:\\windows\\control.ini"},
    {Page::AutoexecBat, 8, "c:\\autoexecBU.bat"},
    {Page::AutoexecBat, 13, "c:\\autoexec.bat"},
    {Page::ConfigSys, 9, "c:\\configBU.sys"},
    {Page::ConfigSys, 14, "c:\\config.sys"},
};

class SysFilePagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int page = 0; page < 6; ++page) {
            const PageContext context = sheet_.Context();
            pages_.Create(static_cast<Page>(page), context);
            pages_.CreateRest(static_cast<Page>(page), context);
            SetWindowTextA(Editor(page), ("editor " + std::to_string(page) + "\r\nline two").c_str());
        }
        drive_c::MakeFolder(drive_.Path("c:\\windows"));
    }
    // The editor MemoN of the page at `index` (WIN.INI is 0).
    HWND Editor(int index) const { return GetDlgItem(sheet_.Handle(), ids::Memo(index + 1)); }
    std::string TextOf(int index) const { return ui::Window(Editor(index)).Text(); }
    // Where a file of drive C lies in the scratch folder.
    std::string OnDisk(const std::string& path) const { return drive_.Path(path); }

    ScratchDrive drive_;
    SysFilePages pages_{drive_};
    ScratchSheet sheet_{pages_};
};

// A drive whose reads fail with `failure` while it is set, and that counts
// the files it leaves open.
class ReadFails : public ScratchDrive {
public:
    HANDLE OpenForReading(const std::string& path, DWORD& error) override {
        HANDLE file = ScratchDrive::OpenForReading(path, error);
        open_ += file != INVALID_HANDLE_VALUE;
        return file;
    }
    bool Read(HANDLE file, std::string& bytes) override {
        if (failure_)
            std::rethrow_exception(failure_);
        return ScratchDrive::Read(file, bytes);
    }
    bool ReadSome(HANDLE file, std::span<char> buffer, DWORD& got) override {
        if (failure_)
            std::rethrow_exception(failure_);
        return ScratchDrive::ReadSome(file, buffer, got);
    }
    void Close(HANDLE file) override {
        --open_;
        ScratchDrive::Close(file);
    }
    std::exception_ptr failure_;
    int open_ = 0;
};

// Answers the next message box this program shows with `button`; its text,
// "" when none showed. The box holds this thread until it is answered.
std::future<std::string> AnswerNextBox(int button) {
    return std::async(std::launch::async, [button] {
        std::string text;
        e2e::PollFor([&] {
            HWND box = FindWindowA("#32770", nullptr);
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (!box || process != GetCurrentProcessId() || !IsWindowVisible(box))
                return false;
            text = ui::Window(GetDlgItem(box, 0xFFFF)).Text();
            PostMessageA(box, WM_COMMAND, button, 0);
            return true;
        });
        return text;
    });
}

}  // namespace

TEST_F(SysFilePagesTest, EachButtonWritesItsOwnEditorToItsOwnFileOnly) {
    for (const Expected& write : kWrites) {
        sheet_.Click(ids::Button(write.button));
        ASSERT_TRUE(drive_c::Exists(OnDisk(write.path))) << write.path;
        EXPECT_EQ(drive_c::ReadBytes(OnDisk(write.path)),
                  "editor " + std::to_string(static_cast<int>(write.page)) + "\r\nline two")
            << "Button" << write.button;
        drive_c::Remove(OnDisk(write.path));
        for (const Expected& other : kWrites)
            EXPECT_FALSE(drive_c::Exists(OnDisk(other.path))) << other.path;
    }
}

TEST_F(SysFilePagesTest, ActivationReadsThePageFileAndLeavesTheOthers) {
    drive_c::WriteBytes(OnDisk("c:\\boot.ini"), "[boot loader]\ntimeout=30\n");
    pages_.Activate(Page::BootIni);
    EXPECT_EQ(TextOf(2), "[boot loader]\r\ntimeout=30\r\n");
    EXPECT_EQ(TextOf(5), "editor 5\r\nline two");
    pages_.Activate(Page::About);  // not a file page: nothing happens
    EXPECT_EQ(TextOf(2), "[boot loader]\r\ntimeout=30\r\n");
}

TEST_F(SysFilePagesTest, AnUnchangedFileShowsAgainWhenTheEditorTextWasReplacedWithoutTyping) {
    drive_c::WriteBytes(OnDisk("c:\\boot.ini"), "[boot loader]\n");
    pages_.Activate(Page::BootIni);
    SetWindowTextA(Editor(2), "set by another program");  // leaves the editor unmodified
    pages_.Activate(Page::BootIni);
    EXPECT_EQ(TextOf(2), "[boot loader]\r\n");
    SetWindowTextA(Editor(2), "typed");
    SendMessageA(Editor(2), EM_SETMODIFY, TRUE, 0);  // as typing leaves it: kept
    pages_.Activate(Page::BootIni);
    EXPECT_EQ(TextOf(2), "typed");
    drive_c::WriteBytes(OnDisk("c:\\windows\\system.ini"), "[386Enh]\n");
    pages_.Activate(Page::SystemIni);
    drive_c::WriteBytes(OnDisk("c:\\windows\\system.ini"), "[drives]\n");  // same length, other bytes
    pages_.Activate(Page::SystemIni);
    EXPECT_EQ(TextOf(1), "[drives]\r\n");
}

TEST_F(SysFilePagesTest, AnUnchangedFileIsNotSetAgainSoTheCaretStays) {
    drive_c::WriteBytes(OnDisk("c:\\boot.ini"), "same\n");
    pages_.Activate(Page::BootIni);
    SendMessageA(Editor(2), EM_SETSEL, 3, 3);
    pages_.Activate(Page::BootIni);
    DWORD start = 0;
    SendMessageA(Editor(2), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(start, 3u) << "the text was set again";
}

TEST_F(SysFilePagesTest, AFileOfMoreThanThirtyTwoMegabytesIsRefusedAndTheEditorKeepsItsText) {
    drive_c::WriteBytes(OnDisk("c:\\boot.ini"), std::string(32 * 1024 * 1024 + 1, 'x'));
    EXPECT_EQ(ErrorOf([&] { pages_.Activate(Page::BootIni); }),
              "Cannot open file c:\\boot.ini: it is larger than 33554432 bytes");
    EXPECT_EQ(TextOf(2), "editor 2\r\nline two");
}

TEST(SysFilePagesLoad, AnyFailureWhileLoadingIsAFailedLoadThatClosesTheFileAndThatSaveAsksAbout) {
    ReadFails drive;
    SysFilePages pages(drive);
    ScratchSheet sheet(pages);
    pages.Create(Page::BootIni, sheet.Context());
    pages.CreateRest(Page::BootIni, sheet.Context());
    drive_c::WriteBytes(drive.Path("c:\\boot.ini"), "[boot loader]\r\n");
    const std::pair<std::exception_ptr, std::string> failures[] = {
        {std::make_exception_ptr(std::bad_alloc()), "there is not enough memory"},
        {std::make_exception_ptr(std::runtime_error("the device went away")), "the device went away"},
    };
    for (const auto& [failure, reason] : failures) {
        drive.failure_ = failure;
        EXPECT_EQ(ErrorOf([&] { pages.Activate(Page::BootIni); }), "Cannot open file c:\\boot.ini: " + reason);
        EXPECT_EQ(drive.open_, 0) << "the file stays open, and locked against writers: " << reason;

        drive.failure_ = nullptr;
        std::future<std::string> answer = AnswerNextBox(IDNO);
        sheet.Click(ids::Button(11));  // Save
        const std::string question = answer.get();
        EXPECT_NE(question.find("c:\\boot.ini could not be loaded (" + reason + ")"), std::string::npos) << question;
        EXPECT_EQ(drive_c::ReadBytes(drive.Path("c:\\boot.ini")), "[boot loader]\r\n");
    }
}
