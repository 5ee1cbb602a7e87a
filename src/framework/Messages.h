#pragma once
#include <windows.h>

// The program's private window messages.
constexpr UINT WM_NOTE_REFRESH = WM_USER + 1000;
constexpr UINT WM_NOTE_CONTEXTMENU = WM_USER + 1001;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 1002;
constexpr UINT WM_APPLY_APPEARANCE = WM_USER + 1003;
constexpr UINT WM_LOGIC_EXIT = WM_USER + 1004;
// A note's editor → its window: one zoom step (wParam +1, -1, or 0 for 100 %).
// TRUE when the window zoomed: any other parent leaves the control its own zoom.
constexpr UINT WM_NOTE_ZOOM = WM_USER + 1005;
// A note's editor → its window: the pointer is over the text.
constexpr UINT WM_NOTE_POINTER = WM_USER + 1006;
// A note window → itself: take its level again once the click or move that raised it is over.
constexpr UINT WM_NOTE_RELEVEL = WM_USER + 1007;
// The logic window → itself: destroy a few more of the windows that "hide all" hid.
constexpr UINT WM_LOGIC_RETIRE = WM_USER + 1008;
// Posted to the logic window for a note whose window shows the beginning of its text:
// lParam is the note. Posted, so the whole text is in before any input that follows.
constexpr UINT WM_LOGIC_TEXT = WM_USER + 1009;
// The tray window → itself, behind the command its menu posted: the menu is done with.
constexpr UINT WM_TRAY_MENU_DONE = WM_USER + 1010;
// A second copy → the running one's logic window: the language it speaks, plus one, so
// that the notice the second copy shows speaks it too.
constexpr UINT WM_LOGIC_LANGUAGE = WM_USER + 1011;
constexpr UINT WM_COLORBUTTON_CHANGED = WM_USER + 5000;

// The window class by which a second copy finds the running one.
constexpr const char kLogicClass[] = "PCN_LOGIC";
