#include "DarkMode.h"

#include "SystemLook.h"
#include "../core/DarkModeOffer.h"

#include <commctrl.h>

#include <cwchar>

namespace fw {

namespace {

// Dialog fields sit a shade below the face, as in the system's own dark windows.
constexpr COLORREF kDarkField = RGB(30, 30, 30);

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);
using AllowDarkModeForWindowFn = BOOL(WINAPI*)(HWND, BOOL);
using AllowDarkModeForAppFn = BOOL(WINAPI*)(BOOL);
using SetPreferredAppModeFn = int(WINAPI*)(int);
using FlushMenuThemesFn = void(WINAPI*)();

// SetPreferredAppMode's "allow dark": dark when the user asks for it, light otherwise.
constexpr int kAllowDarkAppMode = 1;

// A library loaded for the process's life.
class Library {
public:
    explicit Library(const wchar_t* name) : m_module(::LoadLibraryW(name)) {}
    ~Library()
    {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    template <typename Fn>
    Fn Find(const char* name) const
    {
        if (m_module == nullptr)
            return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_module, name)));
    }
    template <typename Fn>
    Fn FindOrdinal(WORD ordinal) const
    {
        // GetProcAddress has no wide form: an ordinal goes as the low word of its name.
        return Find<Fn>(reinterpret_cast<const char*>(static_cast<ULONG_PTR>(ordinal)));
    }

private:
    HMODULE m_module;
};

// GetVersionEx answers 6.2 to a program whose manifest names no later Windows.
const DarkModeOffer& Offer()
{
    static const DarkModeOffer offer = [] {
        OSVERSIONINFOW version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        const auto get = ntdll == nullptr ? nullptr
                                          : reinterpret_cast<RtlGetVersionFn>(
                                                reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
        if (get == nullptr || get(&version) != 0)
            return DarkModeOffer{};
        return DarkModeOfferFor(version.dwMajorVersion, version.dwBuildNumber);
    }();
    return offer;
}

const Library& UxTheme()
{
    static const Library library(L"uxtheme.dll");
    return library;
}

const Library& Dwm()
{
    static const Library library(L"dwmapi.dll");
    return library;
}

bool Dark()
{
    return CurrentLook() == Look::Dark;
}

// The theme a control of a class takes while dark: the system's dark classes where they
// exist; none at all for those whose themed text stays black on the dark face, so that
// the classic drawing takes the dialog's text colour.
const wchar_t* DarkThemeOf(HWND control)
{
    wchar_t name[32] = {};
    ::GetClassNameW(control, name, 32);
    if (_wcsicmp(name, L"Button") == 0) {
        const LONG kind = ::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
        const bool pushed = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
        return pushed ? L"DarkMode_Explorer" : L"";
    }
    if (_wcsicmp(name, L"ComboBox") == 0)
        return L"DarkMode_CFD";
    if (_wcsicmp(name, L"SysListView32") == 0 || _wcsicmp(name, L"ScrollBar") == 0 ||
        _wcsicmp(name, TOOLTIPS_CLASSW) == 0)
        return L"DarkMode_Explorer";
    return nullptr;
}

BOOL CALLBACK FollowChild(HWND child, LPARAM changed)
{
    FollowLookInControl(child, changed != 0);
    return TRUE;
}

} // namespace

void AllowDarkMode()
{
    if (!Offer().undocumented)
        return;
    // Ordinal 135 changed its meaning with 1903: a flag before, an app mode since.
    if (Offer().appModeByNumber) {
        if (const auto setMode = UxTheme().FindOrdinal<SetPreferredAppModeFn>(135))
            setMode(kAllowDarkAppMode);
    } else if (const auto allow = UxTheme().FindOrdinal<AllowDarkModeForAppFn>(135)) {
        allow(TRUE);
    }
    FlushDarkMenus();
}

void FlushDarkMenus()
{
    if (!Offer().undocumented)
        return;
    if (const auto flush = UxTheme().FindOrdinal<FlushMenuThemesFn>(136))
        flush();
}

void FollowLookInTitleBar(HWND window, bool changed)
{
    const bool dark = Dark();
    if ((!dark && !changed) || Offer().titleBarAttribute == 0)
        return;
    if (const auto set = Dwm().Find<DwmSetWindowAttributeFn>("DwmSetWindowAttribute")) {
        const BOOL value = dark ? TRUE : FALSE;
        set(window, Offer().titleBarAttribute, &value, sizeof(value));
    }
}

void FollowLookInControl(HWND control, bool changed)
{
    const bool dark = Dark();
    if ((!dark && !changed) || !Offer().undocumented)
        return;
    const wchar_t* theme = DarkThemeOf(control);
    if (theme == nullptr)
        return;
    if (const auto allow = UxTheme().FindOrdinal<AllowDarkModeForWindowFn>(133))
        allow(control, dark ? TRUE : FALSE);
    if (const auto setTheme = UxTheme().Find<SetWindowThemeFn>("SetWindowTheme")) {
        // Back in the light look the control takes the theme every window starts with.
        setTheme(control, dark ? theme : nullptr, dark && *theme == L'\0' ? L"" : nullptr);
    }
}

void FollowLookInControls(HWND dialog, bool changed)
{
    ::EnumChildWindows(dialog, &FollowChild, changed ? 1 : 0);
}

void DialogColours::FollowInFrame(HWND dialog)
{
    const bool dark = Dark();
    const bool changed = m_framed && dark != m_frameDark;
    if (m_framed && !changed)
        return;
    FollowLookInTitleBar(dialog, changed);
    FollowLookInControls(dialog, changed);
    m_framed = true;
    m_frameDark = dark;
}

void DialogColours::OnLookMayHaveChanged(HWND dialog)
{
    // Whichever window hears the change first reads the look again for all.
    RefreshLook();
    FollowInFrame(dialog);
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool DialogColours::Erase(HWND dialog, HDC dc)
{
    const HBRUSH face = Answer(WM_CTLCOLORDLG, dc);
    if (face == nullptr)
        return false;
    RECT client;
    ::GetClientRect(dialog, &client);
    ::FillRect(dc, &client, face);
    return true;
}

HBRUSH DialogColours::Answer(UINT msg, HDC dc)
{
    if (!Dark()) {
        m_face.Reset();
        m_field.Reset();
        return nullptr;
    }
    if (!m_face) {
        m_face.Reset(::CreateSolidBrush(Chrome().back));
        m_field.Reset(::CreateSolidBrush(kDarkField));
    }
    const ChromeColours colours = Chrome();
    switch (msg) {
    case WM_CTLCOLORDLG:
        return m_face.Get();
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        ::SetTextColor(dc, colours.text);
        ::SetBkColor(dc, colours.back);
        return m_face.Get();
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        ::SetTextColor(dc, colours.text);
        ::SetBkColor(dc, kDarkField);
        return m_field.Get();
    default:
        return nullptr;
    }
}

} // namespace fw
