#include "app/Messages.h"
#include "store/PLogic.h"
#include "WinTestUtil.h"

#include <gtest/gtest.h>

namespace {

int g_fakeMinute = 0;
int g_minuteReads = 0;

int FakeMinute()
{
    ++g_minuteReads;
    return g_fakeMinute;
}

// Each test gets a logic window reading the fake clock, and the real clock back after.
class LogicWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_fakeMinute = 17;
        g_minuteReads = 0;
        PLogic::SetMinuteSource(&FakeMinute);
        logic = std::make_unique<PLogic>();
    }
    void TearDown() override
    {
        logic.reset();
        PLogic::SetMinuteSource(nullptr);
    }
    std::unique_ptr<PLogic> logic;
};

TEST_F(LogicWindow, HiddenOneByOnePopupFoundByItsClass)
{
    ASSERT_TRUE(logic->Create());
    HWND hwnd = logic->GetHwnd();
    EXPECT_EQ(::FindWindowA("PCN_LOGIC", nullptr), hwnd);
    EXPECT_EQ(wintest::WindowText(hwnd), "PinvelMain");
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS, static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(::GetWindowLongA(hwnd, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_EQ(::GetParent(hwnd), nullptr);
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, 1);
    EXPECT_EQ(rc.bottom, 1);
    EXPECT_NE(::GetClassLongPtrA(hwnd, GCLP_HICON), 0) << "icon 128 on the class";
}

TEST_F(LogicWindow, FolderIsTheProgramFolderWithItsBackslash)
{
    ASSERT_TRUE(logic->Create());
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected.erase(expected.find_last_of(L'\\') + 1);
    EXPECT_EQ(logic->GetFolder(), expected);
    EXPECT_EQ(logic->GetFolder().back(), L'\\');
}

TEST_F(LogicWindow, MinuteGateTakesTheMinuteOfConstruction)
{
    EXPECT_EQ(logic->LastMinute(), 17);
    ASSERT_TRUE(logic->Create());
    logic->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(logic->LastMinute(), 17);
    g_fakeMinute = 18;
    logic->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(logic->LastMinute(), 18);
}

TEST_F(LogicWindow, OneSecondTimerDrivesTheGate)
{
    ASSERT_TRUE(logic->Create());
    const int before = g_minuteReads;
    g_fakeMinute = 3;
    EXPECT_TRUE(wintest::PumpUntil([&] { return logic->LastMinute() == 3; }, 2500));
    EXPECT_GT(g_minuteReads, before);
}

TEST_F(LogicWindow, ExitMessageShutsDownBeforeTheSenderReturns)
{
    ASSERT_TRUE(logic->Create());
    HWND hwnd = logic->GetHwnd();
    EXPECT_EQ(::SendMessageA(hwnd, WM_LOGIC_EXIT, 0, 0), 1);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(logic->GetHwnd(), nullptr);
    EXPECT_EQ(::FindWindowA("PCN_LOGIC", nullptr), nullptr);
    // The timer went with the window: nothing more reads the clock.
    const int reads = g_minuteReads;
    wintest::PumpUntil([] { return false; }, 1300);
    EXPECT_EQ(g_minuteReads, reads);
}

TEST_F(LogicWindow, EndOfSessionShutsDownAndAgrees)
{
    ASSERT_TRUE(logic->Create());
    HWND hwnd = logic->GetHwnd();
    EXPECT_EQ(::SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(LogicWindow, ASecondLogicWindowObjectReusesTheClass)
{
    ASSERT_TRUE(logic->Create());
    PLogic other;
    EXPECT_TRUE(other.Create());
    EXPECT_NE(other.GetHwnd(), logic->GetHwnd());
}

} // namespace
