#pragma once
// Line by line comparison of two texts: which lines only the first holds,
// which only the second, and which both, in the order they appear.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Note: a line about the texts as a whole, not one of theirs.
enum class LineKind { Unchanged, OnlyInFirst, OnlyInSecond, Skipped, Note };

struct DiffLine {
    LineKind kind;
    std::string text;
    size_t skipped = 0;  // Skipped: how many unchanged lines this one stands for
};

// The lines of `text`, as views into it: CR+LF, a lone CR and a lone LF each
// end a line; a break at the very end starts no further line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The lines of both, each once: unchanged lines are the most lines the two
// have in common in the same order; what one holds beyond them is marked as
// only in that one, the first's lines before the second's where both changed
// at the same place. Texts whose lines in common need more than 20,000 lines
// taken out and put in, between their common beginning and end, show all of
// that middle as changed.
std::vector<DiffLine> CompareLines(const std::vector<std::string_view>& first,
                                   const std::vector<std::string_view>& second);

// The changed lines with up to `context` unchanged lines before and after
// each; every longer run of unchanged lines becomes one Skipped line.
std::vector<DiffLine> AroundChanges(const std::vector<DiffLine>& lines, size_t context);

// How two files differ beyond what their lines show, in words: in their line
// breaks (CR+LF, CR or LF) where they hold the same line, in a line break at
// the very end, and in the bytes from a zero byte on. Empty when they do not.
std::string DifferencesLinesDoNotShow(std::string_view first, std::string_view second);

// What comparing two files' bytes shows: a Note line with what the lines do
// not show, if anything, then the lines the editor shows of each (up to a
// zero byte) with `context` unchanged lines around each change. The lines
// are compared once for both.
std::vector<DiffLine> CompareFiles(std::string_view first, std::string_view second, size_t context);
