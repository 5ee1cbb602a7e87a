#include "App.h"

#include "DarkMode.h"
#include "Strings.h"
#include "Wnd.h"
#include "../core/TextRules.h"

namespace fw {

namespace {
App* g_current = nullptr;
}

App::App()
{
    g_current = this;
}

App::~App()
{
    if (g_current == this)
        g_current = nullptr;
}

App* App::Current()
{
    return g_current;
}

int App::ExitInstance()
{
    return m_exitCode;
}

bool App::PreTranslateMessage(MSG& msg)
{
    for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        Wnd* wnd = Wnd::FromHandle(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg))
            return true;
        if ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return false;
}

void App::Quit(int exitCode)
{
    m_exitCode = exitCode;
    m_quitting = true;
    ::PostQuitMessage(exitCode);
}

int App::Run()
{
    MSG msg;
    while (!m_quitting) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        if (PreTranslateMessage(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int App::WinMain(HINSTANCE)
{
    // The narrow command line would come in the system's code page.
    const wchar_t* whole = ::GetCommandLineW();
    m_commandLine = TextFromWide(std::wstring(ArgumentsOfCommandLine(whole != nullptr ? whole : L"")));
    // Before the first window, which the system would otherwise draw light for good.
    AllowDarkMode();
    if (!InitInstance())
        return ExitInstance();
    return Run();
}

std::string App::Title() const
{
    return TextFromWide(AppTitleFromPath(ModulePath()));
}

int App::MessageBox(const std::string& text, UINT type, HWND owner) const
{
    return ::MessageBoxW(owner, WideFromText(text).c_str(), WideFromText(Title()).c_str(), type);
}

} // namespace fw
