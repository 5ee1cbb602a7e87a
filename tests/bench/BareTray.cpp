// The floor of the whole-program start: a tray program that does only what any tray
// program must before it answers. It registers the two window classes Pinvel registers
// for its logic and tray windows, under the same names and styles, so that the
// benchmark's readiness check finds it as it finds Pinvel; makes both windows, adds the
// tray icon from the same resources, and runs a message loop. WM_CLOSE ends it.
#include "res/resource.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <type_traits>

namespace {

constexpr wchar_t kLogicClass[] = L"PCN_LOGIC";
constexpr wchar_t kTrayClass[] = L"PCN_SYSTRAY";
constexpr UINT kIconId = 1;
constexpr UINT kTrayNotify = WM_USER + 1002;
constexpr UINT kIconVersion4 = 4;
constexpr UINT kIconVersion3 = 3;

struct IconDeleter {
    void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

HICON LoadIconAt(UINT id, int size)
{
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

NOTIFYICONDATAW IconData(HWND tray)
{
    // The record's size Pinvel hands over, so that the shell does the same work.
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = tray;
    data.uID = kIconId;
    return data;
}

bool AddIcon(HWND tray)
{
    NOTIFYICONDATAW data = IconData(tray);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayNotify;
    const IconHandle icon(LoadIconAt(IDI_TRAY, ::GetSystemMetrics(SM_CXSMICON)));
    data.hIcon = icon.get();
    ::lstrcpynW(data.szTip, L"Pinvel", 64);
    if (!::Shell_NotifyIconW(NIM_ADD, &data))
        return false;
    NOTIFYICONDATAW version = IconData(tray);
    version.uVersion = kIconVersion4;
    if (::Shell_NotifyIconW(NIM_SETVERSION, &version))
        return true;
    version.uVersion = kIconVersion3;
    ::Shell_NotifyIconW(NIM_SETVERSION, &version);
    return true;
}

LRESULT CALLBACK TrayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        AddIcon(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        // A ghost icon would stay in the notification area until the pointer passes over it.
        NOTIFYICONDATAW data = IconData(hwnd);
        ::Shell_NotifyIconW(NIM_DELETE, &data);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK LogicProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        // As Pinvel's, the tray window is made while the logic window is being created.
        const HWND tray = ::CreateWindowExW(0, kTrayClass, L"SysTray", WS_CHILD, 0, 0, 1, 1, hwnd, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
        return tray != nullptr ? 0 : -1;
    }
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool RegisterClasses(HINSTANCE instance)
{
    WNDCLASSEXW logic = {};
    logic.cbSize = sizeof(logic);
    logic.lpfnWndProc = LogicProc;
    logic.hInstance = instance;
    // The class keeps its icon for the life of the process, as Pinvel's does.
    logic.hIcon = LoadIconAt(IDI_PINVEL, 32);
    logic.lpszClassName = kLogicClass;
    if (::RegisterClassExW(&logic) == 0)
        return false;
    WNDCLASSEXW tray = {};
    tray.cbSize = sizeof(tray);
    tray.lpfnWndProc = TrayProc;
    tray.hInstance = instance;
    tray.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    tray.lpszClassName = kTrayClass;
    return ::RegisterClassExW(&tray) != 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!RegisterClasses(instance))
        return 1;
    const HWND logic = ::CreateWindowExW(0, kLogicClass, L"PinvelMain", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         instance, nullptr);
    if (logic == nullptr)
        return 1;
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}
