#include "core/FourByteText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Four(char32_t c)
{
    char out[4] = {};
    return EncodeFourBytes(c, out) ? std::string(out, 4) : std::string("none");
}

} // namespace

// The bytes GB18030 itself gives these characters: the first and last of the Basic
// Multilingual Plane's sequences, one from inside a run, Hangul, a symbol, a character past
// the plane; and those with a two-byte code (é, €, ¤), which take none.
TEST(FourByteText, TheStandardsBytesAndNoneForCharactersWithShorterCodes)
{
    EXPECT_EQ(Four(0x0080), "\x81\x30\x81\x30");
    EXPECT_EQ(Four(0x0151), "\x81\x30\x93\x32");
    EXPECT_EQ(Four(0xAC00), "\x82\x37\xCF\x35");
    EXPECT_EQ(Four(0x2615), "\x81\x37\xA4\x35");
    EXPECT_EQ(Four(0xFFFF), "\x84\x31\xA4\x39");
    EXPECT_EQ(Four(0x1F600), "\x94\x39\xFC\x36");
    EXPECT_EQ(Four(0x10000), "\x90\x30\x81\x30");
    EXPECT_EQ(Four(0x10FFFF), "\xE3\x32\x9A\x35");
    for (char32_t c : {U'\u00E9', U'\u20AC', U'\u00A4', U'A', U'\u4E2D'})
        EXPECT_EQ(Four(c), "none") << static_cast<unsigned>(c);
    for (char32_t c : {char32_t(0xD800), char32_t(0xDFFF), char32_t(0x110000)})
        EXPECT_EQ(Four(c), "none") << static_cast<unsigned>(c);
}

// Every character that takes four bytes comes back from them, and nothing else does: a
// wrong run length would give two characters one sequence.
TEST(FourByteText, EveryCharacterComesBackAndOnlyFourByteSequencesAreRead)
{
    unsigned planeZero = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        char out[4];
        if (!EncodeFourBytes(c, out))
            continue;
        planeZero += c < 0x10000 ? 1 : 0;
        ASSERT_TRUE(StartsFourBytes(std::string_view(out, 4)));
        ASSERT_EQ(DecodeFourBytes(std::string_view(out, 4)), c) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(planeZero, 39420u);
    EXPECT_FALSE(StartsFourBytes("\xD6\xD0")) << "a two-byte code: its second byte is no digit";
    EXPECT_FALSE(StartsFourBytes("\x80\x30")) << "a lone 0x80 is 936's euro, no lead byte";
    EXPECT_EQ(DecodeFourBytes("\x81\x30\x81"), 0u) << "cut short";
    EXPECT_EQ(DecodeFourBytes("\x84\x31\xA5\x30"), 0u) << "between the planes: nothing";
    EXPECT_EQ(DecodeFourBytes("\xE3\x32\x9A\x36"), 0u) << "past the last character";
    EXPECT_EQ(DecodeFourBytes("\x81\x30\x81\x3A"), 0u);
}
