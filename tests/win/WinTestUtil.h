#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace wintest {

// Pumps this thread's messages until the condition holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

inline std::string WindowText(HWND hwnd)
{
    char buffer[1024] = {};
    ::GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

inline std::string ClassName(HWND hwnd)
{
    char buffer[256] = {};
    ::GetClassNameA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

} // namespace wintest
