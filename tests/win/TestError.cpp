#include "framework/PError.h"
#include "WinTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct BoxFinder {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBoxOfProcess(HWND hwnd, LPARAM param)
{
    auto* finder = reinterpret_cast<BoxFinder*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == finder->processId && ::IsWindowVisible(hwnd) && wintest::ClassName(hwnd) == "#32770") {
        finder->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool HasIconStatic(HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (wintest::ClassName(child) == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return true;
    }
    return false;
}

int CountButtons(HWND box)
{
    int n = 0;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (wintest::ClassName(child) == "Button" && ::IsWindowVisible(child))
            ++n;
    }
    return n;
}

struct RaisedBox {
    std::string caption;
    std::string text;
    std::string style;
    bool icon = false;
    int buttons = 0;
    DWORD exitCode = 0;
};

// Starts this test program as a child that raises the code, reads the box it shows,
// closes it the way a user would, and collects the child's exit code.
RaisedBox RaiseInChild(int code)
{
    RaisedBox result;
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    char tempDir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, tempDir);
    const std::string styleFile = std::string(tempDir) + "pinvel-box-style.txt";
    ::DeleteFileA(styleFile.c_str());
    std::string commandLine =
        std::string("\"") + exe + "\" --raise " + std::to_string(code) + " \"" + styleFile + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start the child";
        return result;
    }
    BoxFinder finder = {pi.dwProcessId, nullptr};
    const bool shown = wintest::PumpUntil(
        [&] {
            ::EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&finder));
            return finder.found != nullptr;
        },
        15000);
    EXPECT_TRUE(shown) << "no error box for " << code;
    if (shown) {
        result.caption = wintest::WindowText(finder.found);
        char text[1024] = {};
        ::GetDlgItemTextA(finder.found, 0xFFFF, text, sizeof(text));
        result.text = text;
        result.icon = HasIconStatic(finder.found);
        result.buttons = CountButtons(finder.found);
        ::PostMessageA(finder.found, WM_COMMAND, IDOK, 0);
    }
    if (::WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the child did not end after its box closed";
        ::TerminateProcess(pi.hProcess, 99);
    }
    ::GetExitCodeProcess(pi.hProcess, &result.exitCode);
    if (FILE* f = std::fopen(styleFile.c_str(), "r")) {
        char buffer[32] = {};
        std::fgets(buffer, sizeof(buffer), f);
        std::fclose(f);
        result.style = buffer;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return result;
}

TEST(ErrorBox, EveryStartupCodeShowsItsMessageAndEndsWithCodeOne)
{
    const struct {
        int code;
        const char* message;
    } cases[] = {
        {20002, "Laod RICHED20.DLL Failed"},
        {20003, "Create PRichEdit Window Failed"},
        {20004, "Create PinvelWnd Window Failed"},
        {20005, "Create PLogic Window Failed"},
        {20006, "Create PDummyWnd Window Failed"},
        {20007, "Create PSysTray Window Failed"},
    };
    for (const auto& c : cases) {
        const RaisedBox box = RaiseInChild(c.code);
        EXPECT_EQ(box.caption, "Pinvel") << c.code;
        EXPECT_EQ(box.text, "Error Occurred !\n  Code: " + std::to_string(c.code) + "\n  Message: " + c.message);
        EXPECT_EQ(box.style, "0x00040010") << c.code;
        EXPECT_TRUE(box.icon) << c.code;
        EXPECT_EQ(box.buttons, 1) << c.code;
        EXPECT_EQ(box.exitCode, 1u) << c.code;
    }
}

TEST(ErrorBox, CodeWithoutStringShowsAnEmptyMessage)
{
    EXPECT_EQ(PError::BoxText(12345), "Error Occurred !\n  Code: 12345\n  Message: ");
}

TEST(ErrorBox, ReporterStartsAtSuccess)
{
    PError reporter;
    EXPECT_EQ(reporter.Code(), 20001);
}

} // namespace
