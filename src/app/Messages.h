#pragma once
#include <windows.h>

// The program's private window messages.
constexpr UINT WM_NOTE_REFRESH = WM_USER + 1000;
constexpr UINT WM_NOTE_CONTEXTMENU = WM_USER + 1001;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 1002;
constexpr UINT WM_APPLY_APPEARANCE = WM_USER + 1003;
constexpr UINT WM_LOGIC_EXIT = WM_USER + 1004;
constexpr UINT WM_COLORBUTTON_CHANGED = WM_USER + 5000;

// The window class by which a second copy finds the running one.
constexpr const char kLogicClass[] = "PCN_LOGIC";
