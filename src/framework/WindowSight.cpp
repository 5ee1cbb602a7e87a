#include "WindowSight.h"
#include "Gdi.h"

namespace fw {

namespace {

// Looked up at run time: the window manager's library is not on every system, and
// where it is not there nothing is composed or cloaked and no border is invisible.
template <typename Function>
Function WindowManagerFunction(const char* name)
{
    static const HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
    return dwm != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(dwm, name)))
                          : nullptr;
}

using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
using IsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);

GetAttribute WindowManagerAttribute()
{
    static const GetAttribute get = WindowManagerFunction<GetAttribute>("DwmGetWindowAttribute");
    return get;
}

constexpr DWORD kExtendedFrameBounds = 9;
constexpr DWORD kCloaked = 14;

} // namespace

bool ScreenIsComposed()
{
    static const IsCompositionEnabled enabled =
        WindowManagerFunction<IsCompositionEnabled>("DwmIsCompositionEnabled");
    BOOL composed = FALSE;
    return enabled != nullptr && SUCCEEDED(enabled(&composed)) && composed;
}

bool HidesWhatIsBelow(HWND window)
{
    if (!::IsWindowVisible(window) || ::IsIconic(window))
        return false;
    if ((::GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) != 0)
        return false;
    RECT box;
    if (::GetWindowRgnBox(window, &box) != ERROR)
        return false;
    DWORD cloaked = 0;
    GetAttribute get = WindowManagerAttribute();
    return get == nullptr || FAILED(get(window, kCloaked, &cloaked, sizeof(cloaked))) || cloaked == 0;
}

RECT SeenRect(HWND window)
{
    RECT rect = {};
    GetAttribute get = WindowManagerAttribute();
    if (get != nullptr && SUCCEEDED(get(window, kExtendedFrameBounds, &rect, sizeof(rect))) && !::IsRectEmpty(&rect))
        return rect;
    ::GetWindowRect(window, &rect);
    return rect;
}

namespace {

// What is left of the rectangle as the top-level windows are taken from the top down
// to the one it belongs to: one list from the system rather than a call per window.
struct Sight {
    HWND below;
    RECT rect;
    HRGN left;
    bool seen = true;
};

BOOL CALLBACK TakeAway(HWND above, LPARAM param)
{
    Sight& sight = *reinterpret_cast<Sight*>(param);
    if (above == sight.below)
        return FALSE;
    // The cheap test first: most windows above are elsewhere on the screen.
    RECT outer, common;
    if (!::GetWindowRect(above, &outer) || !::IntersectRect(&common, &outer, &sight.rect) || !HidesWhatIsBelow(above))
        return TRUE;
    const RECT seen = SeenRect(above);
    Region cover(::CreateRectRgnIndirect(&seen));
    if (cover && ::CombineRgn(sight.left, sight.left, cover.Get(), RGN_DIFF) == NULLREGION) {
        sight.seen = false;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool IsAnyOfItSeen(HWND below, const RECT& rect)
{
    if (::IsRectEmpty(&rect) || ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) == nullptr)
        return false;
    Region left(::CreateRectRgnIndirect(&rect));
    if (!left)
        return true;
    Sight sight{below, rect, left.Get()};
    ::EnumWindows(&TakeAway, reinterpret_cast<LPARAM>(&sight));
    return sight.seen;
}

} // namespace fw
