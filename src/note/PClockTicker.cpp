#include "PClockTicker.h"

#include "PinvelWnd.h"
#include "../core/ClockTick.h"

#include <algorithm>

namespace {

// A clock ticks once a second only when the time format shows the seconds. Asked again
// once a minute, not at every tick: a format changed in the control panel shows within
// the minute.
bool ClockShowsSeconds(const SYSTEMTIME& now)
{
    static int askedAt = -1;
    static bool seconds = true;
    const int minute = (now.wDay * 24 + now.wHour) * 60 + now.wMinute;
    if (minute != askedAt) {
        seconds = InfoTimeShowsSeconds();
        askedAt = minute;
    }
    return seconds;
}

} // namespace

std::vector<PinvelWnd*>& PClockTicker::Clocks()
{
    static std::vector<PinvelWnd*> clocks;
    return clocks;
}

void PClockTicker::Join(PinvelWnd* window)
{
    auto& clocks = Clocks();
    if (std::find(clocks.begin(), clocks.end(), window) != clocks.end())
        return;
    clocks.push_back(window);
    // A running timer serves a new clock too: one just joined has not been found unseen,
    // so it asks for no faster tick. Setting the timer again for each of a hundred notes
    // shown together would only move the next tick.
    if (s_timer == 0)
        Arm();
}

void PClockTicker::Leave(PinvelWnd* window)
{
    auto& clocks = Clocks();
    clocks.erase(std::remove(clocks.begin(), clocks.end(), window), clocks.end());
    if (clocks.empty() && s_timer != 0) {
        ::KillTimer(nullptr, s_timer);
        s_timer = 0;
        s_period = 0;
    }
}

void CALLBACK PClockTicker::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    // A copy: drawing a clock may end up closing a note.
    const std::vector<PinvelWnd*> clocks = Clocks();
    for (PinvelWnd* window : clocks) {
        const auto& now = Clocks();
        if (std::find(now.begin(), now.end(), window) != now.end())
            window->OnClockTick();
    }
    Arm();
}

void PClockTicker::Arm()
{
    const auto& clocks = Clocks();
    if (clocks.empty())
        return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const bool seconds = ClockShowsSeconds(now);
    // A clock nobody could see looks again each second, to draw once it is seen.
    const bool lookAgain =
        std::any_of(clocks.begin(), clocks.end(), [](const PinvelWnd* window) { return window->IsClockUnseen(); });
    // While one does, every clock ticks with the seconds: a minute's change is then found
    // at the next second.
    const bool perSecond = seconds || lookAgain;
    const UINT period = perSecond ? 1000 : 60000;
    const bool onTime = ClockTickCameOnTime(perSecond, now.wSecond, now.wMilliseconds);
    if (s_timer != 0 && s_period == period && onTime)
        return;
    const UINT delay = onTime ? period : static_cast<UINT>(ClockDelayMs(perSecond, now.wSecond, now.wMilliseconds));
    s_timer = ::SetTimer(nullptr, s_timer, delay, &OnTimer);
    s_period = delay == period ? period : 0;
}
