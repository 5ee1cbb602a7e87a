#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Named(std::string_view bytes)
{
    const DetectedEncoding found = DetectTextEncoding(bytes);
    const char* names[] = {"936", "utf-8", "utf-16le", "utf-16be"};
    return std::string(names[static_cast<int>(found.encoding)]) + "+" + std::to_string(found.markLength);
}

} // namespace

// What a user's text files are: a mark says which; without one, UTF-8 only when the bytes
// can be nothing else, so that every file read before reads as it did.
TEST(TextEncoding, MarksThenWellFormedUtf8ThenTheCodePage)
{
    EXPECT_EQ(Named("\xEF\xBB\xBF" "abc"), "utf-8+3");
    EXPECT_EQ(Named("\xE4\xB8\xAD\xE6\x96\x87 UTF-8 \xC3\xA7" "a"), "utf-8+0");
    EXPECT_EQ(Named(std::string_view("\xFF\xFE" "a\0", 4)), "utf-16le+2");
    EXPECT_EQ(Named(std::string_view("\xFE\xFF\0a", 4)), "utf-16be+2");
    EXPECT_EQ(Named("plain ASCII"), "936+0") << "the same either way: as it always was";
    EXPECT_EQ(Named(""), "936+0");
    EXPECT_EQ(Named("\xD6\xD0\xCE\xC4"), "936+0") << "GBK is no UTF-8";
    EXPECT_EQ(Named("\xEF\xBB\xBF\xD6\xD0"), "936+0") << "a mark on bytes that are not UTF-8";
}

TEST(TextEncoding, OnlyWellFormedUtf8)
{
    EXPECT_TRUE(IsWellFormedUtf8("\xF0\x9F\x98\x80 \xEF\xBF\xBF \xC2\x80 \xF4\x8F\xBF\xBF")) << "U+10FFFF is the last";
    EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF")) << "overlong";
    EXPECT_FALSE(IsWellFormedUtf8("\xE0\x80\xAF")) << "overlong";
    EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80")) << "past U+10FFFF";
    EXPECT_FALSE(IsWellFormedUtf8(std::string_view("\xE4\xB8\xAD", 2))) << "cut short, the rest beyond the text";
    EXPECT_FALSE(IsWellFormedUtf8("\x80"));
}
