#include "core/text_search.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kText = L"Alpha beta ALPHA gamma alpha";  // "alpha" at 0, 11, 23

size_t StartOf(const std::optional<TextMatch>& match) { return match ? match->start : std::wstring::npos; }

}  // namespace

TEST(FindInText, DownFindsTheNextMatchAfterTheSelectionAndWrapsOnceAtTheEnd) {
    const TextSearch search{L"alpha", true, false};
    EXPECT_EQ(StartOf(FindInText(kText, search, 0, 0)), 0u) << "from the caret, a match right there";
    EXPECT_EQ(StartOf(FindInText(kText, search, 0, 5)), 11u) << "past the match selected";
    const std::optional<TextMatch> wrapped = FindInText(kText, search, 23, 28);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->start, 0u);
    EXPECT_TRUE(wrapped->wrapped);
    EXPECT_FALSE(FindInText(kText, search, 0, 5)->wrapped);
}

TEST(FindInText, UpFindsTheLastMatchEndingBeforeTheSelectionAndWrapsToTheEnd) {
    const TextSearch search{L"alpha", false, false};
    EXPECT_EQ(StartOf(FindInText(kText, search, 23, 28)), 11u);
    EXPECT_EQ(StartOf(FindInText(kText, search, 16, 16)), 11u) << "a match ending at the caret";
    const std::optional<TextMatch> wrapped = FindInText(kText, search, 3, 3);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->start, 23u);
    EXPECT_TRUE(wrapped->wrapped);
}

TEST(FindInText, MatchCaseSkipsOtherCasesAndWithoutItLettersBeyondAsciiFoldToo) {
    EXPECT_EQ(StartOf(FindInText(kText, {L"ALPHA", true, true}, 0, 0)), 11u);
    EXPECT_EQ(StartOf(FindInText(kText, {L"ALPHA", true, true}, 12, 12)), 11u) << "the only one, after wrapping";
    EXPECT_EQ(StartOf(FindInText(L"x \u00C4RGER \u0416", {L"\u00E4rger", true, false}, 0, 0)), 2u);
    EXPECT_EQ(StartOf(FindInText(L"x \u00C4RGER \u0416", {L"\u0436", true, false}, 0, 0)), 8u);
    EXPECT_FALSE(FindInText(L"x \u00C4RGER", {L"\u00E4rger", true, true}, 0, 0));
}

TEST(FindInText, FindsNothingWhenTheTextDoesNotHoldItOrIsShorterOrNothingIsLookedFor) {
    EXPECT_FALSE(FindInText(kText, {L"delta", true, false}, 0, 0));
    EXPECT_FALSE(FindInText(L"alp", {L"alpha", false, false}, 0, 0));
    EXPECT_FALSE(FindInText(kText, {L"", true, false}, 0, 0));
    EXPECT_EQ(StartOf(FindInText(L"surrogates \U0001F600 here", {L"\U0001F600", true, true}, 0, 0)), 11u);
}
