#include "SystemLook.h"

#include <cwchar>

namespace fw {

namespace {

constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// -1: not read yet.
int g_highContrast = -1;
int g_dark = -1;
int g_testHighContrast = -1;

bool ReadHighContrast()
{
    if (g_testHighContrast != -1)
        return g_testHighContrast != 0;
    // Wine keeps no high-contrast setting: the whole-program tests name a file whose
    // presence stands for it, so that the broadcast that tells of a change is still real.
    wchar_t seam[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"PINVEL_TEST_HIGH_CONTRAST", seam, MAX_PATH) > 0)
        return ::GetFileAttributesW(seam) != INVALID_FILE_ATTRIBUTES;
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    if (!::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0))
        return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool ReadDark()
{
    DWORD light = 1;
    DWORD size = sizeof(light);
    // Missing (before Windows 10 1809) or unreadable: the light look the program always had.
    if (::RegGetValueW(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light,
                       &size) != ERROR_SUCCESS)
        return false;
    return light == 0;
}

} // namespace

bool HighContrastOn()
{
    if (g_highContrast == -1)
        g_highContrast = ReadHighContrast() ? 1 : 0;
    return g_highContrast != 0;
}

bool AppsUseDark()
{
    if (g_dark == -1)
        g_dark = ReadDark() ? 1 : 0;
    return g_dark != 0;
}

Look CurrentLook()
{
    if (HighContrastOn())
        return Look::HighContrast;
    return AppsUseDark() ? Look::Dark : Look::Light;
}

bool RefreshLook()
{
    const Look before = CurrentLook();
    g_highContrast = -1;
    g_dark = -1;
    return CurrentLook() != before;
}

bool MayChangeLook(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SYSCOLORCHANGE)
        return true;
    if (msg != WM_SETTINGCHANGE)
        return false;
    if (wParam == SPI_SETHIGHCONTRAST)
        return true;
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    return area != nullptr && std::wcscmp(area, L"ImmersiveColorSet") == 0;
}

ChromeColours Chrome()
{
    switch (CurrentLook()) {
    case Look::HighContrast:
        return {::GetSysColor(COLOR_WINDOW),     ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_HIGHLIGHT),
                ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_GRAYTEXT), ::GetSysColor(COLOR_BTNFACE),
                ::GetSysColor(COLOR_HIGHLIGHT),  ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOWTEXT),
                false};
    case Look::Dark:
        // The greys of the system's own dark menus.
        return {RGB(43, 43, 43),   RGB(255, 255, 255), RGB(65, 65, 65), RGB(255, 255, 255),
                RGB(128, 128, 128), RGB(70, 70, 70),   RGB(90, 90, 90), RGB(85, 85, 85),
                RGB(25, 25, 25),   false};
    case Look::Light:
    default:
        return {::GetSysColor(COLOR_MENU),      ::GetSysColor(COLOR_MENUTEXT),  ::GetSysColor(COLOR_HIGHLIGHT),
                ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_BTNSHADOW), RGB(230, 230, 230),
                ::GetSysColor(COLOR_3DLIGHT),   ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW),
                true};
    }
}

void SetHighContrastForTest(int on)
{
    g_testHighContrast = on;
    g_highContrast = -1;
}

} // namespace fw
