#include "sysfiles/line_diff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using Lines = std::vector<std::string>;
using Views = std::vector<std::string_view>;

Views ViewsOf(const Lines& lines) { return Views(lines.begin(), lines.end()); }

// One word per line: "=a" unchanged, "-a" only in the first, "+a" only in the
// second, "~3" three unchanged lines left out, "!text" a note.
std::string Render(const std::vector<DiffLine>& lines) {
    std::string out;
    for (const DiffLine& line : lines) {
        out += std::string(out.empty() ? "" : " ") + "=-+~!"[static_cast<int>(line.kind)];
        out += line.kind == LineKind::Skipped ? std::to_string(line.skipped) : line.text;
    }
    return out;
}

std::vector<DiffLine> CompareLines(const Lines& first, const Lines& second) {
    return ::CompareLines(ViewsOf(first), ViewsOf(second));
}

std::string Compare(const Lines& first, const Lines& second) { return Render(CompareLines(first, second)); }

// The text one side sees: its own lines and the unchanged ones.
Lines Side(const std::vector<DiffLine>& lines, LineKind own) {
    Lines side;
    for (const DiffLine& line : lines)
        if (line.kind == LineKind::Unchanged || line.kind == own)
            side.push_back(line.text);
    return side;
}

// The length of the longest common subsequence, by the textbook table.
size_t CommonLength(const Lines& a, const Lines& b) {
    std::vector<std::vector<size_t>> table(a.size() + 1, std::vector<size_t>(b.size() + 1, 0));
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j)
            table[i][j] = a[i - 1] == b[j - 1] ? table[i - 1][j - 1] + 1 : std::max(table[i - 1][j], table[i][j - 1]);
    return table[a.size()][b.size()];
}

Lines Numbered(const std::string& prefix, int count) {
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(prefix + std::to_string(i));
    return lines;
}

}  // namespace

TEST(SplitLinesTest, EveryKindOfBreakEndsALineAndAFinalBreakStartsNone) {
    EXPECT_EQ(SplitLines(""), Views{});
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Views{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb\rc"), (Views{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Views{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\r"), (Views{"", ""}));
}

TEST(CompareLinesTest, CasesWorkedByHand) {
    EXPECT_EQ(Compare({}, {}), "");
    EXPECT_EQ(Compare({}, {"a", "b"}), "+a +b");
    EXPECT_EQ(Compare({"a", "b"}, {}), "-a -b");
    EXPECT_EQ(Compare({"a", "b"}, {"a", "b"}), "=a =b");
    EXPECT_EQ(Compare({"a", "b"}, {"c", "d"}), "-a -b +c +d");
    EXPECT_EQ(Compare({"x", "a", "b"}, {"a", "b", "y"}), "-x =a =b +y");
    EXPECT_EQ(Compare({"a", "x", "c"}, {"a", "y", "c"}), "=a -x +y =c");
    EXPECT_EQ(Compare({"a", "a", "a"}, {"a"}), "=a -a -a");
    EXPECT_EQ(Render(CompareLines(SplitLines("[boot]\r\nshell=x\r\n"), SplitLines("[boot]\nshell=x"))),
              "=[boot] =shell=x");
}

TEST(CompareLinesTest, RandomTextsKeepTheMostLinesInCommonAndBothTexts) {
    std::mt19937 random(16);
    for (int round = 0; round < 600; ++round) {
        // Few letters: many equal lines; more: lines only one text holds.
        const unsigned letters = round % 2 ? 3 : 8;
        Lines first, second;
        for (auto* lines : {&first, &second})
            for (int i = static_cast<int>(random() % 12); i > 0; --i)
                lines->push_back(std::string(1, static_cast<char>('a' + random() % letters)));
        const std::vector<DiffLine> lines = CompareLines(first, second);
        const auto unchanged = std::count_if(lines.begin(), lines.end(),
                                             [](const DiffLine& line) { return line.kind == LineKind::Unchanged; });
        ASSERT_EQ(static_cast<size_t>(unchanged), CommonLength(first, second)) << Render(lines);
        ASSERT_EQ(Side(lines, LineKind::OnlyInFirst), first) << Render(lines);
        ASSERT_EQ(Side(lines, LineKind::OnlyInSecond), second) << Render(lines);
    }
}

TEST(CompareLinesTest, ManyChangesSpreadOverALongTextAreStillFoundExactly) {
    const Lines first = Numbered("line ", 9000);
    Lines second = first;
    for (size_t i = 0; i < second.size(); i += 3)
        second[i] = "changed " + std::to_string(i);
    const std::vector<DiffLine> lines = CompareLines(first, second);
    const auto unchanged = std::count_if(lines.begin(), lines.end(),
                                         [](const DiffLine& line) { return line.kind == LineKind::Unchanged; });
    EXPECT_EQ(unchanged, 6000);
    EXPECT_EQ(Side(lines, LineKind::OnlyInFirst), first);
    EXPECT_EQ(Side(lines, LineKind::OnlyInSecond), second);
    EXPECT_EQ(Render({lines[0], lines[1], lines[2], lines[3]}), "-line 0 +changed 0 =line 1 =line 2");
}

TEST(CompareLinesTest, TextsTooDifferentForTheSearchStillShowEveryLine) {
    Lines first = Numbered("line ", 12000), second(first.rbegin(), first.rend());
    first.push_back("end");
    second.push_back("end");
    const std::vector<DiffLine> lines = CompareLines(first, second);
    ASSERT_EQ(lines.size(), 24001u);
    EXPECT_EQ(Render({lines[0], lines[11999], lines[12000], lines[23999], lines[24000]}),
              "-line 0 -line 11999 +line 11999 +line 0 =end");
}

TEST(AroundChangesTest, UnchangedRunsLongerThanTheirContextBecomeOneMarker) {
    Lines before = Numbered("", 20), after = before;
    after[10] = "changed";
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, after), 3)), "~7 =7 =8 =9 -10 +changed =11 =12 =13 ~6");
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, before), 3)), "~20");
    EXPECT_EQ(Render(AroundChanges({}, 3)), "");
}

TEST(AroundChangesTest, GapsBetweenChangesUpToTwiceTheContextAndOneStayWhole) {
    Lines before = Numbered("", 13), after = before;
    after.erase(after.begin() + 11);
    after.erase(after.begin() + 3);  // 7 unchanged lines between the two
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, after), 3)), "=0 =1 =2 -3 =4 =5 =6 =7 =8 =9 =10 -11 =12");
    before = Numbered("", 14), after = before;
    after.erase(after.begin() + 12);
    after.erase(after.begin() + 3);  // 8: two are left out
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, after), 3)), "=0 =1 =2 -3 =4 =5 =6 ~2 =9 =10 =11 -12 =13");
}

TEST(DifferencesLinesDoNotShow, NamesOnlyWhatTheLinesHide) {
    const std::string prefix = "The files also differ in what the lines do not show: ";
    EXPECT_EQ(DifferencesLinesDoNotShow("a\r\nb\r\n", "a\r\nb\r\n"), "");
    EXPECT_EQ(DifferencesLinesDoNotShow("a\r\nb", "a\nb"), prefix + "line breaks");
    EXPECT_EQ(DifferencesLinesDoNotShow("a\r\nb\r\n", "a\r\nb"), prefix + "a final line break");
    EXPECT_EQ(DifferencesLinesDoNotShow("a\r\nb\r\n", "a\r\nb\n"), prefix + "line breaks");
    EXPECT_EQ(DifferencesLinesDoNotShow("a\r\nb\r\n", "x\nb\r\n"), "") << "a changed line shows itself";
    EXPECT_EQ(DifferencesLinesDoNotShow(std::string("a\0x", 3), std::string("a\0y", 3)),
              prefix + "bytes after a zero byte");
    EXPECT_EQ(DifferencesLinesDoNotShow("a", std::string("a\0", 2)), prefix + "bytes after a zero byte");
    EXPECT_EQ(DifferencesLinesDoNotShow("a\rb\r", std::string("a\nb", 3) + std::string("\0", 1)),
              prefix + "line breaks, a final line break, bytes after a zero byte");
}

TEST(CompareFilesTest, TheNoteComesFirstAndTheLinesAreComparedAsTheEditorShowsThem) {
    EXPECT_EQ(Render(CompareFiles("a\r\nb\r\nc\r\nd\r\ne\r\n", "a\nb\nc\nd\nx\n", 1)),
              "!The files also differ in what the lines do not show: line breaks ~3 =d -e +x");
    EXPECT_EQ(
        Render(CompareFiles(std::string("a\nb\0c\n", 6), "a\nx\n", 3)),
        "!The files also differ in what the lines do not show: a final line break, bytes after a zero byte =a -b +x");
    EXPECT_EQ(Render(CompareFiles("same\n", "same\n", 3)), "=same");
}
