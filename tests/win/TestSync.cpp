// The notes folder as a folder-sync program changes it under the running program: the
// files here are written the way another program writes them, beside the logic window.
#include "core/NoteFile.h"
#include "core/NoteOptions.h"
#include "framework/Strings.h"
#include "note/PinvelWnd.h"
#include "res/resource.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "store/PVersions.h"
#include "text/PRichEdit.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

int g_fiveByteReads = 0;
BOOL WINAPI CountFiveByteReads(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read, LPOVERLAPPED overlapped)
{
    g_fiveByteReads += bytes == 5 ? 1 : 0;
    return ::ReadFile(file, buffer, bytes, read, overlapped);
}

class Sync : public wintest::LogicTest {
protected:
    std::wstring File(const std::wstring& name) const { return logic->NotesFolder() + L"\\" + name; }
    static std::string NoteBytes(const std::string& title, const std::string& words)
    {
        NoteFields fields;
        fields.title = title;
        fields.look.rect = {10, 20, 310, 220};
        return EncodeNoteFile(fields, "{\\rtf1 " + words + "}");
    }
    static std::string Text(PNote* note)
    {
        std::string text;
        note->OpenEditor()->StreamOutText(text, false);
        return text;
    }
    PNote* Titled(const std::string& start) const
    {
        for (const auto& note : logic->Notes()) {
            if (note->GetTitle().rfind(start, 0) == 0)
                return note.get();
        }
        return nullptr;
    }
    static void Type(PNote* note, const char* words)
    {
        ::SendMessageA(note->Editor()->GetHwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(words));
    }
    // Keys as the keyboard sends them, after the loop translated them.
    static void Keys(PNote* note, const char* keys)
    {
        for (const char* c = keys; *c != 0; ++c)
            ::SendMessageA(note->Editor()->GetHwnd(), WM_CHAR, static_cast<unsigned char>(*c), 0);
    }
    static bool Has(PNote* note, const char* words) { return Text(note).find(words) != std::string::npos; }
    // One note titled "plan" holding "first", read at start.
    PNote* StartWithPlan()
    {
        wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "first"));
        Start();
        return Titled("plan");
    }
    std::size_t Copies() const
    {
        return std::count_if(logic->Notes().begin(), logic->Notes().end(),
                             [](const auto& note) { return note->GetTitle().find("(\xB3\xE5\xCD\xBB ") != std::string::npos; });
    }
    // The minute's save, as the timer makes it.
    void NextMinute()
    {
        ++wintest::FakeClock::minute;
        wintest::PumpUntil([] { return false; }, 1500);
    }
    static void Pump(DWORD ms) { wintest::PumpUntil([] { return false; }, ms); }
};

TEST_F(Sync, ChangesFromAnotherComputerAreTakenAndNothingTypedOnEitherSideIsLost)
{
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "first"));
    wintest::WriteFileBytes(File(L"N261207 (2).pvl"), NoteBytes("list", "milk"));
    Start();
    PNote* plan = Titled("plan");
    PNote* list = Titled("list");
    ASSERT_TRUE(plan && list);
    ASSERT_NE(logic->ShowNote(plan), nullptr);
    logic->ShowNote(list);
    logic->HideNote(list);

    // Changed there, unchanged here: the open note takes it.
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "second"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Text(plan).find("second") != std::string::npos; }, 10000));

    // Changed on both sides: what was typed here becomes a note of its own beside it.
    Type(plan, "typed here ");
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "third"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Titled("plan (\xB3\xE5\xCD\xBB ") != nullptr; }, 10000)); // 冲突
    PNote* copy = Titled("plan (\xB3\xE5\xCD\xBB ");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(Text(copy).find("typed here"), std::string::npos);
    EXPECT_NE(Text(plan).find("third"), std::string::npos);
    EXPECT_FALSE(logic->IsHidden(copy)) << "shown next to it";

    // A save about to write over a file changed a moment ago keeps both as well.
    Type(plan, "more typing ");
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "fourth"));
    logic->HideNote(plan);
    EXPECT_NE(wintest::ReadFileBytes(File(L"N261207 (1).pvl")).find("fourth"), std::string::npos);
    const auto copies = std::count_if(logic->Notes().begin(), logic->Notes().end(), [&](const auto& note) {
        return note->GetTitle().rfind("plan (", 0) == 0 && Text(note.get()).find("more typing") != std::string::npos;
    });
    EXPECT_EQ(copies, 1);

    // A new file is a note; one removed there leaves the list, into the deleted notes.
    const std::size_t before = logic->Notes().size();
    wintest::WriteFileBytes(File(L"N261207 (1).sync-conflict-20261207-160512-ABCDEFG.pvl"), NoteBytes("plan", "x"));
    ::DeleteFileW(File(L"N261207 (2).pvl").c_str());
    EXPECT_TRUE(wintest::PumpUntil([&] { return Titled("list") == nullptr && logic->Notes().size() == before; }, 10000));
    EXPECT_NE(wintest::ReadFileBytes(File(L"\x5DF2\x5220\x9664\\N261207 (2).pvl")).find("milk"), std::string::npos);

    // A damaged file is read once, then left alone until it changes; whole, it is a note.
    // Reads of its five bytes are counted, after the first, while another file makes the
    // folder be listed.
    g_fiveByteReads = 0;
    fw::SetReadFunction(&CountFiveByteReads);
    wintest::WriteFileBytes(File(L"N261207 (9).pvl"), "PINVL");
    EXPECT_TRUE(wintest::PumpUntil([] { return g_fiveByteReads > 0; }, 10000));
    wintest::PumpUntil([] { return false; }, 500);
    g_fiveByteReads = 0;
    wintest::WriteFileBytes(File(L"N261207 (10).pvl"), NoteBytes("ten", "ten"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Titled("ten") != nullptr; }, 10000));
    wintest::PumpUntil([] { return false; }, 2500);
    fw::SetReadFunction(nullptr);
    EXPECT_EQ(g_fiveByteReads, 0) << "read again while it stayed the same";
    EXPECT_EQ(logic->Notes().size(), before + 1);
    wintest::WriteFileBytes(File(L"N261207 (9).pvl"), NoteBytes("nine", "whole now"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Titled("nine") != nullptr; }, 10000));
}

// A file cut short by the other computer's sync arrives over typing here: nothing is
// taken from it, nothing written over it, no copy made of the note again and again, and
// the user is told once, and why. Whole at last, it takes its turn as any change does.
TEST_F(Sync, AFileThatDoesNotReadArrivingOverTypingIsLeftAloneAndTheTypingKept)
{
    PNote* plan = StartWithPlan();
    ASSERT_TRUE(plan && logic->ShowNote(plan));
    Keys(plan, "typed ");
    const std::string cut = NoteBytes("plan", "second").substr(0, 60);
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), cut);
    Pump(5000);
    NextMinute();
    EXPECT_EQ(Copies(), 0u);
    EXPECT_TRUE(Has(plan, "typed"));
    EXPECT_EQ(wintest::ReadFileBytes(File(L"N261207 (1).pvl")), cut) << "written over";
    const auto told = wintest::ShellCalls::TakeBalloons();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(fw::LoadResStringW(IDS_ARRIVED_DAMAGED)), std::wstring::npos);

    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "second"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return Copies() == 1; }, 10000));
    EXPECT_TRUE(Has(plan, "second"));
    Pump(3000);
    EXPECT_EQ(Copies(), 1u) << "one copy, once";
}

// A note shown while a sync program holds its file open shows read-only and says why;
// what is typed meanwhile goes nowhere, and the text comes once the file can be read.
TEST_F(Sync, ANoteWhoseFileCannotBeReadShowsReadOnlyUntilItCan)
{
    PNote* plan = StartWithPlan();
    ASSERT_NE(plan, nullptr);
    HANDLE held = ::CreateFileW(File(L"N261207 (1).pvl").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PinvelWnd* window = logic->ShowNote(plan);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(::GetWindowLongW(plan->Editor()->GetHwnd(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(window->InfoText(), fw::LoadResString(IDS_NOTE_UNREADABLE));
    Keys(plan, "lost?");
    EXPECT_FALSE(Has(plan, "lost"));
    ::CloseHandle(held);
    EXPECT_TRUE(wintest::PumpUntil([&] { return Has(plan, "first"); }, 10000));
    EXPECT_EQ(::GetWindowLongW(plan->Editor()->GetHwnd(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(window->InfoText(), fw::LoadResString(IDS_NOTE_UNREADABLE));
}

// A change from elsewhere while the note's title dialog is open waits for it; an OK that
// changed nothing writes back nothing of what the dialog copied when it opened.
TEST_F(Sync, AChangeArrivingUnderTheNotesOwnDialogIsTakenWhenItCloses)
{
    PNote* plan = StartWithPlan();
    PinvelWnd* window = plan != nullptr ? logic->ShowNote(plan) : nullptr;
    ASSERT_NE(window, nullptr);
    DWORD written = 0;
    wintest::WhenReady([&] {
        HWND dialog = wintest::ActiveDialog();
        if (dialog == nullptr)
            return false;
        if (written == 0) {
            wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("theirs", "second"));
            written = ::GetTickCount();
        }
        if (::GetTickCount() - written < 4000)
            return false;
        EXPECT_TRUE(Has(plan, "first")) << "taken under the dialog";
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    ::SendMessageW(window->GetHwnd(), WM_COMMAND, ID_NOTE_TITLE, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return Has(plan, "second"); }, 10000));
    EXPECT_EQ(plan->GetTitle(), "theirs");
    NextMinute();
    EXPECT_EQ(Copies(), 0u);
    EXPECT_NE(wintest::ReadFileBytes(File(L"N261207 (1).pvl")).find("theirs"), std::string::npos);
}

// A note dragged elsewhere on this screen takes the other computer's edit and stays where
// it was put; its place alone is written with nothing, so the two screens never take
// turns writing it.
TEST_F(Sync, AMovedNoteTakesAnEditFromElsewhereAndKeepsItsPlace)
{
    PNote* plan = StartWithPlan();
    PinvelWnd* window = plan != nullptr ? logic->ShowNote(plan) : nullptr;
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window->GetHwnd(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT placed = {};
    ::GetWindowRect(window->GetHwnd(), &placed);
    const std::string theirs = NoteBytes("plan", "second");
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), theirs);
    ASSERT_TRUE(wintest::PumpUntil([&] { return Has(plan, "second"); }, 10000));
    NextMinute();
    EXPECT_EQ(Copies(), 0u);
    RECT now = {};
    ::GetWindowRect(window->GetHwnd(), &now);
    EXPECT_EQ(now.left, placed.left);
    EXPECT_EQ(plan->m_look.rect.left, placed.left);
    EXPECT_EQ(wintest::ReadFileBytes(File(L"N261207 (1).pvl")), theirs);
}

// Renamed by a sync program, a file is the same note with its settings and versions; a
// notes folder that is away loses no note, gets nothing among the deleted and is not
// made again in its place.
TEST_F(Sync, ARenameIsNoDeletionAndAFolderAwayIsNoEmptyOne)
{
    wintest::WriteFileBytes(File(L"N261207 (2).pvl"), NoteBytes("list", "milk"));
    PNote* plan = StartWithPlan();
    ASSERT_TRUE(plan && logic->ShowNote(plan));
    Keys(plan, "v2 ");
    logic->HideNote(plan); // the first file is kept as a version
    plan->m_options.zoom = 150;
    logic->NoteOptionsChanged(plan);
    const std::size_t count = logic->Notes().size();
    ASSERT_TRUE(::MoveFileW(File(L"N261207 (1).pvl").c_str(), File(L"N261207 (7).pvl").c_str()));
    EXPECT_TRUE(wintest::PumpUntil([&] { return plan->GetFilePath() == File(L"N261207 (7).pvl"); }, 10000));
    EXPECT_EQ(logic->Notes().size(), count);
    EXPECT_TRUE(PVersions(logic->NotesFolder()).HasAny(L"N261207 (7).pvl"));
    EXPECT_EQ(wintest::ReadFileBytes(File(L"\x5DF2\x5220\x9664\\N261207 (1).pvl")), "<missing>");
    const std::wstring sideFile = File(fw::LoadResStringW(IDS_OPTIONS_FILE));
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return wintest::ReadFileBytes(sideFile).find("N261207 (7)") != std::string::npos; }, 10000));
    Start();
    PNote* again = Titled("plan");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_options.zoom, 150) << "its settings followed it";

    ASSERT_TRUE(logic->ShowNote(again));
    // Something new comes in, then the folder goes away while it settles.
    const std::wstring away = logic->NotesFolder() + L"-away";
    wintest::WriteFileBytes(File(L"N261207 (8).pvl"), NoteBytes("late", "late"));
    Pump(300);
    ASSERT_TRUE(::MoveFileW(logic->NotesFolder().c_str(), away.c_str()));
    Pump(4000);
    Keys(again, "while away ");
    NextMinute();
    EXPECT_EQ(logic->Notes().size(), count);
    EXPECT_FALSE(fw::FileExists(logic->NotesFolder())) << "made again";
    EXPECT_EQ(wintest::ReadFileBytes(away + L"\x5DF2\x5220\x9664\\N261207 (7).pvl"), "<missing>");
    ASSERT_TRUE(::MoveFileW(away.c_str(), logic->NotesFolder().c_str()));
    NextMinute();
    EXPECT_NE(wintest::ReadFileBytes(File(L"N261207 (7).pvl")).find("while away"), std::string::npos);
}

// The state held for a note is the one its own write left: another program's write that
// lands the moment after is someone else's, and taken.
TEST_F(Sync, AWriteLandingRightAfterASaveIsNotTakenForTheSavesOwn)
{
    PNote* plan = StartWithPlan();
    ASSERT_TRUE(plan && logic->ShowNote(plan));
    static std::wstring path;
    path = File(L"N261207 (1).pvl");
    fw::SetReplacedFunction([](const std::wstring& replaced) {
        if (replaced != path)
            return;
        fw::SetReplacedFunction(nullptr);
        wintest::WriteFileBytes(path, NoteBytes("plan", "landed after"));
    });
    Keys(plan, "mine ");
    logic->HideNote(plan);
    fw::SetReplacedFunction(nullptr);
    logic->ShowNote(plan);
    EXPECT_TRUE(wintest::PumpUntil([&] { return Has(plan, "landed after"); }, 10000));
}

// The other computer's side file brings hotkeys with a later stamp: the keys the program
// holds already are its own, never reported as taken by another program.
TEST_F(Sync, HotkeysTakenFromTheOtherComputerAreNotToldAsTaken)
{
    const std::wstring sideFile = File(fw::LoadResStringW(IDS_OPTIONS_FILE));
    SideFile theirs = ReadSideFile(wintest::ReadFileBytes(sideFile));
    theirs.hotkeys = logic->Hotkeys();
    theirs.hotkeys.stamp += 1000;
    theirs.hotkeys.keys[2] = Hotkey{kModControl | kModAlt, 'J'};
    wintest::ShellCalls::TakeBalloons();
    wintest::WriteFileBytes(sideFile, WriteSideFile(theirs));
    ASSERT_TRUE(wintest::PumpUntil([&] { return logic->Hotkeys().keys[2].key == 'J'; }, 10000));
    Pump(500);
    EXPECT_TRUE(wintest::ShellCalls::TakeBalloons().empty());
    EXPECT_EQ(logic->Hotkeys().toldTaken, 0u);
}

} // namespace
