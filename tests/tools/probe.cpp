// pvprobe: looks at and drives the windows of programs running on the same desktop,
// for the whole-program tests. Prints UTF-8, one record a line; exit code 0 on success.
//
//   pvprobe list                              top-level windows: hwnd visible pid class title
//   pvprobe wait CLASS TITLE TIMEOUT_MS       wait for a top-level window ("-" matches any)
//   pvprobe gone CLASS TITLE TIMEOUT_MS       wait until no such window exists
//   pvprobe children HWND                     child windows: hwnd id enabled visible class text
//   pvprobe command HWND ID                   post WM_COMMAND ID (a button click) to a window
//   pvprobe send HWND MSG WPARAM LPARAM       send a message, print the result
//   pvprobe post HWND MSG WPARAM LPARAM       post a message
//   pvprobe text HWND                         the text the window gives for WM_GETTEXT
//   pvprobe rect HWND                         window rectangle: left top right bottom
//   pvprobe hold PATH MS                      keep a file open, shared with no one, for MS ms
//   pvprobe clip TEXT                         put the text on the clipboard
//   pvprobe layered HWND                      the window's alpha, or "none" when not layered
//   pvprobe hotkey MODS VK MS                 hold a system-wide hotkey for MS ms
//   pvprobe cover L T R B MS                  another program's window, in front, for MS ms
//   pvprobe setting AREA                      tell every window a setting changed, as Windows
//                                             does (WM_SETTINGCHANGE naming AREA)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void Print(const std::wstring& line)
{
    const std::wstring withNewline = line + L"\n";
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, withNewline.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, withNewline.c_str(), -1, &utf8[0], n, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size() - 1), &written,
                nullptr);
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t buffer[256] = {};
    ::GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

std::wstring TextOf(HWND hwnd)
{
    std::vector<wchar_t> buffer(4096);
    ::GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    std::wstring text(buffer.data());
    for (auto& c : text) {
        if (c == L'\r' || c == L'\n' || c == L'\t')
            c = L' ';
    }
    return text;
}

HWND ParseHwnd(const wchar_t* text)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(text, nullptr, 0)));
}

std::wstring HwndText(HWND hwnd)
{
    return std::to_wstring(reinterpret_cast<ULONG_PTR>(hwnd));
}

struct Match {
    std::wstring cls;
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param)
{
    auto* m = reinterpret_cast<Match*>(param);
    if ((m->cls == L"-" || ClassOf(hwnd) == m->cls) && (m->title == L"-" || TextOf(hwnd) == m->title)) {
        m->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(const wchar_t* cls, const wchar_t* title)
{
    Match m{cls, title};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&m));
    return m.found;
}

BOOL CALLBACK ListWindow(HWND hwnd, LPARAM)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    Print(HwndText(hwnd) + L"\t" + (::IsWindowVisible(hwnd) ? L"1" : L"0") + L"\t" + std::to_wstring(pid) + L"\t" +
          ClassOf(hwnd) + L"\t" + TextOf(hwnd));
    return TRUE;
}

int Wait(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs, bool forGone)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND hwnd = FindTopLevel(cls, title);
        if (!forGone && hwnd != nullptr) {
            Print(HwndText(hwnd));
            return 0;
        }
        if (forGone && hwnd == nullptr)
            return 0;
        if (::GetTickCount() - start >= timeoutMs)
            return 1;
        ::Sleep(50);
    }
}

int Children(HWND parent)
{
    if (!::IsWindow(parent))
        return 1;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        Print(HwndText(c) + L"\t" + std::to_wstring(static_cast<int>(::GetDlgCtrlID(c))) + L"\t" +
              (::IsWindowEnabled(c) ? L"1" : L"0") + L"\t" + (::IsWindowVisible(c) ? L"1" : L"0") + L"\t" +
              ClassOf(c) + L"\t" + TextOf(c));
    }
    return 0;
}

// Every window of a process: its top-level windows and all their descendants.
struct ProcessWindows {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDescendant(HWND hwnd, LPARAM param)
{
    reinterpret_cast<ProcessWindows*>(param)->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param)
{
    auto* windows = reinterpret_cast<ProcessWindows*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == windows->pid) {
        windows->found.push_back(hwnd);
        ::EnumChildWindows(hwnd, CollectDescendant, param);
    }
    return TRUE;
}

// Posts each message with every pair of junk arguments to every window of the process
// that owns hwnd, as a hostile program on the same desktop could.
int Flood(HWND hwnd, int count, wchar_t** messages)
{
    ProcessWindows windows = {0, {}};
    ::GetWindowThreadProcessId(hwnd, &windows.pid);
    if (windows.pid == 0)
        return 1;
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    const DWORD junk[] = {0, 1, 0x12345678, 0xDEADBEEF};
    int posted = 0;
    for (int m = 0; m < count; ++m) {
        const UINT message = static_cast<UINT>(std::wcstoul(messages[m], nullptr, 0));
        for (HWND target : windows.found) {
            for (DWORD w : junk) {
                for (DWORD l : junk)
                    posted += ::PostMessageW(target, message, w, static_cast<LPARAM>(l)) ? 1 : 0;
            }
        }
    }
    Print(std::to_wstring(windows.found.size()) + L" " + std::to_wstring(posted));
    return 0;
}

// Measures and draws an item of the open menu through hwnd, with item data of the
// probe's choosing, as any program on the desktop can. Prints what the measure answered
// (a fault inside the program's window procedure is swallowed and answers 0).
int OwnerDraw(HWND hwnd, UINT id, ULONG_PTR data)
{
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    HMENU menu = popup != nullptr ? reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
    DWORD_PTR measured = 0;
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, id, 0, 0, data};
    ::SendMessageTimeoutW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), SMTO_ABORTIFHUNG, 5000,
                          &measured);
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemID = id;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.hwndItem = reinterpret_cast<HWND>(menu);
    draw.hDC = ::GetDC(nullptr);
    draw.rcItem = RECT{0, 0, 120, 24};
    draw.itemData = data;
    DWORD_PTR drawn = 0;
    ::SendMessageTimeoutW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), SMTO_ABORTIFHUNG, 5000, &drawn);
    ::ReleaseDC(nullptr, draw.hDC);
    Print(std::to_wstring(measured));
    return 0;
}

// Runs the thread's messages for ms milliseconds.
void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

int Cover(const RECT& rc, DWORD ms)
{
    HWND hwnd = ::CreateWindowExW(0, L"Static", L"pvprobe cover", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, nullptr, nullptr);
    if (hwnd == nullptr)
        return 1;
    ::SetForegroundWindow(hwnd);
    Print(HwndText(hwnd));
    std::fflush(stdout);
    Pump(ms);
    ::DestroyWindow(hwnd);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring verb = argv[1];
    if (verb == L"list") {
        ::EnumWindows(ListWindow, 0);
        return 0;
    }
    if ((verb == L"wait" || verb == L"gone") && argc == 5)
        return Wait(argv[2], argv[3], static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10)), verb == L"gone");
    if (verb == L"children" && argc == 3)
        return Children(ParseHwnd(argv[2]));
    if (verb == L"command" && argc == 4) {
        HWND hwnd = ParseHwnd(argv[2]);
        const int id = static_cast<int>(std::wcstol(argv[3], nullptr, 0));
        return ::PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) ? 0 : 1;
    }
    if (verb == L"send" && argc == 6) {
        const LRESULT r = ::SendMessageW(ParseHwnd(argv[2]), static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)),
                                         static_cast<WPARAM>(std::wcstoull(argv[4], nullptr, 0)),
                                         static_cast<LPARAM>(std::wcstoll(argv[5], nullptr, 0)));
        Print(std::to_wstring(static_cast<long long>(r)));
        return 0;
    }
    // Posted, so that a message whose handler blocks (a menu, a modal dialog) does not
    // hold the probe.
    if (verb == L"post" && argc == 6) {
        return ::PostMessageW(ParseHwnd(argv[2]), static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)),
                              static_cast<WPARAM>(std::wcstoull(argv[4], nullptr, 0)),
                              static_cast<LPARAM>(std::wcstoll(argv[5], nullptr, 0)))
                   ? 0
                   : 1;
    }
    if (verb == L"hold" && argc == 4) {
        HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        Print(L"held");
        std::fflush(stdout);
        ::Sleep(static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
        ::CloseHandle(file);
        return 0;
    }
    // The text, and an RTF of it as a word processor would add (ASCII), on the clipboard.
    if (verb == L"clip" && (argc == 3 || argc == 4)) {
        const std::wstring text = argv[2];
        if (!::OpenClipboard(nullptr))
            return 1;
        ::EmptyClipboard();
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::wmemcpy(static_cast<wchar_t*>(::GlobalLock(data)), text.c_str(), text.size() + 1);
        ::GlobalUnlock(data);
        ::SetClipboardData(CF_UNICODETEXT, data);
        if (argc == 4) {
            const std::string rtf(argv[3], argv[3] + std::wcslen(argv[3]));
            HGLOBAL rich = ::GlobalAlloc(GMEM_MOVEABLE, rtf.size() + 1);
            std::memcpy(::GlobalLock(rich), rtf.c_str(), rtf.size() + 1);
            ::GlobalUnlock(rich);
            ::SetClipboardData(::RegisterClipboardFormatW(L"Rich Text Format"), rich);
        }
        ::CloseClipboard();
        return 0;
    }
    // The clipboard's text as Windows programs see it now.
    if (verb == L"clipped" && argc == 2) {
        if (!::OpenClipboard(nullptr))
            return 1;
        std::wstring text;
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text = chars;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
        Print(text);
        return 0;
    }
    if (verb == L"ownerdraw" && argc == 5)
        return OwnerDraw(ParseHwnd(argv[2]), static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)),
                         static_cast<ULONG_PTR>(std::wcstoull(argv[4], nullptr, 0)));
    if (verb == L"flood" && argc >= 4)
        return Flood(ParseHwnd(argv[2]), argc - 3, argv + 3);
    // The window's own answer, wide: for another process GetWindowText gives only the
    // text a control was created with, and an edit control holds what was typed since.
    if (verb == L"text" && argc == 3) {
        HWND hwnd = ParseHwnd(argv[2]);
        DWORD_PTR length = 0;
        if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
            return 1;
        std::vector<wchar_t> buffer(length + 1);
        DWORD_PTR copied = 0;
        if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                                   SMTO_ABORTIFHUNG, 5000, &copied))
            return 1;
        Print(std::wstring(buffer.data(), copied));
        return 0;
    }
    if (verb == L"layered" && argc == 3) {
        HWND hwnd = ParseHwnd(argv[2]);
        BYTE alpha = 0;
        DWORD flags = 0;
        if ((::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) == 0 ||
            !::GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || (flags & LWA_ALPHA) == 0) {
            Print(L"none");
            return 0;
        }
        Print(std::to_wstring(alpha));
        return 0;
    }
    if (verb == L"hotkey" && argc == 5) {
        if (!::RegisterHotKey(nullptr, 1, std::wcstoul(argv[2], nullptr, 0), std::wcstoul(argv[3], nullptr, 0)))
            return 1;
        Print(L"held");
        std::fflush(stdout);
        Pump(static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10)));
        return 0;
    }
    if (verb == L"cover" && argc == 7) {
        const RECT rc = {std::wcstol(argv[2], nullptr, 10), std::wcstol(argv[3], nullptr, 10),
                         std::wcstol(argv[4], nullptr, 10), std::wcstol(argv[5], nullptr, 10)};
        return Cover(rc, static_cast<DWORD>(std::wcstoul(argv[6], nullptr, 10)));
    }
    if (verb == L"rect" && argc == 3) {
        RECT rc;
        if (!::GetWindowRect(ParseHwnd(argv[2]), &rc))
            return 1;
        Print(std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top) + L" " + std::to_wstring(rc.right) + L" " +
              std::to_wstring(rc.bottom));
        return 0;
    }
    if (verb == L"setting" && argc == 3) {
        // The system carries the name across to each process; a hung window is passed by.
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(argv[2]),
                              SMTO_ABORTIFHUNG, 5000, &ignored);
        return 0;
    }
    if (verb == L"cursor" && argc == 2) {
        POINT at;
        if (!::GetCursorPos(&at))
            return 1;
        Print(std::to_wstring(at.x) + L" " + std::to_wstring(at.y));
        return 0;
    }
    return 2;
}
