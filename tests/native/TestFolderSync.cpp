#include "core/FolderSync.h"
#include "core/NoteOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderSync, EachCaseOfAFileChangedElsewhereHasItsStep)
{
    // held, there, same, changed here
    EXPECT_EQ(DecideSyncStep(true, true, true, true), SyncStep::Nothing) << "our own write, typing since";
    EXPECT_EQ(DecideSyncStep(true, true, false, false), SyncStep::TakeTheirs);
    EXPECT_EQ(DecideSyncStep(true, true, false, true), SyncStep::KeepBoth);
    EXPECT_EQ(DecideSyncStep(false, true, false, false), SyncStep::LoadNew);
    EXPECT_EQ(DecideSyncStep(true, false, false, false), SyncStep::LeaveList);
    EXPECT_EQ(DecideSyncStep(true, false, false, true), SyncStep::SaveAgain);
    EXPECT_EQ(DecideSyncStep(false, false, false, false), SyncStep::Nothing);
}

TEST(FolderSync, SyncProgramsConflictCopiesAreKnownAndNotesNamesAreNot)
{
    for (const wchar_t* copy : {L"N261207 (1)-PC2.pvl", L"N261207 (1) (PC2 的冲突副本 2026-12-07).pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-12-07).pvl",
                                L"N261207 (1) (PC2's conflicted copy 2026-12-07 (1)).PVL",
                                L"N261207 (1).sync-conflict-20261207-160512-ABCDEFG.pvl",
                                L"购物.sync-conflict-20261207-160512-ABCDEFG.pvl", L"N261207 (1) (2)-LAPTOP-7.pvl"})
        EXPECT_TRUE(IsConflictCopyName(copy)) << copy;
    for (const wchar_t* note : {L"N261207 (1).pvl", L"N261207 (1) (2).pvl", L"to-do.pvl", L"N261207 (1)-PC2.tmp",
                                L"N261207 (1)-my pc.pvl", L"N261207 (1) (PC2 的冲突副本 2026-12).pvl",
                                L"N261207 (1).sync-conflict-20261207-160512-abc.pvl", L".sync-conflict-20261207-160512-ABCDEFG.pvl",
                                L"x (PC2's conflicted copy 2026-12-07).pvl"})
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
