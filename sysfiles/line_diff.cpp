#include "sysfiles/line_diff.h"

#include <algorithm>
#include <functional>
#include <future>

namespace {

using Views = std::vector<std::string_view>;

// Beyond this many lines taken out and put in, the search for the lines in
// common would take seconds: the whole middle is shown as changed instead.
constexpr int kMaxEdits = 20000;

// A text's lines as numbers, equal lines the same number: the search then
// compares numbers, not strings.
struct Numbered {
    std::vector<int> first, second;
};

// An open-addressing table of the distinct lines: a node per line, as a
// std::unordered_map makes, costs more than all the comparing.
Numbered NumberLines(const Views& first, const Views& second) {
    size_t slots = 1;
    while (slots < 2 * (first.size() + second.size()))
        slots *= 2;
    // Each slot holds its line's number + 1 (0: free); `distinct` its text.
    std::vector<int> table(slots, 0);
    Views distinct;
    Numbered numbered;
    for (auto [lines, out] : {std::pair{&first, &numbered.first}, std::pair{&second, &numbered.second}}) {
        out->reserve(lines->size());
        for (std::string_view line : *lines) {
            size_t slot = std::hash<std::string_view>{}(line) & (slots - 1);
            while (table[slot] && distinct[static_cast<size_t>(table[slot] - 1)] != line)
                slot = (slot + 1) & (slots - 1);
            if (!table[slot]) {
                distinct.push_back(line);
                table[slot] = static_cast<int>(distinct.size());
            }
            out->push_back(table[slot] - 1);
        }
    }
    return numbered;
}

// Myers' search in linear space: which lines of `a` and `b` are not among the
// most lines the two have in common in order, marked in `changedA` and
// `changedB` (indexed like `a` and `b`).
class ShortestEdit {
public:
    ShortestEdit(const std::vector<int>& a, const std::vector<int>& b, std::vector<char>& changedA,
                 std::vector<char>& changedB)
        : a_(a), b_(b), changedA_(changedA), changedB_(changedB) {
        const size_t diagonals = 2 * static_cast<size_t>(std::min<size_t>(a.size() + b.size(), kMaxEdits)) + 5;
        forward_.resize(diagonals);
        backward_.resize(diagonals);
        offset_ = static_cast<int>(diagonals / 2);
    }

    // Past kMaxEdits all lines between the common beginning and end count as changed.
    void Run() {
        Range whole{0, static_cast<int>(a_.size()), 0, static_cast<int>(b_.size())};
        Trim(whole);
        Snake middle{};
        if (whole.Empty() || !FindMiddle(whole, kMaxEdits, middle))
            return Mark(whole);
        Split(whole, middle);
    }

private:
    // Lines [aBegin, aEnd) of a and [bBegin, bEnd) of b.
    struct Range {
        int aBegin, aEnd, bBegin, bEnd;
        int N() const { return aEnd - aBegin; }
        int M() const { return bEnd - bBegin; }
        bool Empty() const { return N() == 0 || M() == 0; }
    };
    // A run of lines in common from (x, y) to (u, v), relative to its range.
    struct Snake {
        int x, y, u, v;
    };

    // Takes off the lines in common at both ends.
    void Trim(Range& range) const {
        while (range.aBegin < range.aEnd && range.bBegin < range.bEnd && a_[range.aBegin] == b_[range.bBegin])
            ++range.aBegin, ++range.bBegin;
        while (range.aBegin < range.aEnd && range.bBegin < range.bEnd && a_[range.aEnd - 1] == b_[range.bEnd - 1])
            --range.aEnd, --range.bEnd;
    }

    // A range with one side empty: all of the other side changed.
    void Mark(const Range& range) {
        std::fill(changedA_.begin() + range.aBegin, changedA_.begin() + range.aEnd, 1);
        std::fill(changedB_.begin() + range.bBegin, changedB_.begin() + range.bEnd, 1);
    }

    void Solve(Range range) {
        Trim(range);
        if (range.Empty())
            return Mark(range);
        Snake middle{};
        FindMiddle(range, kMaxEdits, middle);  // never more edits than the whole needed
        Split(range, middle);
    }

    // Both sides of the middle snake; with both ends trimmed a range needs at
    // least two edits, so each side needs fewer than the whole.
    void Split(const Range& range, const Snake& middle) {
        Solve({range.aBegin, range.aBegin + middle.x, range.bBegin, range.bBegin + middle.y});
        Solve({range.aBegin + middle.u, range.aEnd, range.bBegin + middle.v, range.bEnd});
    }

    int& Forward(int k) { return forward_[static_cast<size_t>(offset_ + k)]; }
    int& Backward(int k) { return backward_[static_cast<size_t>(offset_ + k)]; }

    // The snake in the middle of a shortest edit path through `range`,
    // searching from both ends at once (Myers 1986, section 4b). Backward
    // positions count from the range's end.
    bool FindMiddle(const Range& range, int maxEdits, Snake& middle) {
        const int n = range.N(), m = range.M(), delta = n - m;
        const bool odd = (delta & 1) != 0;
        auto a = [&](int x) { return a_[static_cast<size_t>(range.aBegin + x)]; };
        auto b = [&](int y) { return b_[static_cast<size_t>(range.bBegin + y)]; };
        Forward(1) = 0;
        Backward(1) = 0;
        for (int d = 0; d <= (n + m + 1) / 2; ++d) {
            if (d > maxEdits / 2 + 1)
                return false;
            for (int k = -d; k <= d; k += 2) {
                int x = (k == -d || (k != d && Forward(k - 1) < Forward(k + 1))) ? Forward(k + 1) : Forward(k - 1) + 1;
                const int x0 = x;
                while (x < n && x - k < m && a(x) == b(x - k))
                    ++x;
                Forward(k) = x;
                const int c = delta - k;  // the same diagonal seen from the end
                if (odd && c >= -(d - 1) && c <= d - 1 && x + Backward(c) >= n) {
                    middle = {x0, x0 - k, x, x - k};
                    return true;
                }
            }
            for (int c = -d; c <= d; c += 2) {
                int x =
                    (c == -d || (c != d && Backward(c - 1) < Backward(c + 1))) ? Backward(c + 1) : Backward(c - 1) + 1;
                const int x0 = x;
                while (x < n && x - c < m && a(n - 1 - x) == b(m - 1 - (x - c)))
                    ++x;
                Backward(c) = x;
                const int k = delta - c;
                if (!odd && k >= -d && k <= d && x + Forward(k) >= n) {
                    middle = {n - x, m - (x - c), n - x0, m - (x0 - c)};
                    return true;
                }
            }
        }
        return false;
    }

    const std::vector<int>& a_;
    const std::vector<int>& b_;
    std::vector<char>& changedA_;
    std::vector<char>& changedB_;
    std::vector<int> forward_, backward_;
    int offset_ = 0;
};

// Indexes of the lines of `lines` whose number `other` holds too.
std::vector<int> Matchable(const std::vector<int>& lines, const std::vector<int>& other, size_t numbers) {
    std::vector<char> present(numbers, 0);
    for (int number : other)
        present[static_cast<size_t>(number)] = 1;
    std::vector<int> kept;
    for (size_t i = 0; i < lines.size(); ++i)
        if (present[static_cast<size_t>(lines[i])])
            kept.push_back(static_cast<int>(i));
    return kept;
}

std::vector<int> Pick(const std::vector<int>& lines, const std::vector<int>& indexes) {
    std::vector<int> picked;
    picked.reserve(indexes.size());
    for (int index : indexes)
        picked.push_back(lines[static_cast<size_t>(index)]);
    return picked;
}

// For each line of both texts whether it is outside the lines in common.
struct Changed {
    std::vector<char> first, second;
};

// A line only one text holds can never be in common: the search only sees
// the others, which keeps it short where a text was rewritten in part.
Changed FindChanged(const Views& firstLines, const Views& secondLines) {
    const Numbered numbered = NumberLines(firstLines, secondLines);
    const size_t numbers = firstLines.size() + secondLines.size();
    const std::vector<int> keptFirst = Matchable(numbered.first, numbered.second, numbers);
    const std::vector<int> keptSecond = Matchable(numbered.second, numbered.first, numbers);
    const std::vector<int> a = Pick(numbered.first, keptFirst), b = Pick(numbered.second, keptSecond);
    std::vector<char> changedA(a.size(), 0), changedB(b.size(), 0);
    ShortestEdit(a, b, changedA, changedB).Run();
    Changed changed{std::vector<char>(firstLines.size(), 1), std::vector<char>(secondLines.size(), 1)};
    for (size_t i = 0; i < keptFirst.size(); ++i)
        changed.first[static_cast<size_t>(keptFirst[i])] = changedA[i];
    for (size_t i = 0; i < keptSecond.size(); ++i)
        changed.second[static_cast<size_t>(keptSecond[i])] = changedB[i];
    return changed;
}

// Calls `step(kind, i, j)` for every line of both in order: i indexes the
// first's lines, j the second's; in each run of changes the first's lines
// come first.
template <typename Step>
void Walk(const Changed& changed, Step step) {
    const size_t n = changed.first.size(), m = changed.second.size();
    size_t i = 0, j = 0;
    while (i < n || j < m) {
        for (; i < n && changed.first[i]; ++i)
            step(LineKind::OnlyInFirst, i, j);
        for (; j < m && changed.second[j]; ++j)
            step(LineKind::OnlyInSecond, i, j);
        if (i < n && j < m)
            step(LineKind::Unchanged, i++, j++);
    }
}

// One line of the comparison: its kind, and where it is in the first text
// (OnlyInFirst, Unchanged) or the second (OnlyInSecond).
struct Step {
    LineKind kind;
    size_t first, second;
};

std::vector<Step> Steps(const Changed& changed) {
    std::vector<Step> steps;
    steps.reserve(std::max(changed.first.size(), changed.second.size()));
    Walk(changed, [&](LineKind kind, size_t i, size_t j) { steps.push_back({kind, i, j}); });
    return steps;
}

DiffLine LineOf(const Step& step, const Views& first, const Views& second) {
    return {step.kind, std::string(step.kind == LineKind::OnlyInSecond ? second[step.second] : first[step.first])};
}

// The changed lines of `lines` with up to `context` unchanged lines around
// each, as AroundChanges tells; `make` turns one of `lines` into its DiffLine.
template <typename Line, typename Make>
std::vector<DiffLine> AroundChangesOf(const std::vector<Line>& lines, size_t context, Make make) {
    std::vector<DiffLine> shown;
    auto show = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            shown.push_back(make(lines[i]));
    };
    for (size_t start = 0; start < lines.size();) {
        if (lines[start].kind != LineKind::Unchanged) {
            show(start, start + 1);
            ++start;
            continue;
        }
        size_t end = start;
        while (end < lines.size() && lines[end].kind == LineKind::Unchanged)
            ++end;
        const size_t before = start == 0 ? 0 : context;          // after a change
        const size_t after = end == lines.size() ? 0 : context;  // before a change
        // A marker in place of a single line would hide it for nothing.
        if (end - start <= before + after + 1) {
            show(start, end);
        } else {
            show(start, start + before);
            shown.push_back({LineKind::Skipped, "", end - start - before - after});
            show(end - after, end);
        }
        start = end;
    }
    return shown;
}

// A text's lines and the line break that ends each (empty for none).
struct TextLines {
    Views lines, breaks;
};

TextLines LinesWithBreaks(std::string_view text) {
    TextLines split;
    const size_t expected = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    split.lines.reserve(expected);
    split.breaks.reserve(expected);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const size_t breakLength = end == text.size() ? 0 : text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        split.lines.push_back(text.substr(start, end - start));
        split.breaks.push_back(text.substr(end, breakLength));
        start = end + std::max<size_t>(breakLength, 1);
    }
    return split;
}

bool EndsInLineBreak(std::string_view text) { return !text.empty() && (text.back() == '\r' || text.back() == '\n'); }

// Whether a line both hold ends in different line breaks; the last lines'
// breaks do not count when only one text has a final break.
bool BreaksDiffer(const Changed& changed, const TextLines& first, const TextLines& second, bool finalBreakDiffers) {
    const size_t lastFirst = first.lines.size() - 1, lastSecond = second.lines.size() - 1;
    bool differ = false;
    Walk(changed, [&](LineKind kind, size_t i, size_t j) {
        if (kind != LineKind::Unchanged || (finalBreakDiffers && (i == lastFirst || j == lastSecond)))
            return;
        differ = differ || first.breaks[i] != second.breaks[j];
    });
    return differ;
}

std::string_view Shown(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string Differences(std::string_view first, std::string_view second, const TextLines& firstLines,
                        const TextLines& secondLines, const Changed& changed) {
    const std::string_view shownFirst = Shown(first), shownSecond = Shown(second);
    const bool finalBreakDiffers = EndsInLineBreak(shownFirst) != EndsInLineBreak(shownSecond);
    std::string differences;
    auto add = [&differences](const char* difference) {
        differences += (differences.empty() ? "" : ", ") + std::string(difference);
    };
    if (BreaksDiffer(changed, firstLines, secondLines, finalBreakDiffers))
        add("line breaks");
    if (finalBreakDiffers)
        add("a final line break");
    if (first.substr(shownFirst.size()) != second.substr(shownSecond.size()))
        add("bytes after a zero byte");
    return differences.empty() ? "" : "The files also differ in what the lines do not show: " + differences;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) { return LinesWithBreaks(text).lines; }

std::vector<DiffLine> CompareLines(const Views& first, const Views& second) {
    std::vector<DiffLine> lines;
    for (const Step& step : Steps(FindChanged(first, second)))
        lines.push_back(LineOf(step, first, second));
    return lines;
}

std::vector<DiffLine> AroundChanges(const std::vector<DiffLine>& lines, size_t context) {
    return AroundChangesOf(lines, context, [](const DiffLine& line) { return line; });
}

std::string DifferencesLinesDoNotShow(std::string_view first, std::string_view second) {
    const TextLines firstLines = LinesWithBreaks(Shown(first)), secondLines = LinesWithBreaks(Shown(second));
    return Differences(first, second, firstLines, secondLines, FindChanged(firstLines.lines, secondLines.lines));
}

std::vector<DiffLine> CompareFiles(std::string_view first, std::string_view second, size_t context) {
    // Two files of megabytes: each split on a processor of its own.
    std::future<TextLines> splitSecond = std::async(std::launch::async, LinesWithBreaks, Shown(second));
    const TextLines firstLines = LinesWithBreaks(Shown(first)), secondLines = splitSecond.get();
    const Changed changed = FindChanged(firstLines.lines, secondLines.lines);
    // Only the lines shown become strings: a few hundred of a file's 100,000.
    std::vector<DiffLine> lines = AroundChangesOf(
        Steps(changed), context, [&](const Step& step) { return LineOf(step, firstLines.lines, secondLines.lines); });
    std::string note = Differences(first, second, firstLines, secondLines, changed);
    if (!note.empty())
        lines.insert(lines.begin(), DiffLine{LineKind::Note, std::move(note)});
    return lines;
}
