#include "framework/Messages.h"
#include "framework/Gdi.h"
#include "framework/WindowSight.h"
#include "note/Monitors.h"
#include "note/PinvelWnd.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"
#include "Pixels.h"
#include "FailingNew.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kEdge = RGB(255, 222, 123);
constexpr COLORREF kBorder = RGB(128, 128, 128);
constexpr COLORREF kBack = RGB(255, 255, 189);
constexpr COLORREF kGrey = RGB(128, 128, 128);

int Area(const Box& b)
{
    return b.Width() * b.Height();
}

class NoteWindow : public wintest::LogicTest {
protected:
    // A note at a known place with the default colours.
    PinvelWnd* Open(int left, int top, int width, int height, const std::string& title = "Title")
    {
        PNote* note = logic->NewNote();
        note->m_look.rect = {left, top, left + width, top + height};
        note->m_look.infoKind = 9;
        note->SetTitle(title);
        PinvelWnd* window = logic->ShowNote(note);
        wintest::PumpUntil([] { return false; }, 150);
        return window;
    }
    static Box WindowBox(PinvelWnd* w)
    {
        RECT rc;
        ::GetWindowRect(w->GetHwnd(), &rc);
        return Box{rc.left, rc.top, rc.right, rc.bottom};
    }
    static Box RectBox(const NoteRect& r) { return Box{r.left, r.top, r.right, r.bottom}; }
};

TEST_F(NoteWindow, APaintThatRunsOutOfMemoryFailsAloneAndTheNoteGoesOn)
{
    PinvelWnd* window = Open(100, 100, 300, 200, std::string(200, 'T'));
    {
        // The title is copied to be drawn: that copy is what fails.
        wintest::FailLargeAllocations noRoom(100);
        window->SendMessage(WM_NCPAINT, 1, 0);
    }
    ASSERT_TRUE(window->IsWindow());
    window->SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_EQ(logic->Windows().size(), 1u);
}

TEST_F(NoteWindow, ATopmostFramelessPopupOwnedByTheLogicWindow)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    HWND hwnd = window->GetHwnd();
    EXPECT_EQ(wintest::ClassName(hwnd), "PCN_NOTE");
    EXPECT_EQ(wintest::WindowText(hwnd), window->GetNote()->GetTitle()) << "named as a screen reader says it";
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);
    EXPECT_NE(::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(::GetWindow(hwnd, GW_OWNER), logic->GetHwnd());
    EXPECT_EQ(WindowBox(window), (Box{100, 100, 400, 300}));
    HWND edit = window->GetEditor()->GetHwnd();
    EXPECT_EQ(::GetParent(edit), hwnd);
    EXPECT_TRUE(::IsWindowVisible(edit));
    RECT rc;
    ::GetWindowRect(edit, &rc);
    EXPECT_EQ(rc.left - 100, 3);
    EXPECT_EQ(rc.top - 100, 24);
    EXPECT_EQ(rc.right - 100, 297);
    EXPECT_EQ(rc.bottom - 100, 179);
    int buttons = 0;
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        buttons += wintest::ClassName(child) == "Button" ? 1 : 0;
    EXPECT_EQ(buttons, 6);
}

void ExpectFreshPlaceOnThePrimaryScreen(const Box& placed, const RECT& work)
{
    const int width = work.right - work.left;
    EXPECT_EQ(placed.Width(), width / 3);
    EXPECT_GE(placed.left, width / 20);
    EXPECT_LE(placed.left, width - width / 3);
}

TEST_F(NoteWindow, OffScreenNotesComeBackAndStoredSizesFitTheScreen)
{
    const RECT work = PrimaryWorkArea();
    ExpectFreshPlaceOnThePrimaryScreen(WindowBox(Open(work.right + 500, work.bottom + 500, 300, 200)), work);
    PinvelWnd* huge = Open(work.left, work.top, 2147483647 - work.left, 2147483647 - work.top);
    EXPECT_EQ(WindowBox(huge), (Box{work.left, work.top, work.right, work.bottom})) << "fitted to the screen";
    EXPECT_EQ(WindowBox(Open(100, 100, 2, 2)), (Box{100, 100, 325, 145})) << "grown to the smallest note";
    PinvelWnd* hanging = Open(work.right - 100, work.bottom - 100, 300, 200);
    EXPECT_EQ(WindowBox(hanging), (Box{work.right - 100, work.bottom - 100, work.right + 200, work.bottom + 100}));
}

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

// What Windows does after a change of screens: tell every top-level window.
void TellEveryWindow(UINT msg, WPARAM wParam, LPARAM lParam)
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), AddWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows)
        if (::IsWindow(hwnd))
            ::SendMessageA(hwnd, msg, wParam, lParam);
}

TEST_F(NoteWindow, ANoteOnASecondScreenStaysThereWithThatScreensLimits)
{
    const RECT work = PrimaryWorkArea();
    const NoteRect second{work.right, work.top, work.right + 1600, work.top + 1000};
    SetMonitorWorkAreas({{work.left, work.top, work.right, work.bottom}, second});
    PinvelWnd* window = Open(second.left + 100, 100, 300, 200);
    EXPECT_EQ(WindowBox(window), (Box{second.left + 100, 100, second.left + 400, 300}));
    MINMAXINFO limits = {};
    window->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMaxTrackSize.x, 1600);
    EXPECT_EQ(limits.ptMaxSize.y, 1000);
}

TEST_F(NoteWindow, AfterAChangeOfScreensNotesNoScreenShowsComeBack)
{
    const RECT work = PrimaryWorkArea();
    const NoteRect second{work.right, work.top, work.right + 1600, work.top + 1000};
    SetMonitorWorkAreas({{work.left, work.top, work.right, work.bottom}, second});
    PinvelWnd* away = Open(100, 100, 300, 200);
    PinvelWnd* onSecond = Open(second.left + 100, 100, 300, 200);
    ::SetWindowPos(away->GetHwnd(), nullptr, 5000, 5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(WindowBox(away).left, 5000);

    TellEveryWindow(WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    ExpectFreshPlaceOnThePrimaryScreen(WindowBox(away), work);
    EXPECT_EQ(RectBox(away->GetNote()->m_look.rect), WindowBox(away)) << "stored where it is";
    EXPECT_EQ(WindowBox(onSecond), (Box{second.left + 100, 100, second.left + 400, 300})) << "still on a screen";

    // The second screen unplugged.
    SetMonitorWorkAreas({{work.left, work.top, work.right, work.bottom}});
    TellEveryWindow(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ExpectFreshPlaceOnThePrimaryScreen(WindowBox(onSecond), work);
    EXPECT_EQ(RectBox(onSecond->GetNote()->m_look.rect), WindowBox(onSecond));
}

TEST_F(NoteWindow, FramePaintedInTheLooksColours)
{
    PinvelWnd* window = Open(60, 60, 300, 200);
    // The caret blinks in the text, which has the keyboard.
    ::HideCaret(window->GetEditor()->GetHwnd());
    const wintest::Pixels px(window->GetHwnd());
    const int w = px.W(), h = px.H();
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, 0}, {0, h / 2}})
        EXPECT_EQ(px.At(x, y), kBorder) << x << "," << y;
    EXPECT_EQ(px.At(1, 1), kEdge);
    EXPECT_EQ(px.At(1, h / 2), kEdge) << "left strip";
    EXPECT_EQ(px.At(w - 2, h / 2), kEdge) << "right strip";
    EXPECT_EQ(px.Count({150, 5, 160, 20}, kEdge), 150) << "caption between title and buttons";
    EXPECT_EQ(px.Count({3, h - 21, w - 3, h - 20}, kGrey), w - 6) << "separator";
    EXPECT_EQ(px.At(2, h - 21), kEdge);
    EXPECT_EQ(px.At(w - 3, h - 21), kEdge);
    const Box text = window->TextRect();
    EXPECT_EQ(px.Count(text, kBack), Area(text)) << "nothing over the text area";
    // Grip: r = w - 3, b = h - 3; each diagonal without its end point.
    const int r = w - 3, b = h - 3;
    for (int d : {4, 8, 12}) {
        EXPECT_EQ(px.At(r - d, b), kGrey) << d;
        EXPECT_EQ(px.At(r - 1, b - d + 1), kGrey) << d;
        EXPECT_EQ(px.At(r - d + 1, b - 1), kGrey) << d;
    }
    EXPECT_EQ(px.At(r - 2, b - 1), kEdge) << "between the diagonals";
    // Info kind 9 shows nothing: the band is edge colour below the separator.
    const Box info = window->InfoRect();
    const Box band{info.left, info.top + 1, info.right, info.bottom};
    EXPECT_EQ(px.Count(band, kEdge), Area(band));

    // The frame painted again keeps off the buttons' pictures: nothing redraws them after it.
    const Box strip = window->ButtonStripRect();
    window->SendMessage(WM_NCPAINT, 1, 0);
    const wintest::Pixels again(window->GetHwnd());
    int changed = 0;
    for (int y = strip.top; y < strip.bottom; ++y)
        for (int x = strip.left; x < strip.right; ++x)
            changed += again.At(x, y) != px.At(x, y) ? 1 : 0;
    EXPECT_LT(px.Count(strip, kEdge), Area(strip)) << "the pictures are on the screen";
    EXPECT_EQ(changed, 0);
}

TEST_F(NoteWindow, TitleIsOneLineBlackOnEdgeWithALiteralAmpersand)
{
    PinvelWnd* amp = Open(60, 60, 300, 200, "&");
    const wintest::Pixels ampPx(amp->GetHwnd());
    EXPECT_GT(ampPx.Count(amp->TitleRect(), RGB(0, 0, 0)), 5) << "the & is drawn, not taken as a prefix";

    PinvelWnd* wide = Open(60, 300, 300, 200, std::string(80, 'W'));
    const wintest::Pixels px(wide->GetHwnd());
    const Box title = wide->TitleRect();
    EXPECT_GT(px.Count(title, RGB(0, 0, 0)), 50);
    const Box beyond{title.right, 3, wide->ButtonStripRect().left, 24};
    EXPECT_EQ(px.Count(beyond, RGB(0, 0, 0)), 0) << "cut at the title's end";
    // An ellipsis ends the cut text: its dots are the last black pixels, short and low.
    int lastBlack = -1;
    for (int x = title.left; x < wide->ButtonStripRect().left; ++x)
        for (int y = title.top; y < title.bottom; ++y)
            if (px.At(x, y) == RGB(0, 0, 0))
                lastBlack = x;
    int tallInLastColumn = 0;
    for (int y = title.top; y < title.bottom; ++y)
        tallInLastColumn += px.At(lastBlack, y) == RGB(0, 0, 0) ? 1 : 0;
    EXPECT_LE(tallInLastColumn, 3) << "a dot, not a W";
}

TEST_F(NoteWindow, ButtonsShowTheEdgeThroughTheirKeyColour)
{
    PinvelWnd* window = Open(60, 60, 300, 200);
    const Box cell = ButtonCell(300, 0, 96);
    EXPECT_EQ(wintest::Pixels(window->GetHwnd()).At(cell.left, cell.top), kEdge);
    NoteLook blue;
    blue.edge = RGB(40, 90, 200);
    blue.border = RGB(10, 20, 30);
    blue.background = RGB(220, 240, 255);
    window->ApplyLook(blue);
    const wintest::Pixels px(window->GetHwnd());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(px.At(ButtonCell(300, i, 96).left, ButtonCell(300, i, 96).top), blue.edge) << i;
    EXPECT_EQ(px.At(0, 0), blue.border);
    EXPECT_EQ(px.At(1, 1), blue.edge);
    EXPECT_EQ(px.At(50, 100), blue.background);

    // The pictures drawn on each colour are kept for the next drawing, but not without end.
    const int handles = fw::LiveGdiHandles();
    for (int red = 0; red < 100; ++red) {
        blue.edge = RGB(red, 90, 200);
        window->ApplyLook(blue);
        EXPECT_EQ(wintest::Pixels(window->GetHwnd()).At(cell.left, cell.top), blue.edge) << red;
    }
    EXPECT_LE(fw::LiveGdiHandles() - handles, 64);
}

TEST_F(NoteWindow, TheLooksRectangleFollowsEveryMoveAndSize)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    const NoteRect& rect = window->GetNote()->m_look.rect;
    ::SetWindowPos(window->GetHwnd(), nullptr, 150, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(RectBox(rect), (Box{150, 170, 450, 370}));
    ::SetWindowPos(window->GetHwnd(), nullptr, 0, 0, 260, 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RectBox(rect), (Box{150, 170, 410, 290}));
    const Box cell = ButtonCell(260, 5, 96);
    RECT rc;
    ::GetWindowRect(::GetWindow(::GetWindow(window->GetHwnd(), GW_CHILD), GW_HWNDLAST), &rc);
    EXPECT_EQ(rc.left - 150, cell.left) << "buttons follow the right edge";

    MINMAXINFO limits = {};
    window->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const RECT work = PrimaryWorkArea();
    EXPECT_EQ(limits.ptMinTrackSize.x, 225);
    EXPECT_EQ(limits.ptMinTrackSize.y, 45);
    EXPECT_EQ(limits.ptMaxTrackSize.x, work.right - work.left);
    EXPECT_EQ(limits.ptMaxSize.y, work.bottom - work.top);
}

TEST_F(NoteWindow, HitTestMovesByTheCaptionAndSizesByEdgesAndGrip)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    auto hit = [&](int x, int y) { return window->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y)); };
    EXPECT_EQ(hit(50, 10), HTCAPTION);
    EXPECT_EQ(hit(290, 190), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(0, 100), HTLEFT);
    EXPECT_EQ(hit(150, 199), HTBOTTOM);
    EXPECT_EQ(hit(1, 1), HTTOPLEFT);
    EXPECT_EQ(hit(50, 190), HTCLIENT) << "info band";
}

TEST_F(NoteWindow, RollUpAndBackAndTheRectangleItLeaves)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    window->SendMessage(WM_COMMAND, 32820, 0);
    EXPECT_EQ(WindowBox(window), (Box{100, 100, 325, 145}));
    EXPECT_EQ(RectBox(window->GetNote()->m_look.rect), (Box{100, 100, 325, 145}));
    const wintest::Pixels px(window->GetHwnd());
    EXPECT_EQ(px.Count({3, 24, 222, 25}, kGrey), 219) << "separator right under the caption";
    window->RollUpOrBack();
    EXPECT_EQ(WindowBox(window), (Box{100, 100, 400, 300}));

    // One stored rolled up unrolls to a new note's size, a third of the work area each way.
    PinvelWnd* rolled = Open(500, 100, 225, 45, "Rolled");
    rolled->RollUpOrBack();
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(WindowBox(rolled), (Box{500, 100, 500 + (work.right - work.left) / 3, 100 + (work.bottom - work.top) / 3}));
}

// Windows sends the change to the window itself when it is dragged onto a screen of
// another scaling, with the rectangle it suggests there.
TEST_F(NoteWindow, ADpiChangeTakesTheSuggestedRectangleAndLaysOutAgain)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    window->RollUpOrBack();
    ASSERT_EQ(WindowBox(window), (Box{100, 100, 325, 145}));
    auto changeTo = [&](int dpi, RECT suggested) {
        window->SendMessage(0x02E0, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    changeTo(144, {100, 100, 438, 168});
    EXPECT_EQ(WindowBox(window), (Box{100, 100, 438, 168}));
    EXPECT_EQ(window->Dpi(), 144);
    // Rolled back to the size it had, at the new scale.
    window->RollUpOrBack();
    EXPECT_EQ(WindowBox(window), (Box{100, 100, 550, 400}));
    EXPECT_EQ(RectBox(window->GetNote()->m_look.rect), (Box{100, 100, 550, 400}));

    auto childBox = [&](HWND child) {
        RECT rc;
        ::GetWindowRect(child, &rc);
        return Box{rc.left - 100, rc.top - 100, rc.right - 100, rc.bottom - 100};
    };
    for (int i = 0; i < kButtonCount; ++i)
        EXPECT_EQ(childBox(window->GetButton(i)->GetHwnd()), ButtonCell(450, i, 144)) << i;
    EXPECT_EQ(childBox(window->GetEditor()->GetHwnd()), TextBox(450, 300, 144));
    EXPECT_EQ(window->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(100 + 4, 250)), HTLEFT);
    window->SendMessage(WM_NCPAINT, 1, 0);
    const wintest::Pixels px(window->GetHwnd());
    EXPECT_EQ(px.Count({0, 150, 2, 151}, kBorder), 2) << "a border two pixels wide";
    EXPECT_EQ(px.Count({2, 150, 5, 151}, kEdge), 3);
    EXPECT_EQ(px.Count({400, 268, 445, 270}, kGrey), 90) << "a separator two pixels high";

    changeTo(96, {100, 100, 400, 300});
    EXPECT_EQ(childBox(window->GetButton(5)->GetHwnd()), ButtonCell(300, 5, 96));
    EXPECT_EQ(childBox(window->GetEditor()->GetHwnd()), TextBox(300, 200, 96));
}

TEST_F(NoteWindow, DoubleClickOnTheFrameMaximisesAndRestores)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    window->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_TRUE(::IsZoomed(window->GetHwnd()));
    const RECT work = PrimaryWorkArea();
    EXPECT_EQ(WindowBox(window), (Box{work.left, work.top, work.right, work.bottom}));
    window->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(::IsZoomed(window->GetHwnd()));
    EXPECT_EQ(WindowBox(window), (Box{100, 100, 400, 300}));
}

TEST_F(NoteWindow, OneWindowPerNoteAndLooksAppliedWithoutMoving)
{
    PinvelWnd* first = Open(100, 100, 300, 200);
    PinvelWnd* second = Open(500, 100, 250, 150);
    EXPECT_EQ(logic->ShowNote(first->GetNote()), first);
    EXPECT_EQ(logic->Windows().size(), 2u);
    NoteLook pink;
    pink.scheme = 4;
    pink.edge = RGB(250, 180, 200);
    pink.rect = {0, 0, 10, 10};
    logic->ApplyLookToAll(pink);
    EXPECT_EQ(WindowBox(first), (Box{100, 100, 400, 300}));
    EXPECT_EQ(RectBox(second->GetNote()->m_look.rect), (Box{500, 100, 750, 250}));
    EXPECT_EQ(second->GetNote()->m_look.scheme, 4);
    EXPECT_EQ(wintest::Pixels(second->GetHwnd()).At(1, 1), pink.edge);
}

TEST_F(NoteWindow, HidingSavesAChangedNoteAndShowingNeedsNoFile)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    PNote* note = window->GetNote();
    note->OpenEditor()->StreamInText("kept in the control", false);
    logic->HideNote(note);
    EXPECT_TRUE(logic->IsHidden(note));
    EXPECT_FALSE(::IsWindowVisible(note->OpenEditor()->GetHwnd()));
    const std::string saved = wintest::ReadFileBytes(note->GetFilePath());
    EXPECT_NE(saved.find("kept in the control"), std::string::npos) << "saved when hidden";

    ::DeleteFileW(note->GetFilePath().c_str());
    logic->ShowNote(note);
    std::string text;
    note->OpenEditor()->StreamOutText(text, false);
    EXPECT_EQ(text, "kept in the control") << "shown again from the control, not the file";
    logic->HideAll();
    EXPECT_TRUE(logic->Windows().empty());
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), "<missing>") << "nothing changed: nothing written";
    logic->HideAll();
    logic->ShowAll();
    EXPECT_EQ(logic->Windows().size(), 1u);
}

TEST_F(NoteWindow, CaptionButtonsMakeHideAndDeleteNotes)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    PNote* note = window->GetNote();
    ASSERT_TRUE(note->Save());
    const std::wstring path = note->GetFilePath();
    // A click reaches the note window as the button's own notification.
    auto click = [&](int index) {
        HWND button = window->GetButton(index)->GetHwnd();
        ::SendMessageA(window->GetHwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        wintest::PumpUntil([] { return false; }, 100);
    };
    click(0);
    EXPECT_EQ(logic->Notes().size(), 2u);
    EXPECT_EQ(logic->Windows().size(), 2u);
    click(1);
    EXPECT_TRUE(logic->IsHidden(note));
    EXPECT_EQ(logic->Windows().size(), 1u);

    window = logic->ShowNote(note);
    click(2);
    EXPECT_EQ(logic->Notes().size(), 1u);
    EXPECT_EQ(logic->Windows().size(), 1u);
    EXPECT_NE(logic->Notes().front().get(), note);
    EXPECT_EQ(wintest::ReadFileBytes(path), "<missing>");
}

TEST_F(NoteWindow, RefreshRepaintsTheTitle)
{
    PinvelWnd* window = Open(100, 100, 300, 200, "");
    EXPECT_EQ(wintest::Pixels(window->GetHwnd()).Count(window->TitleRect(), RGB(0, 0, 0)), 0);
    window->GetNote()->SetTitle("Shopping");
    EXPECT_GT(wintest::Pixels(window->GetHwnd()).Count(window->TitleRect(), RGB(0, 0, 0)), 20);
}

TEST_F(NoteWindow, HoverAndLeaveSwitchTheButtonsBitmap)
{
    // The real cursor, as the mouse moves it: hover and leave come from the system.
    PinvelWnd* window = Open(100, 100, 300, 200);
    HWND button = window->GetButton(3)->GetHwnd();
    const PHoverButton* hover = window->GetButton(3);
    const Box cell = ButtonCell(300, 3, 96);
    ASSERT_TRUE(wintest::MoveCursor(100 + cell.left + 5, 100 + cell.top + 5));
    EXPECT_TRUE(wintest::PumpUntil([&] { return hover->GetState() == 1; }, 5000));
    EXPECT_NE(wintest::Pixels(window->GetHwnd()).At(ButtonCell(300, 3, 96).left, 3), kEdge) << "hover covers the cell";
    ASSERT_TRUE(wintest::MoveCursor(700, 600));
    EXPECT_TRUE(wintest::PumpUntil([&] { return hover->GetState() == 0; }, 5000));
    EXPECT_EQ(wintest::Pixels(window->GetHwnd()).At(ButtonCell(300, 3, 96).left, 3), kEdge);
    HWND tip = window->GetButton(3)->GetTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 100);
    char text[80] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = button;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "\xC9\xE8\xD6\xC3\xCC\xE1\xCA\xBE"); // 设置提示

    // Held down it shows the pressed face, and moving over it does not switch to hover.
    ::SendMessageA(button, BM_SETSTATE, TRUE, 0);
    wintest::PumpUntil([] { return false; }, 50);
    EXPECT_EQ(window->GetButton(3)->GetState(), 2);
    wintest::MoveCursor(100 + cell.left + 6, 100 + cell.top + 6);
    wintest::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(window->GetButton(3)->GetState(), 2);
    EXPECT_EQ(wintest::Pixels(window->GetHwnd()).At(ButtonCell(300, 3, 96).left, 3), RGB(101, 188, 183));
    ::SendMessageA(button, BM_SETSTATE, FALSE, 0);
}

TEST_F(NoteWindow, InfoLineShowsWhatItsKindAsksFor)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    NoteLook look = window->GetNote()->m_look;
    auto infoFor = [&](int kind) {
        look.infoKind = kind;
        window->ApplyLook(look);
        return window->InfoText();
    };
    EXPECT_NE(infoFor(0).find("1974"), std::string::npos) << infoFor(0);
    EXPECT_NE(infoFor(0).find("10:30:00"), std::string::npos) << infoFor(0);
    window->GetNote()->m_stamp1 = DateTime::FromValue(37605.75);
    EXPECT_NE(infoFor(1).find("2002"), std::string::npos) << infoFor(1);
    EXPECT_EQ(infoFor(3).rfind("Pinvel", 0), 0u);
    EXPECT_EQ(infoFor(4), window->GetNote()->GetUserName());
    EXPECT_EQ(infoFor(-1), "");
    const std::string clock = infoFor(2);
    EXPECT_EQ(clock.rfind("\xD0\xC7\xC6\xDA", 0), 0u) << "a weekday name: " << clock; // 星期
    EXPECT_NE(clock.find(", "), std::string::npos);

    // The clock line advances by itself, once a second.
    const Box info = window->InfoRect();
    auto band = [&] {
        const wintest::Pixels px(window->GetHwnd());
        std::vector<COLORREF> row;
        for (int y = info.top + 1; y < info.bottom; ++y)
            for (int x = info.left; x < info.right; ++x)
                row.push_back(px.At(x, y));
        return row;
    };
    const auto before = band();
    // A tick draws from the first character that changed: a mark on the weekday stays,
    // one past the text's end goes.
    const POINT kept = {info.left + 8, info.top + 3};
    const POINT wiped = {info.right - 3, info.top + 3};
    {
        fw::WindowDC dc(window->GetHwnd());
        ::SetPixel(dc.Get(), kept.x, kept.y, RGB(255, 0, 255));
        ::SetPixel(dc.Get(), wiped.x, wiped.y, RGB(255, 0, 255));
    }
    wintest::PumpUntil([] { return false; }, 2100);
    EXPECT_NE(band(), before);
    const wintest::Pixels after(window->GetHwnd());
    EXPECT_EQ(after.At(kept.x, kept.y), RGB(255, 0, 255)) << "the unchanged start is not drawn again";
    EXPECT_NE(after.At(wiped.x, wiped.y), RGB(255, 0, 255));
}

// What of a note's info line is seen: under a window that hides it, nothing; through a
// see-through window, or once that window moves on, all of it; off the screens, nothing.
TEST_F(NoteWindow, AnInfoLineUnderAnotherWindowOrOffTheScreensIsNotSeen)
{
    PinvelWnd* window = Open(100, 100, 300, 200);
    RECT info = {110, 280, 390, 295};
    EXPECT_TRUE(fw::IsAnyOfItSeen(window->GetHwnd(), info));
    HWND cover = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 50,
                                   250, 400, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(fw::IsAnyOfItSeen(window->GetHwnd(), info));
    ::SetWindowLongW(cover, GWL_EXSTYLE, ::GetWindowLongW(cover, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(cover, 0, 128, LWA_ALPHA);
    EXPECT_TRUE(fw::IsAnyOfItSeen(window->GetHwnd(), info));
    ::SetWindowLongW(cover, GWL_EXSTYLE, ::GetWindowLongW(cover, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    ::SetWindowPos(cover, nullptr, 50, 290, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(fw::IsAnyOfItSeen(window->GetHwnd(), info));
    ::DestroyWindow(cover);
    EXPECT_FALSE(fw::IsAnyOfItSeen(window->GetHwnd(), {-5000, -5000, -4900, -4990}));
}

} // namespace
