// The searches the Find test of the real program does not make: a match
// ending right at the caret going up, letters beyond ASCII without Match
// case, surrogate pairs, and texts that cannot hold what is looked for.
#include "core/text_search.h"

#include <gtest/gtest.h>

namespace {

size_t StartOf(const std::optional<TextMatch>& match) { return match ? match->start : std::wstring::npos; }

}  // namespace

TEST(FindInText, UpTakesAMatchEndingAtTheCaretAndWrapsToTheLastOne) {
    const std::wstring text = L"Alpha beta ALPHA gamma alpha";
    EXPECT_EQ(StartOf(FindInText(text, {L"alpha", false, false}, 16, 16)), 11u);
    const std::optional<TextMatch> wrapped = FindInText(text, {L"alpha", false, false}, 3, 3);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->start, 23u);
    EXPECT_TRUE(wrapped->wrapped);
}

TEST(FindInText, WithoutMatchCaseLettersBeyondAsciiFoldAndSurrogatePairsAreFound) {
    EXPECT_EQ(StartOf(FindInText(L"x \u00C4RGER \u0416", {L"\u00E4rger", true, false}, 0, 0)), 2u);
    EXPECT_EQ(StartOf(FindInText(L"x \u00C4RGER \u0416", {L"\u0436", true, false}, 0, 0)), 8u);
    EXPECT_FALSE(FindInText(L"x \u00C4RGER", {L"\u00E4rger", true, true}, 0, 0));
    EXPECT_EQ(StartOf(FindInText(L"surrogates \U0001F600 here", {L"\U0001F600", true, true}, 0, 0)), 11u);
}

TEST(FindInText, FindsNothingInAShorterTextOrWhenNothingIsLookedFor) {
    EXPECT_FALSE(FindInText(L"alp", {L"alpha", false, false}, 0, 0));
    EXPECT_FALSE(FindInText(L"alpha", {L"", true, false}, 0, 0));
}
