#include "core/RtfBeginning.h"
#include "core/RtfText.h"

#include <gtest/gtest.h>

namespace {

// Code page 1252 as Latin-1, and the few code page 936 characters used here; what it does
// not know becomes '?', a code page it does not know '#'.
std::u16string Decode(unsigned codePage, std::string_view bytes)
{
    static const std::pair<std::string_view, char16_t> kChinese[] = {
        {"\xD6\xD0", u'\u4E2D'}, {"\xCE\xC4", u'\u6587'}, {"\xB0" "B", u'\u7647'}};
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || codePage == 1252) {
            out += b;
        } else if (codePage == 936 && i + 1 < bytes.size()) {
            const std::string_view pair = bytes.substr(i++, 2);
            char16_t c = u'?';
            for (const auto& [gbk, unicode] : kChinese)
                c = pair == gbk ? unicode : c;
            out += c;
        } else {
            out += codePage == 936 ? u'?' : u'#';
        }
    }
    return out;
}

std::u16string Plain(std::string_view rtf)
{
    return RtfPlainText(rtf, Decode);
}

TEST(RtfPlainText, TextOfADocumentAsTheEditorWritesIt)
{
    const char rtf[] = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 "
                       "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                       "{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20\\'d6\\'d0"
                       "\\'ce\\'c4 milk\\par\r\n\\f1 Brown \\b BREAD\\b0\\tab box\\par\r\n}\r\n";
    EXPECT_EQ(Plain(rtf), u"\u4E2D\u6587 milk\r\nBrown BREAD\tbox\r\n");
}

TEST(RtfPlainText, BytesAreReadInTheCodePageOfTheFontElseOfTheDocument)
{
    const char rtf[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times;}"
                       "{\\f1\\fnil\\fcharset134 SimSun;}{\\f2\\fnil\\cpg936 Other;}}"
                       "caf\\'e9 {\\f1 \\'d6\\'d0}\\'e9 \\f2\\'ce\\'c4\\plain\\'e9"
                       // A trail byte in the letter range is often written as itself.
                       "\\f1\\'b0B}";
    EXPECT_EQ(Plain(rtf), u"caf\u00E9 \u4E2D\u00E9 \u6587\u00E9\u7647");
    // A Western font in a Chinese document, as the editor writes "café" there.
    EXPECT_EQ(Plain("{\\rtf1\\ansicpg936{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 caf\\'e9}"), u"caf\u00E9");
    // Without \ansicpg, 1252; a character set of no code page of its own is the document's.
    EXPECT_EQ(Plain("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0\\'e9}"), u"\u00E9");
    EXPECT_EQ(Plain("{\\rtf1\\ansicpg437 \\'e9}"), u"#");
}

TEST(RtfPlainText, UnicodeCharactersSkipTheirStandIns)
{
    EXPECT_EQ(Plain("{\\rtf1 a\\u20013?b\\uc2\\u25991\\'ce\\'c4c\\u-3??d}"), u"a\u4E2Db\u6587c\uFFFDd");
    // A stand-in never reaches past the end of its group, and a control word counts as one.
    EXPECT_EQ(Plain("{\\rtf1{\\uc3\\u20013 x}y\\u20013\\'3fz\\u20013\\-w}"), u"\u4E2Dy\u4E2Dz\u4E2Dw");
}

TEST(RtfPlainText, HiddenGroupsShowNothingAndAFieldShowsItsResult)
{
    const char rtf[] = "{\\rtf1{\\info{\\title secret}{\\author x}}{\\stylesheet{\\s1 heading;}}{\\header head\\par}"
                       "{\\*\\unknown never}{\\pict\\wmetafile8\\bin4 }}{{}more "
                       "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} "
                       "\\{a\\}\\\\b\\~c\\emdash d\\line e\\\r\nf}";
    EXPECT_EQ(Plain(rtf), u"more link {a}\\b\u00A0c\u2014d\r\ne\r\nf");
}

TEST(RtfPlainText, DamagedTextGivesWhatItHolds)
{
    EXPECT_EQ(Plain("{\\rtf1 abc"), u"abc");
    EXPECT_EQ(Plain("{\\rtf1 a}}}b"), u"a");
    EXPECT_EQ(Plain("{\\rtf1 a\\'4"), u"a4");
    EXPECT_EQ(Plain("{\\rtf1 a\\'zzb\\"), u"azzb");
    // The editor ends what it writes with a zero byte.
    EXPECT_EQ(Plain(std::string_view("{\\rtf1 a}\0", 10)), u"a");
    EXPECT_EQ(Plain("{\\rtf1 a\\bin99999999999999999 b}"), u"a");
    EXPECT_EQ(Plain("{\\rtf1 \\u99999999999999999x}").size(), 1u);
    EXPECT_EQ(Plain(std::string(100000, '{') + "deep" + std::string(100000, '}')), u"deep");
}

} // namespace

TEST(RtfBeginning, EndsAfterTheLastTopLevelParagraphMarkWithinTheBytes)
{
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 A;}}\\pard one\\par two{\\b\\par}\\par\r\nthree\\par four}";
    const std::size_t afterTwo = rtf.find("\\par\r\n") + 4;
    EXPECT_EQ(RtfBeginning(rtf, afterTwo), rtf.substr(0, afterTwo) + "}");
    EXPECT_EQ(RtfBeginning(rtf, afterTwo - 1), rtf.substr(0, rtf.find(" two")) + " }");
    // \pard, a mark inside a group and one past the bytes are no place to cut.
    EXPECT_EQ(RtfBeginning("{\\rtf1\\pard one{\\b\\par} two\\par}", 24), "");
    // Binary data is skipped whatever it holds; a text that is not RTF has no beginning.
    EXPECT_EQ(RtfBeginning("{\\rtf1{\\pict\\bin4 }}{\\par}x\\par y}", 40), "{\\rtf1{\\pict\\bin4 }}{\\par}x\\par }");
    EXPECT_EQ(RtfBeginning("plain text\\par more", 100), "");
    // Escaped braces and backslashes are text, and "\\par" is no paragraph mark.
    EXPECT_EQ(RtfBeginning("{\\rtf1 \\}a\\par b\\\\par c}", 100), "{\\rtf1 \\}a\\par }");
    EXPECT_EQ(RtfBeginning("{\\rtf1 \\{a\\par b}", 100), "{\\rtf1 \\{a\\par }");
    EXPECT_EQ(RtfBeginning("{\\rtf1 caf\\'e9\\par b}", 100), "{\\rtf1 caf\\'e9\\par }");
    // Whatever follows the document's end is not part of it.
    EXPECT_EQ(RtfBeginning("{\\rtf1 a}{\\par}", 100), "");
}
