#pragma once
#include <windows.h>

namespace fw {

// Whether the desktop window manager composes the screen. Then every window draws into
// a picture of its own, whole even where other windows cover it; else a device context
// of a window draws only where the window is seen.
bool ScreenIsComposed();

// Whether a top-level window hides what lies below it: shown, not minimised, not
// cloaked by the desktop window manager (another virtual desktop, a suspended app), and
// neither see-through nor shaped. Shaped and see-through windows count as hiding nothing,
// so that what is doubted is drawn.
bool HidesWhatIsBelow(HWND window);

// The part of a window the user sees on the screen: without the invisible borders the
// desktop window manager adds around a sizable window.
RECT SeenRect(HWND window);

// Whether any of a rectangle of the screen is seen: on a screen, and not covered by the
// top-level windows above the given one.
bool IsAnyOfItSeen(HWND below, const RECT& rect);

} // namespace fw
