#include "Dpi.h"

#include "Strings.h"

#include "../core/DpiScale.h"

namespace fw {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
// MONITOR_DPI_TYPE 0 is the effective DPI, the one the program is to draw at.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Function>
Function User32Function(const char* name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

GetDpiForMonitorFunction MonitorDpiFunction()
{
    // Looked up once: the library stays loaded for the life of the process.
    static const GetDpiForMonitorFunction function = [] {
        HMODULE shcore = ::LoadLibraryW(L"shcore.dll");
        return shcore == nullptr ? nullptr
                                 : reinterpret_cast<GetDpiForMonitorFunction>(
                                       reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")));
    }();
    return function;
}

} // namespace

int SystemDpi()
{
    static const GetDpiForSystemFunction forSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (forSystem != nullptr)
        return static_cast<int>(forSystem());
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND hwnd)
{
    static const GetDpiForWindowFunction forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (forWindow != nullptr && hwnd != nullptr) {
        const UINT dpi = forWindow(hwnd);
        if (dpi != 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int DpiAtPoint(POINT point)
{
    if (GetDpiForMonitorFunction forMonitor = MonitorDpiFunction()) {
        UINT x = 0;
        UINT y = 0;
        HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y != 0)
            return static_cast<int>(y);
    }
    return SystemDpi();
}

int IconSizeForDpi(int pixels, int dpi)
{
    return ArtSize(pixels, ArtStep(ScaleForDpi(pixels, dpi), pixels));
}

DialogPictures::~DialogPictures()
{
    for (HBITMAP bitmap : m_bitmaps)
        ::DeleteObject(bitmap);
    for (HICON icon : m_icons)
        ::DestroyIcon(icon);
}

void DialogPictures::SetBitmap(HWND dialog, int controlId, int bitmapId)
{
    constexpr int kPercent = 100;
    const int step = ArtStep(ScaleForDpi(kPercent, WindowDpi(dialog)), kPercent);
    if (step == 0)
        return;
    HBITMAP bitmap = ::LoadBitmapW(ResourceInstance(), MAKEINTRESOURCEW(ArtResourceId(bitmapId, step)));
    if (bitmap == nullptr)
        return;
    m_bitmaps.push_back(bitmap);
    // The control takes the bitmap's size. The one it loaded from the template is handed
    // back, and is the caller's to free.
    const LRESULT old =
        ::SendDlgItemMessageW(dialog, controlId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (old != 0 && reinterpret_cast<HBITMAP>(old) != bitmap)
        ::DeleteObject(reinterpret_cast<HBITMAP>(old));
}

void DialogPictures::SetIcon(HWND dialog, int controlId, int iconId, int pixels)
{
    const int dpi = WindowDpi(dialog);
    if (dpi <= kBaseDpi)
        return;
    const int size = ScaleForDpi(pixels, dpi);
    HICON icon = static_cast<HICON>(
        ::LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon == nullptr)
        return;
    m_icons.push_back(icon);
    // The one the template gave is shared by the system and is not freed.
    ::SendDlgItemMessageW(dialog, controlId, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

} // namespace fw
