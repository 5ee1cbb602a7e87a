#include "core/FolderSync.h"
#include "core/NoteFile.h"
#include "core/NoteOptions.h"

#include <gtest/gtest.h>

namespace {

// held, there, decodes, same, changed here, busy, open, renamed
SyncStep Step(bool held, bool there, bool decodes, bool same, bool changedHere, bool busy = false, bool open = false,
              bool renamed = false)
{
    SyncFacts f;
    f.held = held;
    f.there = there;
    f.decodes = decodes;
    f.same = same;
    f.changedHere = changedHere;
    f.busy = busy;
    f.open = open;
    f.renamed = renamed;
    return DecideSyncStep(f);
}

TEST(FolderSync, EachCaseOfAFileChangedElsewhereHasItsStep)
{
    EXPECT_EQ(Step(true, true, true, true, true), SyncStep::Nothing) << "our own write, typing since";
    EXPECT_EQ(Step(true, true, true, false, false), SyncStep::TakeTheirs);
    EXPECT_EQ(Step(true, true, true, false, true), SyncStep::KeepBoth);
    EXPECT_EQ(Step(false, true, true, false, false), SyncStep::LoadNew);
    EXPECT_EQ(Step(true, false, false, false, false), SyncStep::LeaveList);
    EXPECT_EQ(Step(true, false, false, false, true), SyncStep::SaveAgain);
    EXPECT_EQ(Step(false, false, false, false, false), SyncStep::Nothing);

    // A file that does not read as a note takes nothing and is written over by nothing,
    // over typing here too: no copy is made of a note for a file that cannot be taken.
    EXPECT_EQ(Step(true, true, false, false, true), SyncStep::LeaveAlone);
    EXPECT_EQ(Step(true, true, false, false, false), SyncStep::LeaveAlone);
    EXPECT_EQ(Step(false, true, false, false, false), SyncStep::LeaveAlone);

    // Under a dialog, a menu or a drag of the note, a change waits; so does a removal of a
    // note open on the screen. A change to an open note that is not busy is taken at once.
    EXPECT_EQ(Step(true, true, true, false, false, true), SyncStep::Wait);
    EXPECT_EQ(Step(true, true, true, false, true, true, true), SyncStep::Wait);
    EXPECT_EQ(Step(true, true, true, false, false, false, true), SyncStep::TakeTheirs);
    EXPECT_EQ(Step(true, false, false, false, false, false, true), SyncStep::Wait);
    EXPECT_EQ(Step(true, false, false, false, true, true), SyncStep::Wait);
    EXPECT_EQ(Step(true, true, true, true, false, true, true), SyncStep::Nothing) << "nothing to wait for";

    // A rename is the same note under its new name, even while it is open.
    EXPECT_EQ(Step(true, false, false, false, false, false, false, true), SyncStep::FollowRename);
    EXPECT_EQ(Step(true, false, false, false, true, true, true, true), SyncStep::FollowRename);
}

TEST(FolderSync, WhereANoteSitsIsNoChangeOfItButEveryStoredFieldIs)
{
    NoteFields fields;
    fields.title = "plan";
    fields.look.rect = {10, 20, 310, 220};
    const std::string text = "{\\rtf1 milk}";
    std::uint64_t here = 0, moved = 0, other = 0;
    ASSERT_TRUE(NoteDigest(EncodeNoteFile(fields, text), here));
    fields.look.rect = {900, 20, 1200, 220};
    ASSERT_TRUE(NoteDigest(EncodeNoteFile(fields, text), moved));
    EXPECT_EQ(here, moved) << "another screen's place";
    for (auto change : {+[](NoteFields& f) { f.title = "plan2"; }, +[](NoteFields& f) { f.look.edge ^= 1; },
                        +[](NoteFields& f) { f.alarms.yearly[5].enabled = true; },
                        +[](NoteFields& f) { f.look.infoKind = 0; }}) {
        NoteFields changed = fields;
        change(changed);
        ASSERT_TRUE(NoteDigest(EncodeNoteFile(changed, text), other));
        EXPECT_NE(other, here);
    }
    ASSERT_TRUE(NoteDigest(EncodeNoteFile(fields, "{\\rtf1 milk }"), other));
    EXPECT_NE(other, here) << "one more space in the text";
    const std::string whole = EncodeNoteFile(fields, text);
    EXPECT_FALSE(NoteDigest(whole.substr(0, whole.size() - 1), other)) << "cut short by one byte";
    EXPECT_FALSE(NoteDigest(std::string(), other)) << "an empty placeholder";
}

TEST(FolderSync, SyncProgramsConflictCopiesAreKnownAndNotesNamesAreNot)
{
    for (const wchar_t* copy : {L"N261207 (1)-PC2.pvl", L"N261207 (1) (PC2 的冲突副本 2026-12-07).pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-12-07).pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-12-07 (1)).PVL",
                                L"N261207 (1).sync-conflict-20261207-160512-ABCDEFG.pvl",
                                L"购物.sync-conflict-20261207-160512-ABCDEFG.pvl", L"N261207 (1) (2)-LAPTOP-7.pvl",
                                L"N261207 (1).sync-conflict-20261207-160512-0123XYZ.pvl", L"N261207 (1)-Z.pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-12-07 (12)).pvl"})
        EXPECT_TRUE(IsConflictCopyName(copy)) << copy;
    for (const wchar_t* note : {L"N261207 (1).pvl", L"N261207 (1) (2).pvl", L"to-do.pvl", L"N261207 (1)-PC2.tmp",
                                L"N261207 (1)-my pc.pvl", L"N261207 (1) (PC2 的冲突副本 2026-12).pvl",
                                L"N261207 (1).sync-conflict-20261207-160512-abc.pvl", L".sync-conflict-20261207-160512-ABCDEFG.pvl",
                                L"x (PC2's conflicted copy 2026-12-07).pvl",
                                L"N261207 (1).sync-conflict-20261207-160512-ABCDEF.pvl",
                                L"N261207 (1).sync-conflict-20261207-160512-ABCDEFGH.pvl",
                                L"N261207 (1).sync-conflict-2026120-7160512-ABCDEFG.pvl", L"N261207 (1)-.pvl",
                                L"N261207 (1)-PC2.pv", L"N26120A (1)-PC2.pvl", L"N261207 ()-PC2.pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-12-07 ()).pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-1207).pvl"})
        EXPECT_FALSE(IsConflictCopyName(note)) << note;
}

TEST(FolderSync, AFileIsReadOnlyOnceItStaysTheSameForTwoSeconds)
{
    SettlingFiles files;
    files.Saw(L"a", FileState{true, 10, 1}, 1000);
    files.Saw(L"b", FileState{true, 10, 1}, 1500);
    files.Saw(L"a", FileState{true, 20, 2}, 2000); // still being written
    files.Saw(L"b", FileState{true, 10, 1}, 2000); // the same: its wait goes on
    EXPECT_TRUE(files.TakeSettled(3499).empty());
    EXPECT_EQ(files.TakeSettled(3500), std::vector<std::wstring>{L"b"});
    files.Drop(L"a");
    EXPECT_TRUE(files.TakeSettled(9000).empty()) << "back as it was known: nothing to read";
}

TEST(FolderSync, SideFilesOfTwoComputersMergeEntryByEntryTheNewerWinning)
{
    SideFile mine, theirs;
    mine.notes["a.pvl"] = NoteOptions{NoteLevel::Normal, 80, 100, 50};
    mine.notes["b.pvl"] = NoteOptions{NoteLevel::Top, 100, 150, 90};
    theirs.notes["a.pvl"] = NoteOptions{NoteLevel::Desktop, 60, 100, 70};
    theirs.notes["b.pvl"] = NoteOptions{NoteLevel::Top, 100, 200, 60};
    theirs.notes["c.pvl"] = NoteOptions{NoteLevel::Top, 90, 100, 10};
    theirs.hotkeys.keys[0] = Hotkey{kModControl, 'Q'};
    theirs.hotkeys.stamp = 5;
    const SideFileMerge merge = MergeSideFile(mine, theirs);
    EXPECT_EQ(mine.notes["a.pvl"].level, NoteLevel::Desktop);
    EXPECT_EQ(mine.notes["b.pvl"].zoom, 150) << "ours is newer";
    EXPECT_EQ(mine.notes["c.pvl"].opacity, 90);
    EXPECT_EQ(merge.notesTaken, (std::vector<std::string>{"a.pvl", "c.pvl"}));
    EXPECT_TRUE(merge.hotkeysTaken);
    EXPECT_EQ(mine.hotkeys.keys[0].key, unsigned('Q'));
}

} // namespace
