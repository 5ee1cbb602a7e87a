#include "framework/Messages.h"
#include "framework/Gdi.h"
#include "note/PinvelWnd.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PIconMenu.h"
#include "text/PRichEdit.h"
#include "LogicTest.h"

#include "../common/ProcessMemory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// PINVEL_SOAK sets the number of rounds; `make soak` runs ten thousand.
int Rounds()
{
    const char* text = std::getenv("PINVEL_SOAK");
    const int rounds = text != nullptr ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : 60;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(count);
        ::EnumChildWindows(hwnd, CountChild, count);
    }
    return TRUE;
}

int ProcessWindows()
{
    int count = 0;
    ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

BOOL WINAPI Silent(LPCWSTR, HMODULE, DWORD)
{
    return TRUE;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ::EndMenu();
}

struct Counts {
    int gdi;
    int windows;
    double memory;
};

Counts Measure()
{
    wintest::PumpUntil([] { return false; }, 50);
    return {fw::LiveGdiHandles(), ProcessWindows(), testutil::PrivateBytes()};
}

// One round of what a long day does to a note: paints, its menu, hiding and showing,
// an alarm with its sound.
void Round(PLogic& logic, PNote* note)
{
    PinvelWnd* window = logic.ShowNote(note);
    window->SendMessage(WM_NCPAINT, 1, 0);
    window->SendMessage(WM_TIMER, 1, 0);
    window->ApplyLook(note->m_look);
    ::SetTimer(nullptr, 0, 1, &CloseMenu);
    window->SendMessage(WM_NOTE_CONTEXTMENU, 0xFFFF, 0xFFFF);
    window->StartAlarm(true);
    window->SendMessage(WM_TIMER, 2, 0);
    logic.HideNote(note);
}

using Soak = wintest::LogicTest;

TEST_F(Soak, ThousandsOfRoundsHoldNoMoreHandlesOrMemory)
{
    PinvelWnd::SetAlarmFunctions(&Silent, nullptr);
    PNote* note = logic->NewNote();
    note->OpenEditor()->StreamInText("a note used all day", false);
    note->m_look.infoKind = 2;
    for (int i = 0; i < 20; ++i)
        Round(*logic, note);
    const Counts before = Measure();
    const int rounds = Rounds();
    for (int i = 0; i < rounds; ++i)
        Round(*logic, note);
    const Counts after = Measure();
    std::printf("%d rounds: GDI %d -> %d, windows %d -> %d, private memory %.0f KB -> %.0f KB\n", rounds, before.gdi,
                after.gdi, before.windows, after.windows, before.memory / 1024, after.memory / 1024);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LT(after.memory - before.memory, 4.0 * 1024 * 1024);
    PinvelWnd::SetAlarmFunctions(nullptr, nullptr);
}

} // namespace
