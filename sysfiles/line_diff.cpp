#include "sysfiles/line_diff.h"

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

// The search keeps a row per edit, each as long as the edits so far: beyond
// this many edits its memory would grow too large.
constexpr int kMaxEdits = 2000;

// The lines [begin, end) of one text.
struct Range {
    const Lines& lines;
    size_t begin, end;
    int Size() const { return static_cast<int>(end - begin); }
    const std::string& operator[](int i) const { return lines[begin + static_cast<size_t>(i)]; }
};

// Walks the shortest edit path back from its end, given the furthest point
// reached on each diagonal before each edit, and appends it in reverse.
void AppendPathReversed(const Range& a, const Range& b, const std::vector<std::vector<int>>& furthest,
                        std::vector<DiffLine>& reversed) {
    int x = a.Size(), y = b.Size();
    for (int d = static_cast<int>(furthest.size()) - 1; d >= 0; --d) {
        // furthest[d] holds diagonals -d-1 to d+1.
        auto at = [&](int k) { return furthest[static_cast<size_t>(d)][static_cast<size_t>(k + d + 1)]; };
        const int k = x - y;
        const int previousK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const int previousX = at(previousK), previousY = previousX - previousK;
        for (; x > previousX && y > previousY; --x, --y)
            reversed.push_back({LineKind::Unchanged, a[x - 1]});
        if (d > 0) {
            if (x == previousX)
                reversed.push_back({LineKind::OnlyInSecond, b[y - 1]});
            else
                reversed.push_back({LineKind::OnlyInFirst, a[x - 1]});
        }
        x = previousX;
        y = previousY;
    }
}

// Myers' greedy search for the fewest lines to take out of `a` and put in
// from `b`. False when it needs more than kMaxEdits.
bool AppendShortestEdit(const Range& a, const Range& b, std::vector<DiffLine>& out) {
    const int n = a.Size(), m = b.Size();
    const int maxEdits = std::min(n + m, kMaxEdits);
    const int offset = maxEdits + 1;
    std::vector<int> v(static_cast<size_t>(2 * maxEdits + 3), 0);
    std::vector<std::vector<int>> furthest;
    for (int d = 0; d <= maxEdits; ++d) {
        furthest.emplace_back(v.begin() + offset - d - 1, v.begin() + offset + d + 2);
        for (int k = -d; k <= d; k += 2) {
            const size_t at = static_cast<size_t>(offset + k);
            int x = (k == -d || (k != d && v[at - 1] < v[at + 1])) ? v[at + 1] : v[at - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y])
                ++x, ++y;
            v[at] = x;
            if (x >= n && y >= m) {
                std::vector<DiffLine> reversed;
                AppendPathReversed(a, b, furthest, reversed);
                out.insert(out.end(), reversed.rbegin(), reversed.rend());
                return true;
            }
        }
    }
    return false;
}

void AppendAll(const Range& range, LineKind kind, std::vector<DiffLine>& out) {
    for (int i = 0; i < range.Size(); ++i)
        out.push_back({kind, range[i]});
}

// Within each run of changed lines, the first text's lines come first.
void OrderChanges(std::vector<DiffLine>& lines) {
    auto changed = [](const DiffLine& line) { return line.kind != LineKind::Unchanged; };
    for (auto start = lines.begin(); start != lines.end();) {
        start = std::find_if(start, lines.end(), changed);
        const auto end = std::find_if_not(start, lines.end(), changed);
        std::stable_partition(start, end, [](const DiffLine& line) { return line.kind == LineKind::OnlyInFirst; });
        start = end;
    }
}

bool EndsInLineBreak(std::string_view text) { return !text.empty() && (text.back() == '\r' || text.back() == '\n'); }

// The lines of `text`, each with the line break that ends it; without the
// one at the very end when `withLast` is false.
Lines LinesWithBreaks(std::string_view text, bool withLast) {
    Lines lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        if (end < text.size())
            end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    if (!withLast && EndsInLineBreak(text))
        lines.back() = SplitLines(lines.back()).front();
    return lines;
}

size_t CountUnchanged(const std::vector<DiffLine>& lines) {
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(),
                                             [](const DiffLine& line) { return line.kind == LineKind::Unchanged; }));
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::vector<DiffLine> CompareLines(const Lines& first, const Lines& second) {
    // Common beginning and end first: the search then only sees what changed.
    size_t head = 0;
    while (head < first.size() && head < second.size() && first[head] == second[head])
        ++head;
    size_t tail = 0;
    while (tail < first.size() - head && tail < second.size() - head &&
           first[first.size() - 1 - tail] == second[second.size() - 1 - tail])
        ++tail;
    const Range a{first, head, first.size() - tail}, b{second, head, second.size() - tail};

    std::vector<DiffLine> lines;
    AppendAll({first, 0, head}, LineKind::Unchanged, lines);
    if (!AppendShortestEdit(a, b, lines)) {
        AppendAll(a, LineKind::OnlyInFirst, lines);
        AppendAll(b, LineKind::OnlyInSecond, lines);
    }
    AppendAll({first, first.size() - tail, first.size()}, LineKind::Unchanged, lines);
    OrderChanges(lines);
    return lines;
}

std::vector<DiffLine> AroundChanges(const std::vector<DiffLine>& lines, size_t context) {
    std::vector<DiffLine> shown;
    for (size_t start = 0; start < lines.size();) {
        if (lines[start].kind != LineKind::Unchanged) {
            shown.push_back(lines[start++]);
            continue;
        }
        size_t end = start;
        while (end < lines.size() && lines[end].kind == LineKind::Unchanged)
            ++end;
        const size_t before = start == 0 ? 0 : context;          // after a change
        const size_t after = end == lines.size() ? 0 : context;  // before a change
        // A marker in place of a single line would hide it for nothing.
        if (end - start <= before + after + 1) {
            shown.insert(shown.end(), lines.begin() + start, lines.begin() + end);
        } else {
            shown.insert(shown.end(), lines.begin() + start, lines.begin() + start + before);
            shown.push_back({LineKind::Skipped, "", end - start - before - after});
            shown.insert(shown.end(), lines.begin() + end - after, lines.begin() + end);
        }
        start = end;
    }
    return shown;
}

std::string DifferencesLinesDoNotShow(std::string_view first, std::string_view second) {
    const std::string_view shownFirst = first.substr(0, first.find('\0'));
    const std::string_view shownSecond = second.substr(0, second.find('\0'));
    const bool finalBreakDiffers = EndsInLineBreak(shownFirst) != EndsInLineBreak(shownSecond);
    // A line both hold that matches only without its line break: the breaks differ.
    const size_t sameWithBreaks = CountUnchanged(CompareLines(LinesWithBreaks(shownFirst, !finalBreakDiffers),
                                                              LinesWithBreaks(shownSecond, !finalBreakDiffers)));
    const size_t same = CountUnchanged(CompareLines(SplitLines(shownFirst), SplitLines(shownSecond)));
    std::string differences;
    auto add = [&differences](const char* difference) {
        differences += (differences.empty() ? "" : ", ") + std::string(difference);
    };
    if (sameWithBreaks < same)
        add("line breaks");
    if (finalBreakDiffers)
        add("a final line break");
    if (first.substr(shownFirst.size()) != second.substr(shownSecond.size()))
        add("bytes after a zero byte");
    return differences.empty() ? "" : "The files also differ in what the lines do not show: " + differences;
}
