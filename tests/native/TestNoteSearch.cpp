#include "core/NoteSearch.h"

#include <gtest/gtest.h>

namespace {

// Lead bytes of code page 936.
bool Gbk(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

constexpr auto npos = std::string::npos;

TEST(FindAnsiNoCase, LettersMatchEitherCaseAndEverythingElseExactly)
{
    EXPECT_EQ(FindAnsiNoCase("Brown BREAD box", "bread", Gbk), 6u);
    EXPECT_EQ(FindAnsiNoCase("brown bread", "BrEaD", Gbk), 6u);
    // Only A-Z fold: the neighbours of the letter ranges stay themselves.
    EXPECT_EQ(FindAnsiNoCase("a[b", "a{b", Gbk), npos);
    EXPECT_EQ(FindAnsiNoCase("x@y", "x`y", Gbk), npos);
    EXPECT_EQ(FindAnsiNoCase("xAZ", "az", Gbk), 1u);
    EXPECT_EQ(FindAnsiNoCase("xAZ", "z", Gbk), 2u);
    // "中文" and "中" in code page 936; double-byte characters match only themselves.
    EXPECT_EQ(FindAnsiNoCase("ab\xD6\xD0\xCE\xC4", "\xD6\xD0", Gbk), 2u);
    EXPECT_EQ(FindAnsiNoCase("\xD6\xD0\xCE\xC4", "\xCE\xC4", Gbk), 2u);
    EXPECT_EQ(FindAnsiNoCase("\xD6\xD0", "\xD6\xF0", Gbk), npos);
    EXPECT_EQ(FindAnsiNoCase("abc", "abcd", Gbk), npos);
}

TEST(FindAnsiNoCase, TrailBytesThatAreLettersAreNeitherMatchedNorFolded)
{
    // 0xB0 0x42 is one character whose trail byte is 'B', 0xB0 0x62 one whose trail is 'b'.
    EXPECT_EQ(FindAnsiNoCase("\xB0" "Bread", "bread", Gbk), npos);
    EXPECT_EQ(FindAnsiNoCase("\xB0" "bread", "BREAD", Gbk), npos);
    EXPECT_EQ(FindAnsiNoCase("\xB0" "bread", "read", Gbk), 2u);
    // The character itself is found only with its own trail byte, not with the other case.
    EXPECT_EQ(FindAnsiNoCase("x\xB0" "B", "\xB0" "b", Gbk), npos);
    EXPECT_EQ(FindAnsiNoCase("x\xB0" "B", "\xB0" "B", Gbk), 1u);
    // A needle ending in a lone lead byte never matches half of a character.
    EXPECT_EQ(FindAnsiNoCase("a\xB0" "B", "a\xB0", Gbk), npos);
}

TEST(MatchNote, TheLineOfTheTextWhereTheMatchIs)
{
    const std::string text = "milk\r\n  Brown BREAD box\t\r\neggs and bread\r\n";
    EXPECT_EQ(MatchNote("Groceries", text, "bread", Gbk), "Brown BREAD box");
    EXPECT_EQ(MatchNote("Groceries", text, "eggs", Gbk), "eggs and bread");
    EXPECT_EQ(MatchNote("Groceries", "one\rtwo\nthree", "TWO", Gbk), "two");
    EXPECT_EQ(MatchNote("Groceries", "first\r\nlast", "RST", Gbk), "first");
    EXPECT_EQ(MatchNote("Groceries", "first\r\nlast", "LAST", Gbk), "last");
    // A match in the title alone shows the first line that has something on it.
    EXPECT_EQ(MatchNote("Bread recipe", "\r\n  \r\nflour\r\nwater", "bread", Gbk), "flour");
    EXPECT_EQ(MatchNote("Bread recipe", "", "bread", Gbk), "");
    EXPECT_EQ(MatchNote("Bread recipe", " \r\n\tend", "bread", Gbk), "end");
    EXPECT_EQ(MatchNote("Groceries", text, "butter", Gbk), std::nullopt);
    EXPECT_EQ(MatchNote("\xB0" "Bread", "\xB0" "bread", "bread", Gbk), std::nullopt);
}

} // namespace
