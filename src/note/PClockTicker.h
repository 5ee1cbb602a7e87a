#pragma once
#include <windows.h>

#include <vector>

class PinvelWnd;

// One timer for the clocks of every note: a message a second for all of them rather
// than one per note, each of which cost the program more than the drawing it asked for.
// It ticks with the time format's smallest unit, set again only when a tick drifts.
class PClockTicker {
public:
    // A note window whose info line shows the clock; it is asked to draw at each tick.
    static void Join(PinvelWnd* window);
    static void Leave(PinvelWnd* window);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    // Sets the timer for the next change of the clocks, or keeps it when it comes on time.
    static void Arm();
    static std::vector<PinvelWnd*>& Clocks();

    static inline UINT_PTR s_timer = 0;
    // The period the timer runs at, or 0 while it is set for one catch-up tick.
    static inline UINT s_period = 0;
};
