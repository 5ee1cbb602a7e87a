#include "store/PDummyWnd.h"
#include "framework/App.h"
#include "framework/Dialog.h"
#include "framework/Strings.h"
#include "res/resource.h"
#include "WinTestUtil.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace {

const char kTestClass[] = "PINVEL_TEST_WND";

// Records the messages that reach the object.
class RecordingWnd : public fw::Wnd {
public:
    std::vector<UINT> seen;
    bool failCreate = false;
    bool postNcDestroyCalled = false;
    RecordingWnd* child = nullptr;

    bool Create(HWND parent = nullptr)
    {
        fw::RegisterClassOnce(kTestClass, 0, 0, nullptr, nullptr);
        return CreateEx(0, kTestClass, "rec", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent, nullptr);
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_NCCREATE || msg == WM_CREATE || msg == WM_DESTROY || msg == WM_NCDESTROY)
            seen.push_back(msg);
        if (msg == WM_CREATE) {
            if (failCreate)
                return -1;
            if (child != nullptr)
                child->Create(m_hWnd);
        }
        return DefWindowProc(msg, wParam, lParam);
    }
    void PostNcDestroy() override { postNcDestroyCalled = true; }
};

TEST(WindowObject, TakesItsWindowOverBeforeCreation)
{
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    ASSERT_GE(wnd.seen.size(), 2u);
    EXPECT_EQ(wnd.seen[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(wnd.seen[1], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(fw::Wnd::FromHandle(wnd.GetHwnd()), &wnd);

    HWND hwnd = wnd.GetHwnd();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.GetHwnd(), nullptr);
    EXPECT_EQ(fw::Wnd::FromHandle(hwnd), nullptr);
    EXPECT_TRUE(wnd.postNcDestroyCalled);
    EXPECT_EQ(wnd.seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST(WindowObject, WindowsMadeDuringCreationBelongToTheirOwnObjects)
{
    RecordingWnd parent;
    RecordingWnd child;
    parent.child = &child;
    ASSERT_TRUE(parent.Create());
    ASSERT_NE(child.GetHwnd(), nullptr);
    EXPECT_EQ(fw::Wnd::FromHandle(child.GetHwnd()), &child);
    EXPECT_EQ(fw::Wnd::FromHandle(parent.GetHwnd()), &parent);
    EXPECT_EQ(::GetParent(child.GetHwnd()), parent.GetHwnd());
    ASSERT_GE(child.seen.size(), 2u);
    EXPECT_EQ(child.seen[1], static_cast<UINT>(WM_CREATE));
    parent.DestroyWindow();
    EXPECT_EQ(child.GetHwnd(), nullptr);
}

TEST(WindowObject, FailedCreationLeavesNoWindow)
{
    RecordingWnd wnd;
    wnd.failCreate = true;
    EXPECT_FALSE(wnd.Create());
    EXPECT_EQ(wnd.GetHwnd(), nullptr);
}

TEST(WindowObject, DestroyingTheObjectDestroysItsWindow)
{
    HWND hwnd = nullptr;
    {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.Create());
        hwnd = wnd.GetHwnd();
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

// Makes windows of other classes at the moment the take-over is armed, as the system
// makes the thread's input-method window inside its first top-level window's creation.
HHOOK g_intruderHook = nullptr;
std::vector<HWND> g_intruders;
bool g_intrudersMade = false;

LRESULT CALLBACK MakeIntruders(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !g_intrudersMade) {
        g_intrudersMade = true;
        WNDCLASSA ime = {};
        ime.style = CS_IME;
        ime.lpfnWndProc = ::DefWindowProcA;
        ime.hInstance = ::GetModuleHandleA(nullptr);
        ime.lpszClassName = "PINVEL_TEST_IME";
        ::RegisterClassA(&ime);
        g_intruders.push_back(::CreateWindowExA(0, "PINVEL_TEST_IME", "Default IME", WS_POPUP, 0, 0, 1, 1, nullptr,
                                                nullptr, ime.hInstance, nullptr));
        g_intruders.push_back(::CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                                ime.hInstance, nullptr));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void InstallIntruderHook()
{
    // Installed after the take-over's own hook, so it runs first.
    g_intruderHook = ::SetWindowsHookExA(WH_CBT, MakeIntruders, nullptr, ::GetCurrentThreadId());
}

TEST(WindowObject, WindowsOfOtherClassesMadeMeanwhileAreNotTakenOver)
{
    g_intruders.clear();
    g_intrudersMade = false;
    fw::Wnd::SetBeforeCreateHook(&InstallIntruderHook);
    RecordingWnd wnd;
    const bool created = wnd.Create();
    fw::Wnd::SetBeforeCreateHook(nullptr);
    ::UnhookWindowsHookEx(g_intruderHook);
    ASSERT_TRUE(created);
    ASSERT_EQ(g_intruders.size(), 2u);
    for (HWND intruder : g_intruders) {
        EXPECT_EQ(fw::Wnd::FromHandle(intruder), nullptr);
        ::DestroyWindow(intruder);
    }
    EXPECT_EQ(wintest::ClassName(wnd.GetHwnd()), kTestClass);
    EXPECT_EQ(fw::Wnd::FromHandle(wnd.GetHwnd()), &wnd);
    EXPECT_EQ(wnd.seen.front(), static_cast<UINT>(WM_NCCREATE));
}

// A handler that throws, as one does when memory runs out in the middle of a message.
class ThrowingWnd : public RecordingWnd {
public:
    bool fail = false;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_USER && fail)
            throw std::bad_alloc();
        if (msg == WM_USER)
            return 7;
        return RecordingWnd::WindowProc(msg, wParam, lParam);
    }
};

TEST(WindowObject, AnExceptionInAHandlerFailsOnlyThatMessage)
{
    ThrowingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.fail = true;
    EXPECT_EQ(wnd.SendMessage(WM_USER), 0);
    ::PostMessageA(wnd.GetHwnd(), WM_USER, 0, 0);
    wintest::PumpUntil([] { return false; }, 50);
    wnd.fail = false;
    EXPECT_EQ(wnd.SendMessage(WM_USER), 7) << "the window goes on";
}

TEST(WindowClass, RegisteredOnceWithTheDefaultProcedure)
{
    EXPECT_TRUE(fw::RegisterClassOnce("PINVEL_TEST_ONCE", 0, 0, nullptr, nullptr));
    EXPECT_TRUE(fw::RegisterClassOnce("PINVEL_TEST_ONCE", CS_DBLCLKS, 0, nullptr, nullptr));
    WNDCLASSEXA wc = {sizeof(wc)};
    ASSERT_TRUE(::GetClassInfoExA(::GetModuleHandleA(nullptr), "PINVEL_TEST_ONCE", &wc));
    EXPECT_EQ(wc.style, 0u) << "the second call must not re-register";
}

TEST(DummyWindow, InvisibleOneByOneChildOfItsParent)
{
    RecordingWnd parent;
    ASSERT_TRUE(parent.Create());
    PDummyWnd first;
    PDummyWnd second;
    ASSERT_TRUE(first.Create(parent.GetHwnd()));
    ASSERT_TRUE(second.Create(parent.GetHwnd())) << "a second owner window reuses the class";
    for (PDummyWnd* dummy : {&first, &second}) {
        HWND hwnd = dummy->GetHwnd();
        EXPECT_EQ(wintest::ClassName(hwnd), "PCN_DUMMY");
        EXPECT_EQ(wintest::WindowText(hwnd), "Dummy");
        const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_FALSE(style & WS_VISIBLE);
        EXPECT_EQ(::GetParent(hwnd), parent.GetHwnd());
        RECT rc;
        ::GetWindowRect(hwnd, &rc);
        EXPECT_EQ(rc.right - rc.left, 1);
        EXPECT_EQ(rc.bottom - rc.top, 1);
    }
}

TEST(DummyWindow, WithoutParentAPopupOutsideTheTaskbar)
{
    PDummyWnd dummy;
    ASSERT_TRUE(dummy.Create(nullptr));
    const LONG style = ::GetWindowLongA(dummy.GetHwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongA(dummy.GetHwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_NE(::GetForegroundWindow(), dummy.GetHwnd());
}

TEST(StringTable, TextsInTheProgramsCodePage)
{
    EXPECT_EQ(::GetACP(), 936u) << "the tests run with the Chinese ANSI code page";
    EXPECT_EQ(fw::LoadResString(IDS_PRODUCT), "Pinvel");
    EXPECT_EQ(fw::LoadResString(IDS_NOTES_FOLDER), "\xb1\xca\xbc\xc7"); // 笔记
    EXPECT_EQ(fw::LoadResString(IDS_NOTE_EXT), "pvl");
    EXPECT_EQ(fw::LoadResString(IDS_HELP_FILE), "Pinvel.chm");
    EXPECT_EQ(fw::LoadResString(ERR_LOAD_RICHEDIT), "Laod RICHED20.DLL Failed");
    EXPECT_EQ(fw::LoadResString(ERR_END), "End Of Error");
    EXPECT_EQ(fw::LoadResString(IDS_FIND_NOT_FOUND), "\xb2\xbb\xc4\xdc\xb2\xe9\xd5\xd2\xd7\xd6\xb7\xfb\xb4\xae \"%s\"");
    EXPECT_EQ(fw::LoadResString(IDS_WEEKDAY_BASE + 1), "\xd0\xc7\xc6\xda\xc8\xd5");    // 星期日
    EXPECT_EQ(fw::LoadResString(IDS_MONTH_BASE + 12), "\xca\xae\xb6\xfe\xd4\xc2");     // 十二月
    EXPECT_EQ(fw::LoadResString(IDS_DAY_BASE + 31), "31");
    EXPECT_EQ(fw::LoadResString(1), "");
}

TEST(StringTable, LongEntriesComeBackWhole)
{
    const std::string notice = fw::LoadResString(IDS_ABOUT_NOTICE);
    EXPECT_GT(notice.size(), 255u) << "long enough to need the buffer to grow";
    const std::size_t gap = notice.find("\r\n\r\n");
    ASSERT_NE(gap, std::string::npos) << "two paragraphs";
    EXPECT_EQ(notice.find("\r\n\r\n", gap + 4), std::string::npos);
    EXPECT_LE(fw::LoadResString(IDS_TRAY_TIP).size(), 63u);
}

TEST(StringTable, EveryCommandHasATooltip)
{
    for (UINT id : {32771u, 32772u, 32773u, 32776u, 32777u, 32780u, 32781u, 32782u, 32783u, 32784u, 32785u,
                    32786u, 32791u, 32792u, 32793u, 32794u, 32795u, 32797u, 32803u, 32804u, 32805u, 32806u,
                    32807u, 32809u, 32810u, 32811u, 32818u, 32820u}) {
        const std::string text = fw::LoadResString(id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.find('\n'), std::string::npos) << id;
    }
    // The caption buttons' tooltips.
    EXPECT_EQ(fw::LoadResString(32797), "\xB4\xB4\xBD\xA8\xD2\xBB\xB8\xF6\xD0\xC2\xB1\xCA\xBC\xC7"); // 创建一个新笔记
    EXPECT_EQ(fw::LoadResString(32820), "\xC9\xCF\xBE\xED/\xD5\xB9\xBF\xAA\xB1\xCA\xBC\xC7"); // 上卷/展开笔记
}

// Reads the notice's controls when it starts and closes itself.
class NoticeProbe : public fw::Dialog {
public:
    NoticeProbe() : fw::Dialog(IDD_ALREADY_RUNNING) {}
    std::string caption, okText, message;
    bool disabledLabel = false;

protected:
    BOOL OnInitDialog() override
    {
        caption = wintest::WindowText(m_hWnd);
        okText = wintest::WindowText(::GetDlgItem(m_hWnd, IDOK));
        for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
            const std::string text = wintest::WindowText(c);
            if (text.size() > 40)
                message = text;
            if (text == "Pinvel" && !::IsWindowEnabled(c))
                disabledLabel = true;
        }
        ::PostMessageA(m_hWnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
};

TEST(DataExchange, TextLeftAsItWasKeepsItsBytes)
{
    HWND dialog = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 90, 20, dialog, reinterpret_cast<HMENU>(100),
                                  nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    // Written on a system of another code page: no character of 936 has these bytes.
    std::string title = "caf\xE9\xFF";
    fw::DataExchange(dialog, false).Text(100, title);
    fw::DataExchange(dialog, true).Text(100, title);
    EXPECT_EQ(title, "caf\xE9\xFF");

    ::SetWindowTextW(edit, L"\u4E2D\u6587 caf\u00E9");
    fw::DataExchange(dialog, true).Text(100, title);
    EXPECT_EQ(title, "\xD6\xD0\xCE\xC4 caf\xA8\xA6") << "edited, it is the program's code page";
    ::DestroyWindow(dialog);
}

TEST(ModalDialog, NoticeFromItsTemplate)
{
    NoticeProbe notice;
    EXPECT_EQ(notice.DoModal(nullptr), IDOK);
    EXPECT_EQ(notice.caption, "Pinvel \xd2\xd1\xbe\xad\xc6\xf4\xb6\xaf"); // Pinvel 已经启动
    EXPECT_EQ(notice.okText, "\xc8\xb7\xb6\xa8");                           // 确定
    EXPECT_EQ(notice.message.rfind("Pinvel ", 0), 0u);
    EXPECT_TRUE(notice.disabledLabel);
    EXPECT_EQ(notice.GetHwnd(), nullptr) << "the object lets go of its window when it ends";
}

class QuitWhenMainWindowGoes : public fw::App {
public:
    bool InitInstance() override { return true; }
};

TEST(MessageLoop, EndsWhenTheMainWindowIsDestroyed)
{
    QuitWhenMainWindowGoes app;
    EXPECT_EQ(fw::App::Current(), &app);
    RecordingWnd main;
    ASSERT_TRUE(main.Create());
    app.SetMainWindow(main.GetHwnd());
    ::PostMessageA(main.GetHwnd(), WM_CLOSE, 0, 0); // the default handling destroys it
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(main.GetHwnd(), nullptr);
    EXPECT_EQ(app.MainWindow(), nullptr);
}

TEST(MessageLoop, ApplicationTitleIsTheProgramFileName)
{
    QuitWhenMainWindowGoes app;
    EXPECT_EQ(app.Title(), "pinvel_win_tests");
}

} // namespace
