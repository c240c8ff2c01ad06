#include "sysfiles/line_diff.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Lines = std::vector<std::string>;

// One word per line: "=a" unchanged, "-a" only in the first, "+a" only in the
// second, "~3" three unchanged lines left out.
std::string Render(const std::vector<DiffLine>& lines) {
    std::string out;
    for (const DiffLine& line : lines) {
        if (!out.empty()) out += ' ';
        switch (line.kind) {
            case LineKind::Unchanged:
                out += "=" + line.text;
                break;
            case LineKind::OnlyInFirst:
                out += "-" + line.text;
                break;
            case LineKind::OnlyInSecond:
                out += "+" + line.text;
                break;
            case LineKind::Skipped:
                out += "~" + std::to_string(line.skipped);
                break;
        }
    }
    return out;
}

std::string Compare(const Lines& first, const Lines& second) { return Render(CompareLines(first, second)); }

// The text one side sees: its own lines and the unchanged ones.
Lines Side(const std::vector<DiffLine>& lines, LineKind own) {
    Lines side;
    for (const DiffLine& line : lines)
        if (line.kind == LineKind::Unchanged || line.kind == own) side.push_back(line.text);
    return side;
}

size_t UnchangedCount(const std::vector<DiffLine>& lines) {
    size_t count = 0;
    for (const DiffLine& line : lines) count += line.kind == LineKind::Unchanged;
    return count;
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
    for (int i = 0; i < count; ++i) lines.push_back(prefix + std::to_string(i));
    return lines;
}

}  // namespace

TEST(SplitLinesTest, EveryKindOfBreakEndsALineAndAFinalBreakStartsNone) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb\rc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\r"), (Lines{"", ""}));
}

TEST(CompareLinesTest, EmptyIdenticalAndAllDifferent) {
    EXPECT_EQ(Compare({}, {}), "");
    EXPECT_EQ(Compare({}, {"a", "b"}), "+a +b");
    EXPECT_EQ(Compare({"a", "b"}, {}), "-a -b");
    EXPECT_EQ(Compare({"a", "b"}, {"a", "b"}), "=a =b");
    EXPECT_EQ(Compare({"a", "b"}, {"c", "d"}), "-a -b +c +d");
}

TEST(CompareLinesTest, LinesAddedAtTheStartTheEndAndInTheMiddle) {
    EXPECT_EQ(Compare({"x", "a", "b"}, {"a", "b"}), "-x =a =b");
    EXPECT_EQ(Compare({"a", "b"}, {"a", "b", "y"}), "=a =b +y");
    EXPECT_EQ(Compare({"a", "m", "b"}, {"a", "b"}), "=a -m =b");
    EXPECT_EQ(Compare({"a", "x", "c"}, {"a", "y", "c"}), "=a -x +y =c");
}

TEST(CompareLinesTest, RepeatedLinesKeepTheMostInCommon) {
    EXPECT_EQ(Compare({"a", "a", "a"}, {"a"}), "=a -a -a");
    const Lines first{"}", "a", "}", "b", "}"}, second{"}", "b", "}"};
    const std::vector<DiffLine> lines = CompareLines(first, second);
    EXPECT_EQ(UnchangedCount(lines), 3u) << Render(lines);
    EXPECT_EQ(Side(lines, LineKind::OnlyInFirst), first);
    EXPECT_EQ(Side(lines, LineKind::OnlyInSecond), second);
}

TEST(CompareLinesTest, TextsWithOtherLineBreaksHaveTheSameLines) {
    EXPECT_EQ(Render(CompareLines(SplitLines("[boot]\r\nshell=x\r\n"), SplitLines("[boot]\nshell=x"))),
              "=[boot] =shell=x");
}

TEST(CompareLinesTest, RandomTextsKeepTheLongestCommonRunAndBothTexts) {
    std::mt19937 random(16);
    for (int round = 0; round < 300; ++round) {
        Lines first, second;
        for (auto* lines : {&first, &second}) {
            const int count = static_cast<int>(random() % 12);
            for (int i = 0; i < count; ++i) lines->push_back(std::string(1, static_cast<char>('a' + random() % 3)));
        }
        const std::vector<DiffLine> lines = CompareLines(first, second);
        ASSERT_EQ(UnchangedCount(lines), CommonLength(first, second)) << Render(lines);
        ASSERT_EQ(Side(lines, LineKind::OnlyInFirst), first) << Render(lines);
        ASSERT_EQ(Side(lines, LineKind::OnlyInSecond), second) << Render(lines);
    }
}

TEST(CompareLinesTest, TextsTooDifferentForTheSearchStillShowEveryLine) {
    Lines first = Numbered("old ", 2500), second = Numbered("new ", 2500);
    first.insert(first.begin(), "same");
    second.insert(second.begin(), "same");
    first.push_back("end");
    second.push_back("end");
    const std::vector<DiffLine> lines = CompareLines(first, second);
    ASSERT_EQ(lines.size(), 5002u);
    EXPECT_EQ(Render({lines[0], lines[1], lines[2500], lines[2501], lines[5000], lines[5001]}),
              "=same -old 0 -old 2499 +new 0 +new 2499 =end");
}

TEST(AroundChangesTest, UnchangedRunsShrinkToTheirContext) {
    const Lines before = Numbered("", 20);
    Lines after = before;
    after[10] = "changed";
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, after), 3)), "~7 =7 =8 =9 -10 +changed =11 =12 =13 ~6");
}

TEST(AroundChangesTest, ShortGapsBetweenChangesStayWhole) {
    Lines before = Numbered("", 13), after = before;
    after.erase(after.begin() + 11);
    after.erase(after.begin() + 3);  // 7 unchanged lines between the two
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, after), 3)), "=0 =1 =2 -3 =4 =5 =6 =7 =8 =9 =10 -11 =12");
    before = Numbered("", 14), after = before;
    after.erase(after.begin() + 12);
    after.erase(after.begin() + 3);  // 8: two are left out
    EXPECT_EQ(Render(AroundChanges(CompareLines(before, after), 3)), "=0 =1 =2 -3 =4 =5 =6 ~2 =9 =10 =11 -12 =13");
}

TEST(AroundChangesTest, IdenticalTextsBecomeOneMarkerAndNothingStaysNothing) {
    const Lines same = Numbered("", 5);
    EXPECT_EQ(Render(AroundChanges(CompareLines(same, same), 3)), "~5");
    EXPECT_EQ(Render(AroundChanges({}, 3)), "");
}
