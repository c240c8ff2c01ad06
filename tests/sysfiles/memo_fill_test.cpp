#include "ui/memo_fill.h"

#include <string>

#include <gtest/gtest.h>

#include "support/scratch_window.h"

namespace {

class MemoFillTest : public ::testing::Test {
protected:
    MemoFillTest() {
        memo_.Create({.parent = window_.Handle(), .bounds = {0, 0, 400, 200}}, ui::Dpi());
        ShowWindow(window_.Handle(), SW_SHOWNOACTIVATE);
    }
    bool ReadOnly() const { return (GetWindowLongA(memo_.Handle(), GWL_STYLE) & ES_READONLY) != 0; }

    ScratchWindow window_;
    ui::Memo memo_;
    ui::MemoFill fill_;
};

std::wstring Lines(size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i)
        text += L"Key" + std::to_wstring(i) + L"=value " + std::to_wstring(i * 7919 % 1009) + L"\r\n";
    return text;
}

}  // namespace

TEST_F(MemoFillTest, ALongTextGoesInWholeOneLineBreakEndedPieceAtATimeWhileTheMemoIsReadOnly) {
    const std::wstring text = Lines(12000);  // some 250,000 characters
    fill_.Start(memo_, text);
    EXPECT_TRUE(fill_.Running());
    EXPECT_TRUE(ReadOnly()) << "nothing typed lands between two pieces";
    size_t pieces = 1;
    std::wstring shown = memo_.WideText();
    while (fill_.Running()) {
        EXPECT_LE(shown.size(), ui::MemoFill::kFirstPiece + ui::MemoFill::kPiece * (pieces - 1));
        EXPECT_EQ(shown.back(), L'\n') << "a piece ends after a line break";
        EXPECT_EQ(text.compare(0, shown.size(), shown), 0);
        fill_.Next();
        ++pieces;
        shown = memo_.WideText();
    }
    EXPECT_EQ(shown, text);
    EXPECT_GE(pieces, 4U);
    EXPECT_FALSE(ReadOnly());
    EXPECT_FALSE(fill_.Next());
}

TEST_F(MemoFillTest, APieceWithoutALineBreakNeverEndsInsideASurrogatePair) {
    // "𝄞" (U+1D11E) is two UTF-16 units: its first is the piece's last unit.
    std::wstring text(ui::MemoFill::kFirstPiece - 1, L'a');
    text += L"\U0001D11E";
    text += std::wstring(1000, L'b');
    fill_.Start(memo_, text);
    EXPECT_EQ(memo_.Length(), static_cast<int>(ui::MemoFill::kFirstPiece - 1));
    fill_.Finish();
    EXPECT_EQ(memo_.WideText(), text);
}

TEST_F(MemoFillTest, TheSelectionAndTheLinesInViewStayWhilePiecesGoIn) {
    fill_.Start(memo_, Lines(12000));
    SendMessageW(memo_.Handle(), EM_SETSEL, 40, 50);
    SendMessageW(memo_.Handle(), EM_LINESCROLL, 0, 30);
    const LRESULT firstLine = SendMessageW(memo_.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
    ASSERT_GT(firstLine, 0);
    fill_.Finish();
    DWORD start = 0, end = 0;
    SendMessageW(memo_.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 40U);
    EXPECT_EQ(end, 50U);
    EXPECT_EQ(SendMessageW(memo_.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
}

TEST_F(MemoFillTest, AShortTextIsInAtOnceAndStoppingKeepsWhatIsInWritable) {
    fill_.Start(memo_, L"[boot]\r\nshell=explorer.exe\r\n");
    EXPECT_FALSE(fill_.Running());
    EXPECT_FALSE(ReadOnly());
    EXPECT_EQ(memo_.WideText(), L"[boot]\r\nshell=explorer.exe\r\n");

    const std::wstring text = Lines(12000);
    fill_.Start(memo_, text);
    fill_.Next();
    const std::wstring shown = memo_.WideText();
    fill_.Stop();
    EXPECT_FALSE(fill_.Running());
    EXPECT_FALSE(ReadOnly());
    EXPECT_EQ(memo_.WideText(), shown);
    EXPECT_LT(shown.size(), text.size());
}

TEST_F(MemoFillTest, ALongTextTheMemoHoldsIsReplacedAtTheFirstStepNotAtTheStart) {
    const std::wstring before = Lines(12000), after = L"[new]\r\n" + Lines(11000);
    memo_.SetWideText(before);
    SendMessageW(memo_.Handle(), EM_SETMODIFY, TRUE, 0);
    fill_.Start(memo_, after);
    EXPECT_TRUE(fill_.Running());
    EXPECT_TRUE(ReadOnly());
    EXPECT_EQ(memo_.WideText(), before);
    EXPECT_TRUE(fill_.Next());
    EXPECT_EQ(memo_.WideText(), after.substr(0, memo_.WideText().size()));
    EXPECT_EQ(memo_.WideText().rfind(L"[new]", 0), 0U);
    EXPECT_LE(memo_.WideText().size(), ui::MemoFill::kFirstPiece);
    EXPECT_EQ(SendMessageW(memo_.Handle(), EM_GETMODIFY, 0, 0), 0) << "the first piece clears the mark";
    fill_.Finish();
    EXPECT_EQ(memo_.WideText(), after);
    EXPECT_FALSE(ReadOnly());
}
