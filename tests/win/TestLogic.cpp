#include "framework/Messages.h"
#include "core/SettingsFile.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

namespace {

using wintest::FakeClock;
using LogicWindow = wintest::LogicTest;

TEST_F(LogicWindow, HiddenOneByOnePopupFoundByItsClass)
{
    HWND hwnd = logic->GetHwnd();
    EXPECT_EQ(::FindWindowA("PCN_LOGIC", nullptr), hwnd);
    EXPECT_EQ(wintest::WindowText(hwnd), "PinvelMain");
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS, static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(::GetWindowLongA(hwnd, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_EQ(::GetParent(hwnd), nullptr);
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, 1);
    EXPECT_EQ(rc.bottom, 1);
    EXPECT_NE(::GetClassLongPtrA(hwnd, GCLP_HICON), 0) << "icon 128 on the class";
}

TEST_F(LogicWindow, FolderIsTheProgramFolderWithItsBackslash)
{
    PLogic::SetProgramFolder(L"");
    Start();
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected.erase(expected.find_last_of(L'\\') + 1);
    EXPECT_EQ(logic->GetFolder(), expected);
    EXPECT_EQ(logic->GetFolder().back(), L'\\');
    // Nothing of this run may stay beside the test program for the next one to load.
    const std::wstring notes = logic->NotesFolder();
    logic.reset();
    ::RemoveDirectoryW(notes.c_str());
}

TEST_F(LogicWindow, MinuteGateTakesTheMinuteOfConstruction)
{
    EXPECT_EQ(logic->LastMinute(), 17);
    logic->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(logic->LastMinute(), 17);
    FakeClock::minute = 18;
    logic->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(logic->LastMinute(), 18);
}

TEST_F(LogicWindow, OneSecondTimerDrivesTheGate)
{
    const int before = FakeClock::minuteReads;
    FakeClock::minute = 3;
    EXPECT_TRUE(wintest::PumpUntil([&] { return logic->LastMinute() == 3; }, 2500));
    EXPECT_GT(FakeClock::minuteReads, before);
}

TEST_F(LogicWindow, ExitMessageShutsDownBeforeTheSenderReturns)
{
    HWND hwnd = logic->GetHwnd();
    EXPECT_EQ(::SendMessageA(hwnd, WM_LOGIC_EXIT, 0, 0), 1);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(logic->GetHwnd(), nullptr);
    EXPECT_EQ(::FindWindowA("PCN_LOGIC", nullptr), nullptr);
    // The timer went with the window: nothing more reads the clock.
    const int reads = FakeClock::minuteReads;
    wintest::PumpUntil([] { return false; }, 1300);
    EXPECT_EQ(FakeClock::minuteReads, reads);
}

TEST_F(LogicWindow, EndOfSessionSavesEverythingAndAgrees)
{
    PNote* note = logic->NewNote();
    logic->ShowNote(note);
    note->OpenEditor()->StreamInText("typed before logging off", false);
    NoteLook look = logic->DefaultLook();
    look.scheme = 3;
    look.infoKind = 2;
    logic->SetDefaultLook(look);
    ::DeleteFileW((logic->GetFolder() + L"Pinvel.ini").c_str());
    const std::wstring path = note->GetFilePath();
    const std::wstring settings = logic->GetFolder() + L"Pinvel.ini";

    HWND hwnd = logic->GetHwnd();
    EXPECT_EQ(::SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_NE(wintest::ReadFileBytes(path).find("typed before logging off"), std::string::npos);
    NoteLook stored;
    ASSERT_TRUE(DecodeSettings(wintest::ReadFileBytes(settings), stored));
    EXPECT_EQ(stored.scheme, 3);
    EXPECT_EQ(stored.infoKind, 2);
}

// The query can go to another program first, or not come at all: the end alone saves.
TEST_F(LogicWindow, EndOfSessionWithoutAQuerySavesToo)
{
    PNote* note = logic->NewNote();
    logic->ShowNote(note);
    note->OpenEditor()->StreamInText("typed before shutting down", false);
    HWND hwnd = logic->GetHwnd();
    ::SendMessageA(hwnd, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(::IsWindow(hwnd)) << "the session goes on";
    ::SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_NE(wintest::ReadFileBytes(note->GetFilePath()).find("typed before shutting down"), std::string::npos);
}

TEST_F(LogicWindow, ASecondLogicWindowObjectReusesTheClass)
{
    PLogic other;
    EXPECT_TRUE(other.Create());
    EXPECT_NE(other.GetHwnd(), logic->GetHwnd());
}

} // namespace
