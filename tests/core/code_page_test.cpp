#include "core/code_page.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kWestern = 1252, kJapanese = 932;

size_t Unstorable(const std::wstring& text, UINT codePage) { return EncodeText(text, codePage).unstorable; }

}  // namespace

TEST(EncodeText, CountsEachCharacterTheCodePageCannotHoldAndNeverPicksALookAlike) {
    // An arrow, a letter with a macron, a pair of surrogates, and half of one.
    const EncodedText western = EncodeText(
        L"a\x2192"
        L"b\x0101"
        L"c\xD83D\xDE00"
        L"d\xD800",
        kWestern);
    EXPECT_EQ(western.unstorable, 4u);
    EXPECT_EQ(western.bytes.substr(0, 4), "a?b?") << "the macron letter became a look-alike";

    EXPECT_EQ(EncodeText(L"\xE9t\xE9 \x20AC 5? [x]", kWestern).bytes, "\xE9t\xE9 \x80 5? [x]");
    EXPECT_EQ(Unstorable(L"\xE9t\xE9 \x20AC 5? [x]", kWestern), 0u) << "a question mark of the text's own";
    EXPECT_EQ(Unstorable(L"", kWestern), 0u);

    EXPECT_EQ(Unstorable(L"\x65E5\x672C", kJapanese), 0u);
    EXPECT_EQ(Unstorable(L"\x65E5\x00E9", kJapanese), 1u) << "no e with an accent in the Japanese code page";

    const EncodedText utf8 = EncodeText(L"\x2192\xD83D\xDE00", CP_UTF8);
    EXPECT_EQ(utf8.bytes, "\xE2\x86\x92\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8.unstorable, 0u);
    EXPECT_EQ(Unstorable(L"a\xDC00"
                         L"b",
                         CP_UTF8),
              1u)
        << "half a surrogate pair";
}

TEST(EncodeText, ALongTextCountsEachCharacterOnceWhereverItLies) {
    // A pair across the edge of the pieces the count goes through, and arrows
    // at either end.
    std::wstring text(4095, L'x');
    text += L"\xD83D\xDE00";
    text += std::wstring(10000, L'y');
    text = L"\x2192" + text + L"\x2192";
    EXPECT_EQ(Unstorable(text, kWestern), 3u);
    EXPECT_EQ(Unstorable(std::wstring(20000, L'z'), kWestern), 0u);
}

TEST(EncodeText, AsciiAroundOneOtherCharacterComesThroughBothWaysExactly) {
    std::string ascii;
    for (int i = 0; i < 50000; ++i)
        ascii += static_cast<char>(i % 0x80);
    const std::wstring wide = DecodeText(ascii, 1252);
    ASSERT_EQ(wide.size(), ascii.size());
    EXPECT_EQ(wide[0x41], L'A');
    EXPECT_EQ(EncodeText(wide, 1252).bytes, ascii);
    EXPECT_EQ(EncodeText(wide + L"\u0101" + wide, 1252).unstorable, 1U) << "one a-macron among ASCII";
    EXPECT_EQ(DecodeText(ascii + "\xE9", 1252).back(), L'\u00E9');
}

TEST(ComesBackUnchanged, OnlyBytesThatAreTextInTheCodePage) {
    EXPECT_TRUE(ComesBackUnchanged("[boot]\r\nshell=explorer.exe\r\n", kJapanese));
    EXPECT_TRUE(ComesBackUnchanged("\xE9t\xE9 \x80", kWestern));
    EXPECT_TRUE(ComesBackUnchanged("\x82\xA0 \x93\xFA", kJapanese));
    EXPECT_FALSE(ComesBackUnchanged("a\x81 b", kJapanese)) << "a lead byte without its second byte";
    EXPECT_TRUE(ComesBackUnchanged("caf\xC3\xA9 \xE2\x86\x92", CP_UTF8));
    EXPECT_FALSE(ComesBackUnchanged("caf\xC3(", CP_UTF8));
    EXPECT_FALSE(ComesBackUnchanged("end \xE2\x86", CP_UTF8)) << "a character cut short";
    EXPECT_FALSE(ComesBackUnchanged("caf\xE9", CP_UTF8)) << "a Western file read as UTF-8";
}
