#include "Wnd.h"

#include "App.h"
#include "Guard.h"
#include "Menu.h"
#include "Strings.h"

#include <iterator>
#include <string>
#include <unordered_map>

namespace fw {

namespace {

// Everything runs on one user-interface thread; the map needs no lock.
std::unordered_map<HWND, Wnd*>& HandleMap()
{
    static std::unordered_map<HWND, Wnd*> map;
    return map;
}

thread_local Wnd* t_creating = nullptr;
thread_local const wchar_t* t_creatingClass = nullptr;
void (*g_beforeCreate)() = nullptr;

// The window the hook sees is the one being created for the object only when it is of
// the requested class. The system may make windows of its own meanwhile: on a Windows
// with an input method the thread's "Default IME" window comes into being while its
// first top-level window is being created.
bool IsRequestedWindow(HWND hwnd, const wchar_t* className)
{
    if ((::GetClassLongPtrW(hwnd, GCL_STYLE) & CS_IME) != 0)
        return false;
    wchar_t name[256] = {};
    if (::GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) == 0)
        return false;
    return ::lstrcmpiW(name, className) == 0;
}

} // namespace

Wnd::~Wnd()
{
    // A window must not outlive its object: its messages would reach freed memory.
    // Its last messages go to the procedure it had before the takeover.
    if (m_hWnd != nullptr) {
        HWND hwnd = m_hWnd;
        if (m_superProc != nullptr)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
        Detach();
        ::DestroyWindow(hwnd);
    }
}

bool Wnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                   int width, int height, HWND parent, HMENU menuOrId)
{
    const std::wstring wideClass = WideFromText(className);
    const std::wstring wideName = WideFromText(windowName != nullptr ? windowName : "");
    WNDCLASSEXW known = {};
    known.cbSize = sizeof(known);
    const bool ownClass = ::GetClassInfoExW(ResourceInstance(), wideClass.c_str(), &known) != FALSE &&
                          known.lpfnWndProc == &Wnd::StartWndProc;
    const bool afterwards = !ownClass && TakenOverOnceMade();
    HHOOK hook = nullptr;
    if (!ownClass && !afterwards) {
        hook = ::SetWindowsHookExW(WH_CBT, CbtHook, nullptr, ::GetCurrentThreadId());
        if (hook == nullptr)
            return false;
    }
    t_creating = afterwards ? nullptr : this;
    t_creatingClass = wideClass.c_str();
    if (g_beforeCreate != nullptr)
        g_beforeCreate();
    HWND hwnd = ::CreateWindowExW(exStyle, wideClass.c_str(), wideName.c_str(), style, x, y, width, height, parent,
                                  menuOrId, ResourceInstance(), nullptr);
    t_creating = nullptr;
    t_creatingClass = nullptr;
    if (hook != nullptr)
        ::UnhookWindowsHookEx(hook);
    if (afterwards && hwnd != nullptr)
        CallGuarded(false, [&] {
            SubclassWindow(hwnd);
            return true;
        });
    if (hwnd == nullptr) {
        // A window whose WM_CREATE failed is already gone; forget it.
        if (m_hWnd != nullptr)
            Detach();
        return false;
    }
    if (m_hWnd != hwnd) {
        // Made, but not taken over (no memory for the handle map): no object would
        // answer its messages.
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

bool Wnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

Wnd* Wnd::FromHandle(HWND hwnd)
{
    auto& map = HandleMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

bool Wnd::PreTranslateMessage(MSG&)
{
    return false;
}

LRESULT Wnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT Wnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == WM_DRAWITEM || msg == WM_MEASUREITEM) && Menu::RouteOwnerDraw(msg, lParam))
        return TRUE;
    if (m_superProc != nullptr)
        return ::CallWindowProcW(m_superProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

void Wnd::Attach(HWND hwnd, WNDPROC superProc)
{
    m_hWnd = hwnd;
    m_superProc = superProc;
    HandleMap()[hwnd] = this;
}

void Wnd::SubclassWindow(HWND hwnd)
{
    // Mapped first: if that fails, the window keeps its own procedure.
    Attach(hwnd, nullptr);
    m_superProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Wnd::StdWndProc)));
}

void Wnd::Detach()
{
    if (m_hWnd != nullptr)
        HandleMap().erase(m_hWnd);
    m_hWnd = nullptr;
    m_superProc = nullptr;
}

bool Wnd::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

namespace {

// The child window a notification comes from, or null for other messages.
HWND NotifyingChild(UINT msg, LPARAM lParam)
{
    if (lParam == 0)
        return nullptr;
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: {
        // A menu item's "window" is its menu.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    default:
        return nullptr;
    }
}

} // namespace

bool ReflectToChild(Wnd* parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = NotifyingChild(msg, lParam);
    if (child == nullptr)
        return false;
    Wnd* childObject = Wnd::FromHandle(child);
    return childObject != nullptr && childObject != parent &&
           childObject->OnReflectedMessage(msg, wParam, lParam, result);
}

LRESULT DispatchToObject(Wnd* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT reflected = 0;
    if (CallGuarded(false, [&] { return ReflectToChild(self, msg, wParam, lParam, reflected); }))
        return reflected;
    // The object may be gone once any other message has been handled.
    if (msg != WM_NCDESTROY)
        return CallGuarded<LRESULT>(0, [&] { return self->WindowProc(msg, wParam, lParam); });
    const LRESULT result = CallGuarded<LRESULT>(0, [&] { return self->WindowProc(msg, wParam, lParam); });
    self->Detach();
    App* app = App::Current();
    if (app != nullptr && app->MainWindow() == hwnd) {
        // The main window's end is the end of the message loop.
        app->SetMainWindow(nullptr);
        app->Quit(0);
    }
    CallGuarded(0, [&] {
        self->PostNcDestroy();
        return 0;
    });
    return result;
}

LRESULT CALLBACK Wnd::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Wnd* self = FromHandle(hwnd);
    if (self == nullptr)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return DispatchToObject(self, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Wnd::StartWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Wnd* self = FromHandle(hwnd);
    if (self == nullptr && t_creating != nullptr && IsRequestedWindow(hwnd, t_creatingClass)) {
        // Windows that the object's own WM_CREATE makes come after this point and join
        // their own objects.
        Wnd* creating = t_creating;
        t_creating = nullptr;
        if (CallGuarded(false, [&] {
                creating->Attach(hwnd, nullptr);
                return true;
            }))
            self = creating;
    }
    if (self == nullptr)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return DispatchToObject(self, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Wnd::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && t_creating != nullptr && IsRequestedWindow(hwnd, t_creatingClass)) {
        // Windows that the object's own WM_CREATE makes come after this point and are
        // not taken over.
        Wnd* self = t_creating;
        t_creating = nullptr;
        CallGuarded(false, [&] {
            self->SubclassWindow(hwnd);
            return true;
        });
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void Wnd::SetBeforeCreateHook(void (*hook)())
{
    g_beforeCreate = hook;
}

bool RegisterClassOnce(const char* className, UINT classStyle, UINT iconId, const wchar_t* systemCursor,
                       HBRUSH background)
{
    const std::wstring name = WideFromText(className);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = ResourceInstance();
    if (::GetClassInfoExW(instance, name.c_str(), &wc))
        return true;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = &Wnd::StartWndProc;
    wc.hInstance = instance;
    wc.hIcon = iconId == 0 ? nullptr
                           : static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 32, 32, 0));
    wc.hCursor = systemCursor == nullptr ? nullptr : ::LoadCursorW(nullptr, systemCursor);
    wc.hbrBackground = background;
    wc.lpszClassName = name.c_str();
    return ::RegisterClassExW(&wc) != 0;
}

namespace {

// The system reads the quota when the session starts, so it is read here once: a hundred
// notes shown at once ask for it twice each.
DWORD UserObjectQuota()
{
    DWORD quota = 10000;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                        KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD value = 0;
        DWORD type = 0;
        DWORD size = sizeof(value);
        if (::RegQueryValueExW(key, L"USERProcessHandleQuota", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size) == ERROR_SUCCESS &&
            type == REG_DWORD && value != 0)
            quota = value;
        ::RegCloseKey(key);
    }
    return quota;
}

} // namespace

int UserObjectsLeft()
{
    static const DWORD quota = UserObjectQuota();
    const DWORD used = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    return used < quota ? static_cast<int>(quota - used) : 0;
}

} // namespace fw
