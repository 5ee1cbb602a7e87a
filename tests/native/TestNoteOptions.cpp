#include "core/NoteOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(NoteOptions, SideFileRoundTripsAndDamageCostsOnlyItsOwnLineOrField)
{
    SideFile file;
    file.notes["N261207 (1).pvl"] = NoteOptions{NoteLevel::Desktop, 70, 150, 12345};
    file.hotkeys.keys[1] = Hotkey{};
    file.hotkeys.keys[2] = Hotkey{kModWin, 'F'};
    file.hotkeys.toldTaken = 4;
    const std::string bytes = WriteSideFile(file);
    const SideFile back = ReadSideFile("\xEF\xBB\xBF" + bytes);
    ASSERT_EQ(back.notes.size(), 1u);
    const NoteOptions& read = back.notes.at("n261207 (1).PVL");
    EXPECT_TRUE(read.SameChoices(file.notes.begin()->second));
    EXPECT_EQ(read.stamp, 12345);
    EXPECT_EQ(back.hotkeys.keys, file.hotkeys.keys);
    EXPECT_EQ(back.hotkeys.toldTaken, 4u);
    EXPECT_EQ(WriteSideFile(back), bytes);

    // Bad values fall back field by field; a line without a usable name is dropped.
    const SideFile damaged = ReadSideFile("PINVELOPT 1\nnote\tA.pvl\tlevel=up\topacity=75\tzoom=150\n"
                                          "note\t..\\x.pvl\tzoom=200\nnote\nhotkeys\tnew=2,999\tfind=x\n"
                                          "note\tB.pvl\topacity=60\tzoom=9000\tcolour=red");
    ASSERT_EQ(damaged.notes.size(), 2u);
    EXPECT_TRUE(damaged.notes.at("A.pvl").SameChoices(NoteOptions{NoteLevel::Top, 100, 150, 0}));
    EXPECT_TRUE(damaged.notes.at("B.pvl").SameChoices(NoteOptions{NoteLevel::Top, 60, 100, 0}));
    EXPECT_EQ(damaged.hotkeys.keys, HotkeyOptions().keys);

    // Not a side file at all: every default.
    for (const char* other : {"", "PINVELOPT 2\nnote\tA.pvl\tzoom=200", "\xFF\xFE garbage"}) {
        const SideFile none = ReadSideFile(other);
        EXPECT_TRUE(none.notes.empty());
        EXPECT_EQ(none.hotkeys.keys, HotkeyOptions().keys);
    }
}

TEST(NoteOptions, EachValueIsTakenUpToTheEndsOfItsRange)
{
    const SideFile file = ReadSideFile("PINVELOPT 1\r\nnote\tC.pvl\tlevel=desktop\topacity=50\tzoom=400\r\n"
                                       "note\tD.pvl\tlevel=normal\topacity=40\tzoom=401\r\n"
                                       "note\tE.pvl\topacity=110\tzoom=49\nnote\tF.pvl\tzoom=50\n"
                                       "note\ta/b.pvl\nnote\tc:d.pvl\nhotkeys\tnew=16,78\tshowhide=2,256\tfind=15,255");
    ASSERT_EQ(file.notes.size(), 4u);
    EXPECT_TRUE(file.notes.at("C.pvl").SameChoices(NoteOptions{NoteLevel::Desktop, 50, 400, 0}));
    EXPECT_TRUE(file.notes.at("D.pvl").SameChoices(NoteOptions{NoteLevel::Normal, 100, 100, 0}));
    EXPECT_TRUE(file.notes.at("E.pvl").SameChoices(NoteOptions()));
    EXPECT_EQ(file.notes.at("F.pvl").zoom, 50);
    const HotkeyOptions defaults;
    EXPECT_EQ(file.hotkeys.keys[0], defaults.keys[0]);
    EXPECT_EQ(file.hotkeys.keys[1], defaults.keys[1]);
    EXPECT_EQ(file.hotkeys.keys[2], (Hotkey{15, 255}));
}

TEST(NoteOptions, MergeTakesEachEntryFromTheLaterStampAndBothCopiesTakeTheSameOnATie)
{
    const NoteOptions mineChoice{NoteLevel::Desktop, 80, 150, 10};
    SideFile mine, theirs;
    mine.notes["a.pvl"] = mine.notes["b.pvl"] = mine.notes["c.pvl"] = mineChoice;
    theirs.notes["A.pvl"] = NoteOptions{NoteLevel::Normal, 60, 200, 11};
    theirs.notes["B.pvl"] = NoteOptions{NoteLevel::Normal, 60, 200, 10};
    theirs.notes["d.pvl"] = NoteOptions{NoteLevel::Normal, 60, 200, 1};
    theirs.notes["e.pvl"] = NoteOptions{NoteLevel::Top, 100, 100, 1};
    mine.hotkeys.stamp = theirs.hotkeys.stamp = 5;
    theirs.hotkeys.keys[2] = Hotkey{};
    const SideFileMerge merge = MergeSideFile(mine, theirs);
    // An entry taken at the defaults changes nothing to show.
    EXPECT_EQ(merge.notesTaken, (std::vector<std::string>{"A.pvl", "d.pvl"}));
    EXPECT_EQ(mine.notes.size(), 5u);
    EXPECT_EQ(mine.notes.at("a.pvl").stamp, 11);
    EXPECT_TRUE(mine.notes.at("b.pvl").SameChoices(mineChoice)) << "the same second: the greater level wins";
    EXPECT_FALSE(merge.hotkeysTaken);
    EXPECT_TRUE(mine.hotkeys.keys[2].IsSet());
    // The other computer merging this one's copy comes to the same entries, so neither
    // writes its own back to the other again.
    SideFile other = theirs;
    MergeSideFile(other, mine);
    EXPECT_TRUE(other.notes.at("B.pvl").SameChoices(mineChoice));
    EXPECT_EQ(other.hotkeys.keys[2], mine.hotkeys.keys[2]);
    for (int zoom : {149, 150, 151}) {
        SideFile a, b;
        a.notes["x.pvl"] = NoteOptions{NoteLevel::Top, 90, 150, 3};
        b.notes["x.pvl"] = NoteOptions{NoteLevel::Top, 90, zoom, 3};
        SideFile a2 = a, b2 = b;
        MergeSideFile(a2, b);
        MergeSideFile(b2, a);
        EXPECT_EQ(a2.notes.at("x.pvl").zoom, b2.notes.at("x.pvl").zoom) << zoom;
        EXPECT_EQ(a2.notes.at("x.pvl").zoom, std::max(150, zoom));
    }
    // The same copy again takes nothing; hotkeys a second later are taken.
    ++theirs.hotkeys.stamp;
    const SideFileMerge again = MergeSideFile(mine, theirs);
    EXPECT_TRUE(again.notesTaken.empty());
    EXPECT_TRUE(again.hotkeysTaken);
    EXPECT_FALSE(mine.hotkeys.keys[2].IsSet());
}

TEST(NoteOptions, ALockAndTheFieldsOfNewerVersionsOutliveCopiesThatDoNotKnowThem)
{
    // Written by this version, read back, and written again as it came.
    SideFile file = ReadSideFile("PINVELOPT 1\nnote\tA.pvl\tstamp=5\tlocked=1\tpin=7\n"
                                 "hotkeys\tstamp=5\tnew=3,78\tclip=0,0\tmore=1,2");
    const NoteOptions& a = file.notes.at("A.pvl");
    EXPECT_TRUE(a.locked);
    EXPECT_EQ(a.otherFields, "\tpin=7");
    EXPECT_FALSE(file.hotkeys.keys[3].IsSet());
    const SideFile back = ReadSideFile(WriteSideFile(file));
    EXPECT_TRUE(back.notes.at("A.pvl").locked);
    EXPECT_EQ(WriteSideFile(back), WriteSideFile(file));
    EXPECT_NE(WriteSideFile(back).find("\tmore=1,2"), std::string::npos);

    // A later copy from a version without locks, or without the clipboard key, changed the
    // zoom and the first key: those are taken, and the lock, the key and the fields it
    // did not know stay.
    const SideFile older = ReadSideFile("PINVELOPT 1\nnote\tA.pvl\tstamp=9\tzoom=200\n"
                                        "hotkeys\tstamp=9\tnew=2,78\tshowhide=3,83\tfind=3,70");
    const SideFileMerge merge = MergeSideFile(file, older);
    const NoteOptions& merged = file.notes.at("A.pvl");
    EXPECT_EQ(merge.notesTaken, std::vector<std::string>{"A.pvl"});
    EXPECT_EQ(merged.zoom, 200);
    EXPECT_TRUE(merged.locked);
    EXPECT_EQ(merged.otherFields, "\tpin=7");
    EXPECT_EQ(file.hotkeys.keys[0], (Hotkey{2, 'N'}));
    EXPECT_FALSE(file.hotkeys.keys[3].IsSet()) << "the key the older copy did not write";
    EXPECT_EQ(file.hotkeys.otherFields, "\tmore=1,2");

    // A copy that knows locks and unlocked the note is taken at its word.
    SideFile unlocked = ReadSideFile("PINVELOPT 1\nnote\tA.pvl\tstamp=10\tzoom=200\tlocked=0");
    MergeSideFile(file, unlocked);
    EXPECT_FALSE(file.notes.at("A.pvl").locked);
}

TEST(NoteOptions, ZoomStepsStayInRangeAndMultiplyTheScreensScaling)
{
    EXPECT_EQ(NextZoom(100, 1), 110);
    EXPECT_EQ(NextZoom(130, -1), 125);
    EXPECT_EQ(NextZoom(400, 1), 400);
    EXPECT_EQ(NextZoom(50, -1), 50);
    EXPECT_EQ(NextZoom(350, 1), 400);
    EXPECT_EQ(NextZoom(60, -1), 50);
    EXPECT_EQ(NextZoom(175, 0), 100);
    int n = -1, d = -1;
    EditorZoomRatio(100, 96, 96, n, d);
    EXPECT_EQ(n * 10 + d, 0);
    EditorZoomRatio(150, 144, 96, n, d); // 150 % on a 150 % screen of a 100 % system
    EXPECT_EQ(n * 4, d * 9);
    EditorZoomRatio(200, 96, 192, n, d);
    EXPECT_EQ(n * 10 + d, 0);
    EXPECT_EQ(OpacityAlpha(100), 255);
    EXPECT_EQ(OpacityAlpha(50), 128);
}

TEST(NoteOptions, HotkeysCrossTheControlWithTheirModifiers)
{
    const Hotkey key{kModControl | kModAlt, 'N'};
    EXPECT_EQ(ControlFromHotkey(key), (6u << 8) | 'N');
    EXPECT_EQ(HotkeyFromControl(ControlFromHotkey(key)), key);
    const Hotkey arrow{kModShift, 0x25};
    EXPECT_EQ(ControlFromHotkey(arrow), (9u << 8) | 0x25);
    EXPECT_EQ(HotkeyFromControl(ControlFromHotkey(arrow)), arrow);
    // The ends of the block of arrows, and their neighbours, which are not extended.
    EXPECT_EQ(ControlFromHotkey({0, 0x21}) >> 8, 8u);
    EXPECT_EQ(ControlFromHotkey({0, 0x28}) >> 8, 8u);
    EXPECT_EQ(ControlFromHotkey({0, 0x20}) >> 8, 0u);
    EXPECT_EQ(ControlFromHotkey({0, 0x29}) >> 8, 0u);
    EXPECT_FALSE(HotkeyFromControl(6u << 8).IsSet());
    EXPECT_EQ(HotkeyText(key, "N"), "Ctrl+Alt+N");
}

} // namespace

namespace {

TEST(NoteOptions, TheLanguageLineTravelsByItsStampAndAFileWithoutOneIsWrittenAsBefore)
{
    SideFile plain;
    EXPECT_EQ(WriteSideFile(plain).find("program"), std::string::npos);
    // A choice is written back whatever its stamp, even one from a clock at zero.
    plain.program.language = LanguageChoice::English;
    EXPECT_NE(WriteSideFile(plain).find("program\tstamp=0\tlanguage=en\r\n"), std::string::npos);

    SideFile mine = ReadSideFile("PINVELOPT 1\r\nprogram\tstamp=50\tlanguage=en\tvoice=on\r\nfuture\tx=1\r\n");
    EXPECT_EQ(mine.program.language, LanguageChoice::English);
    const std::string written = WriteSideFile(mine);
    EXPECT_NE(written.find("program\tstamp=50\tlanguage=en\tvoice=on\r\n"), std::string::npos);
    EXPECT_NE(written.find("future\tx=1\r\n"), std::string::npos);

    SideFile older = ReadSideFile("PINVELOPT 1\r\nprogram\tstamp=40\tlanguage=zh\r\n");
    EXPECT_FALSE(MergeSideFile(mine, older).languageTaken);
    EXPECT_EQ(mine.program.language, LanguageChoice::English);

    SideFile newer = ReadSideFile("PINVELOPT 1\r\nprogram\tstamp=60\tlanguage=zh\r\n");
    EXPECT_TRUE(MergeSideFile(mine, newer).languageTaken);
    EXPECT_EQ(mine.program.language, LanguageChoice::Chinese);
    EXPECT_EQ(mine.program.otherFields, "\tvoice=on");

    // Changed on both computers in the same second: both take the same one.
    SideFile here = ReadSideFile("PINVELOPT 1\r\nprogram\tstamp=70\tlanguage=zh\r\n");
    SideFile there = ReadSideFile("PINVELOPT 1\r\nprogram\tstamp=70\tlanguage=en\r\n");
    SideFile hereCopy = here;
    MergeSideFile(here, there);
    MergeSideFile(there, hereCopy);
    EXPECT_EQ(here.program.language, there.program.language);

    // A word this version does not know leaves the system's choice.
    EXPECT_EQ(ReadSideFile("PINVELOPT 1\r\nprogram\tstamp=1\tlanguage=fr\r\n").program.language,
              LanguageChoice::System);
}

TEST(NoteOptions, EveryChineseReadsChineseAndEveryOtherLanguageEnglishUnlessChosen)
{
    for (unsigned chinese : {0x0804u, 0x0404u, 0x0C04u, 0x1004u, 0x1404u, 0x7C04u})
        EXPECT_EQ(ChooseLanguage(LanguageChoice::System, chinese), UiLanguage::Chinese) << std::hex << chinese;
    for (unsigned other : {0x0409u, 0x0411u, 0x0412u, 0x0407u, 0x0000u})
        EXPECT_EQ(ChooseLanguage(LanguageChoice::System, other), UiLanguage::English) << std::hex << other;
    EXPECT_EQ(ChooseLanguage(LanguageChoice::English, 0x0804), UiLanguage::English);
    EXPECT_EQ(ChooseLanguage(LanguageChoice::Chinese, 0x0409), UiLanguage::Chinese);
}

} // namespace
