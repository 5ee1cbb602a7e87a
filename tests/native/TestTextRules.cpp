#include "core/TextRules.h"

#include <gtest/gtest.h>

namespace {

// Lead bytes of code page 936.
bool Gbk(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}

bool NoDoubleBytes(unsigned char)
{
    return false;
}

TEST(LowerAnsi, LowersSingleByteLettersOnly)
{
    EXPECT_EQ(LowerAnsi("-EXIT /Exit x/EXITx 123", Gbk), "-exit /exit x/exitx 123");
}

TEST(LowerAnsi, KeepsTrailBytesInTheLetterRange)
{
    // 0x81 0x45 is one double-byte character whose trail byte is 'E'.
    const std::string text = "A\x81" "EB";
    EXPECT_EQ(LowerAnsi(text, Gbk), "a\x81" "Eb");
    // A lead byte at the very end has no trail: it stands alone.
    EXPECT_EQ(LowerAnsi("Q\x81", Gbk), "q\x81");
}

TEST(FindAnsi, MatchesOnlyAtCharacterBoundaries)
{
    // "ab" appears only across a lead/trail pair in the middle.
    const std::string text = "x\x81" "ab";
    EXPECT_EQ(FindAnsi(text, "ab", NoDoubleBytes), 2u);
    EXPECT_EQ(FindAnsi(text, "ab", Gbk), std::string::npos);
    EXPECT_EQ(FindAnsi("\x81" "ab", "b", Gbk), 2u);
    EXPECT_EQ(FindAnsi("abc", "", Gbk), 0u);
    EXPECT_EQ(FindAnsi("ab", "abc", Gbk), std::string::npos);
}

TEST(ExitSwitch, FoundAnywhereInAnyCase)
{
    for (const char* line : {"-exit", "/exit", "/EXIT", "-Exit", "a/exitb", "x/exitx", "  foo -EXIT bar",
                             "\xb1\xca-exit", "-exitnow"}) {
        EXPECT_TRUE(HasExitSwitch(line, Gbk)) << line;
    }
}

TEST(ExitSwitch, AbsentOrBroken)
{
    for (const char* line : {"", "exit", "- exit", "--ex it", "\\exit", "/exi", "-e x i t", "\xb1\xca"}) {
        EXPECT_FALSE(HasExitSwitch(line, Gbk)) << line;
    }
}

TEST(AppTitle, ProgramFileNameWithoutFolderAndExtension)
{
    EXPECT_EQ(AppTitleFromPath("C:\\Program Files\\Pinvel\\Pinvel.exe"), "Pinvel");
    EXPECT_EQ(AppTitleFromPath("C:\\tools.v2\\notes"), "notes");
    EXPECT_EQ(AppTitleFromPath("D:\\a\\My.Notes.EXE"), "My.Notes");
    EXPECT_EQ(AppTitleFromPath("Pinvel.exe"), "Pinvel");
}

TEST(FolderOfPath, UpToAndIncludingTheLastBackslash)
{
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Pinvel\\Pinvel.exe"), "C:\\Program Files\\Pinvel\\");
    EXPECT_EQ(FolderOfPath("Pinvel.exe"), "");
    EXPECT_EQ(FolderOfPath("C:\\Pinvel.exe"), "C:\\");
}

TEST(EndsWithNoCase, RtfRuleLooksOnlyAtTheEnd)
{
    EXPECT_TRUE(EndsWithNoCase("C:\\Letter.RTF", ".rtf", Gbk));
    EXPECT_TRUE(EndsWithNoCase("\xB1\xCA\xBC\xC7.Rtf", ".rtf", Gbk));
    EXPECT_TRUE(EndsWithNoCase(".rtf", ".rtf", Gbk));
    EXPECT_FALSE(EndsWithNoCase("rtf", ".rtf", Gbk));
    EXPECT_FALSE(EndsWithNoCase("notes.doc", ".rtf", Gbk));
    EXPECT_FALSE(EndsWithNoCase("plan.rtf.txt", ".rtf", Gbk));
    EXPECT_FALSE(EndsWithNoCase("", ".rtf", Gbk));
}

TEST(ExportFileName, FilterDecidesTheExtension)
{
    EXPECT_EQ(ExportFileName("plan", true, Gbk), "plan.rtf");
    EXPECT_EQ(ExportFileName("Plan.RTF", true, Gbk), "Plan.RTF");
    EXPECT_EQ(ExportFileName("plan.rtf", false, Gbk), "plan.rtf.txt");
    EXPECT_EQ(ExportFileName("Notes.TXT", false, Gbk), "Notes.TXT");
    EXPECT_EQ(ExportFileName("plan.txt", true, Gbk), "plan.txt.rtf");
}

TEST(NotFoundShownText, CutAt32BytesWithoutHalfACharacter)
{
    const std::string exact(32, 'a');
    EXPECT_EQ(NotFoundShownText(exact, Gbk), exact);
    EXPECT_EQ(NotFoundShownText(exact + "b", Gbk), exact + " ...");
    // 31 single bytes, then a double-byte character straddling the cut.
    const std::string straddle = std::string(31, 'a') + "\xC4\xE3" + "z";
    EXPECT_EQ(NotFoundShownText(straddle, Gbk), std::string(31, 'a') + " ...");
    // Sixteen double-byte characters fit exactly.
    std::string wide;
    for (int i = 0; i < 17; ++i)
        wide += "\xC4\xE3";
    EXPECT_EQ(NotFoundShownText(wide, Gbk), wide.substr(0, 32) + " ...");
}

TEST(FindNameIndex, FirstEqualNameIgnoringCase)
{
    const std::vector<std::string> months = {"Jan", "\xB6\xFE\xD4\xC2", "jan"};
    EXPECT_EQ(FindNameIndex(months, "JAN", Gbk), 1);
    EXPECT_EQ(FindNameIndex(months, "\xB6\xFE\xD4\xC2", Gbk), 2);
    EXPECT_EQ(FindNameIndex(months, "Ja", Gbk), 0);
    EXPECT_EQ(FindNameIndex(months, "", Gbk), 0);
}

TEST(IsOpenableLink, WebAndMailOnly)
{
    for (const char* good : {"http://example.com/", "HTTPS://example.com/a?b", "mailto:anna@example.org",
                             "www.example.com", "ftp://files.example.com/x"})
        EXPECT_TRUE(IsOpenableLink(good)) << good;
    for (const char* bad : {"file:///C:/Windows/system32/calc.exe", "\\\\server\\share\\run.exe", "C:\\x.exe",
                            "http://", "javascript:alert(1)", "notes://x", " http://x", ""})
        EXPECT_FALSE(IsOpenableLink(bad)) << bad;
}

} // namespace
