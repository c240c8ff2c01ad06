#include "core/json.h"

#include <gtest/gtest.h>

TEST(JsonString, EscapesQuoteBackslashAndEveryControlCharacterAndKeepsTheRest) {
    EXPECT_EQ(JsonString("say \"hi\" \\ 50%"), R"("say \"hi\" \\ 50%")");
    EXPECT_EQ(JsonString("a\tb\r\nc\b\f"), R"("a\tb\r\nc\b\f")");
    EXPECT_EQ(JsonString(std::string("\x01\x1F\x7F", 3)), "\"\\u0001\\u001F\x7F\"");
    EXPECT_EQ(JsonString(std::string("nul\0end", 7)), R"("nul\u0000end")");
    EXPECT_EQ(JsonString("M\xC3\xBCller / \xE2\x82\xAC"), "\"M\xC3\xBCller / \xE2\x82\xAC\"") << "UTF-8 as it is";
    EXPECT_EQ(JsonString(""), "\"\"");
}

TEST(Utf8From, ConvertsFromTheCodePageTheTextIsIn) {
    EXPECT_EQ(Utf8From("M\xFCller \x80", 1252), "M\xC3\xBCller \xE2\x82\xAC");
    EXPECT_EQ(Utf8From("\x81", 437), "\xC3\xBC") << "the OEM code page's u umlaut";
    EXPECT_EQ(Utf8From("plain", CP_ACP), "plain");
}
