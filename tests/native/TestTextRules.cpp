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
    EXPECT_EQ(AppTitleFromPath(L"C:\\Program Files\\Pinvel\\Pinvel.exe"), L"Pinvel");
    EXPECT_EQ(AppTitleFromPath(L"C:\\tools.v2\\notes"), L"notes");
    EXPECT_EQ(AppTitleFromPath(L"D:\\a\\My.Notes.EXE"), L"My.Notes");
    EXPECT_EQ(AppTitleFromPath(L"Pinvel.exe"), L"Pinvel");
}

TEST(ArgumentsOfCommandLine, TheProgramNameQuotedOrNotIsLeftOut)
{
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\Program Files\\Pinvel.exe\"  -exit"), L"-exit");
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\a b\\P.exe\"-exit"), L"-exit");
    EXPECT_EQ(ArgumentsOfCommandLine(L"Pinvel.exe\t/EXIT \"x\""), L"/EXIT \"x\"");
    EXPECT_EQ(ArgumentsOfCommandLine(L"Pinvel.exe"), L"");
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"unclosed -exit"), L"");
    EXPECT_EQ(ArgumentsOfCommandLine(L""), L"");
}

TEST(FolderOfPath, UpToAndIncludingTheLastBackslash)
{
    EXPECT_EQ(FolderOfPath(L"C:\\Program Files\\Pinvel\\Pinvel.exe"), L"C:\\Program Files\\Pinvel\\");
    EXPECT_EQ(FolderOfPath(L"Pinvel.exe"), L"");
    EXPECT_EQ(FolderOfPath(L"C:\\Pinvel.exe"), L"C:\\");
    // "乗" ends in the byte of a backslash in code page 936; a wide path has no such trap.
    EXPECT_EQ(FolderOfPath(L"D:\\\u4E57\\Pinvel.exe"), L"D:\\\u4E57\\");
}

TEST(EndsWithNoCase, RtfRuleLooksOnlyAtTheEnd)
{
    EXPECT_TRUE(EndsWithNoCase(L"C:\\Letter.RTF", L".rtf"));
    EXPECT_TRUE(EndsWithNoCase(L"\u7B14\u8BB0.Rtf", L".rtf"));
    EXPECT_TRUE(EndsWithNoCase(L".rtf", L".rtf"));
    EXPECT_FALSE(EndsWithNoCase(L"rtf", L".rtf"));
    EXPECT_FALSE(EndsWithNoCase(L"notes.doc", L".rtf"));
    EXPECT_FALSE(EndsWithNoCase(L"plan.rtf.txt", L".rtf"));
    EXPECT_FALSE(EndsWithNoCase(L"", L".rtf"));
}

TEST(ExportFileName, FilterDecidesTheExtension)
{
    EXPECT_EQ(ExportFileName(L"plan", true), L"plan.rtf");
    EXPECT_EQ(ExportFileName(L"Plan.RTF", true), L"Plan.RTF");
    EXPECT_EQ(ExportFileName(L"plan.rtf", false), L"plan.rtf.txt");
    EXPECT_EQ(ExportFileName(L"Notes.TXT", false), L"Notes.TXT");
    EXPECT_EQ(ExportFileName(L"plan.txt", true), L"plan.txt.rtf");
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

TEST(LinkToOpen, WebAndMailOnlyAndNeverABareName)
{
    for (const char* good : {"http://example.com/", "HTTPS://example.com/a?b", "mailto:anna@example.org",
                             "ftp://files.example.com/x"})
        EXPECT_EQ(LinkToOpen(good), good);
    EXPECT_EQ(LinkToOpen("www.example.com"), "http://www.example.com");
    EXPECT_EQ(LinkToOpen("WWW.Example.COM/a"), "http://WWW.Example.COM/a");
    for (const char* bad : {"file:///C:/Windows/system32/calc.exe", "\\\\server\\share\\run.exe", "C:\\x.exe",
                            "http://", "www.", "javascript:alert(1)", "notes://x", " http://x", ""})
        EXPECT_EQ(LinkToOpen(bad), "") << bad;
}

} // namespace

TEST(TitleFromText, FirstLineWithWordsTrimmedAndCutWithoutHalfACharacter)
{
    EXPECT_EQ(TitleFromText(L"\r\n \t\r\n  Shopping list \r\nmilk"), L"Shopping list");
    EXPECT_EQ(TitleFromText(L"\u3000购物\u3000\neggs"), L"购物");
    EXPECT_EQ(TitleFromText(L" \r\n\t"), L"");
    const std::wstring long_line(kMostTitleChars + 5, L'x');
    EXPECT_EQ(TitleFromText(long_line), std::wstring(kMostTitleChars, L'x'));
    // The last character kept lies outside the basic plane: both its halves stay.
    const std::wstring astral = std::wstring(kMostTitleChars - 1, L'y') + L"\U0001F4DD" + L"zz";
    EXPECT_EQ(TitleFromText(astral), std::wstring(kMostTitleChars - 1, L'y') + L"\U0001F4DD");
}
