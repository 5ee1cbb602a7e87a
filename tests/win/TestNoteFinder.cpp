// Find any note on the Windows side: the RTF reader against the editor itself, and the
// plain text a note keeps between searches.
#include "LogicTest.h"

#include "store/PDummyWnd.h"

#include "core/NoteFile.h"
#include "framework/File.h"
#include "store/PNote.h"
#include "store/PNoteFinder.h"
#include "text/PRichEdit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string WithoutLastLineBreaks(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

// Documents as the editor and other programs write them: Chinese in a Chinese font and
// in the document's code page, Latin-1 in a Western font, \u characters with their
// stand-ins, hidden groups and bullets. (Wine's editor shows no field results, which
// the native tests cover.)
const char* const kDocuments[] = {
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss\\fcharset0 "
    "Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs20\\'d6\\'d0\\'ce\\'c4 "
    "milk\\par\\f1 Brown \\b BREAD\\b0\\tab box caf\\'e9\\par\\cf1\\f0\\'b0B\\cf0\\par}",
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fnil\\fcharset134 "
    "SimSun;}}\\uc1\\pard\\f0 na\\'efve \\u8364?\\u20013\\'3f {\\f1\\'c4\\'e3\\'ba\\'c3}\\par "
    "{\\*\\bkmkstart x}{\\info{\\title hidden}}\\emdash\\~\\{x\\}\\\\\\par}",
    "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset2 Symbol;}{\\f1 Arial;}}\\pard{\\pntext\\f0\\'b7\\tab}"
    "{\\*\\pn\\pnlvlblt\\pnf0{\\pntxtb\\'b7}}\\f1 first item\\par{\\pntext\\f0\\'b7\\tab}second item\\par}",
};

TEST(RtfPlainText, ReadsWhatTheEditorShows)
{
    PDummyWnd owner;
    ASSERT_TRUE(owner.Create(nullptr));
    PRichEdit edit;
    const RECT rect = {0, 0, 400, 240};
    ASSERT_TRUE(edit.Create(0, rect, owner.GetHwnd()));
    for (const char* document : kDocuments) {
        edit.StreamInText(document, true);
        std::string shown, rewritten;
        edit.StreamOutText(shown, false);
        EXPECT_EQ(WithoutLastLineBreaks(PNoteFinder::PlainTextOfRtf(document)), WithoutLastLineBreaks(shown))
            << document;
        // And the same text as the editor writes it into a note file.
        edit.StreamOutText(rewritten, true);
        EXPECT_EQ(WithoutLastLineBreaks(PNoteFinder::PlainTextOfRtf(rewritten)), WithoutLastLineBreaks(shown))
            << rewritten;
    }
}

class NoteFinder : public wintest::LogicTest {
protected:
    void WriteNote(const std::string& rtf)
    {
        NoteFields fields;
        fields.title = "stored";
        ASSERT_TRUE(fw::ReplaceFileContents(Path(), EncodeNoteFile(fields, rtf)));
    }
    std::wstring Path() const { return logic->NotesFolder() + L"\\N021215 (1).pvl"; }
    std::size_t Found(const char* word) { return finder.Find(logic->Notes(), word).size(); }

    PNoteFinder finder;
};

TEST_F(NoteFinder, AHiddenNoteKeepsItsFileTextUntilTheFileIsReadOrWrittenAgain)
{
    WriteNote("{\\rtf1 alpha}");
    PNote* note = logic->LoadNote(Path());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(Found("ALPHA"), 1u);
    EXPECT_EQ(note->Editor(), nullptr) << "read without making the note's windows";

    // Kept: another program's change to the file is not seen by the next search...
    WriteNote("{\\rtf1 beta}");
    EXPECT_EQ(Found("beta"), 0u);
    // ...until the note reads its file again, or writes it.
    ASSERT_TRUE(note->Load(true, false));
    EXPECT_EQ(Found("beta"), 1u);
    EXPECT_EQ(Found("alpha"), 0u);
}

} // namespace
