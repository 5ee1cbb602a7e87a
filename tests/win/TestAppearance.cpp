#include "framework/Messages.h"
#include "appearance/PAppearanceDlg.h"
#include "appearance/PColorButton.h"
#include "core/Schemes.h"
#include "note/PinvelWnd.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "Pixels.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {


int Selection(HWND dialog)
{
    return static_cast<int>(::SendDlgItemMessageA(dialog, 1128, CB_GETCURSEL, 0, 0));
}

void ChooseScheme(HWND dialog, int index)
{
    ::SendDlgItemMessageA(dialog, 1128, CB_SETCURSEL, index, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1128, CBN_SELCHANGE), 0);
}

void Press(HWND dialog, int id)
{
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

COLORREF g_picked = 0;
bool PickColour(HWND, COLORREF& colour)
{
    colour = g_picked;
    return true;
}

class Appearance : public wintest::LogicTest {
protected:
    void SetUp() override
    {
        PColorButton::SetChooseFunction(&PickColour);
        LogicTest::SetUp();
    }
    void TearDown() override
    {
        LogicTest::TearDown();
        PColorButton::SetChooseFunction(nullptr);
    }
    void InDialog(PinvelWnd* window, std::function<void(HWND)> action)
    {
        wintest::WhenReady([action] {
            HWND dialog = wintest::ActiveDialog(1128);
            if (dialog != nullptr)
                action(dialog);
            return dialog != nullptr;
        });
        window->SendMessage(WM_COMMAND, 32805, 0);
    }
};

TEST_F(Appearance, SchemeSetsTheButtonsAndASingleColourClearsIt)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    InDialog(window, [](HWND dialog) {
        EXPECT_EQ(Selection(dialog), 9) << "the note's scheme";
        EXPECT_EQ(::SendDlgItemMessageA(dialog, 1128, CB_GETCOUNT, 0, 0), kListedSchemeCount);
        ChooseScheme(dialog, 1);
        auto* self = reinterpret_cast<PAppearanceDlg*>(fw::Wnd::FromHandle(dialog));
        EXPECT_EQ(self->Button(0).GetColor(), kColorSchemes[1].background);
        EXPECT_EQ(self->Button(1).GetColor(), kColorSchemes[1].edge);
        EXPECT_EQ(self->Button(2).GetColor(), kColorSchemes[1].border);
        g_picked = RGB(1, 2, 3);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                       reinterpret_cast<LPARAM>(self->Button(2).GetHwnd()));
        EXPECT_EQ(Selection(dialog), CB_ERR);
        Press(dialog, IDOK);
    });
    const NoteLook& look = window->GetNote()->m_look;
    EXPECT_EQ(look.scheme, -1);
    EXPECT_EQ(look.background, kColorSchemes[1].background);
    EXPECT_EQ(look.border, RGB(1, 2, 3));
    InDialog(window, [](HWND dialog) {
        EXPECT_EQ(Selection(dialog), CB_ERR) << "reopens with no scheme";
        Press(dialog, IDCANCEL);
    });
}

TEST_F(Appearance, OkWithoutChangeRepaintsNothing)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    window->GetNote()->m_look.scheme = 3; // colours still scheme 9's
    // A mark on the frame far from where the dialog opens: a repaint would wipe it.
    ::SetWindowPos(window->GetHwnd(), nullptr, 20, 20, 900, 700, SWP_NOZORDER);
    wintest::PumpUntil([] { return false; }, 100);
    {
        HDC dc = ::GetWindowDC(window->GetHwnd());
        ::SetPixel(dc, 898, 698, RGB(255, 0, 255));
        ::ReleaseDC(window->GetHwnd(), dc);
    }
    InDialog(window, [](HWND dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(window->GetNote()->m_look.scheme, 3);
    EXPECT_EQ(wintest::Pixels(window->GetHwnd()).At(898, 698), RGB(255, 0, 255)) << "no repaint";
}

TEST_F(Appearance, BothBoxesReachOpenNotesAndNewOnesAcrossARestart)
{
    PinvelWnd* first = logic->NewNoteAndShow();
    PinvelWnd* second = logic->NewNoteAndShow();
    PNote* hidden = logic->NewNote();
    ::SetWindowPos(first->GetHwnd(), nullptr, 20, 20, 300, 200, SWP_NOZORDER);
    ::SetWindowPos(second->GetHwnd(), nullptr, 700, 300, 300, 200, SWP_NOZORDER);
    InDialog(first, [](HWND dialog) {
        ChooseScheme(dialog, 5);
        ::CheckDlgButton(dialog, 1125, BST_CHECKED);
        ::CheckDlgButton(dialog, 1126, BST_CHECKED);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(second->GetNote()->m_look.scheme, 5);
    EXPECT_EQ(second->GetNote()->m_look.edge, kColorSchemes[5].edge);
    EXPECT_EQ(wintest::Pixels(second->GetHwnd()).At(1, 1), kColorSchemes[5].edge);
    EXPECT_EQ(hidden->m_look.scheme, 9) << "hidden notes keep theirs";
    EXPECT_EQ(logic->DefaultLook().edge, kColorSchemes[5].edge);
    logic->SaveAll();
    Start();
    EXPECT_EQ(logic->DefaultLook().scheme, 5);
    EXPECT_EQ(logic->NewNote()->m_look.background, kColorSchemes[5].background);
}

TEST_F(Appearance, ApplyDisablesCancelAndTakesEffectAtOnce)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    InDialog(window, [&](HWND dialog) {
        ChooseScheme(dialog, 14);
        Press(dialog, 5);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, IDCANCEL)));
        EXPECT_EQ(window->GetNote()->m_look.edge, kColorSchemes[14].edge) << "applied while open";
        Press(dialog, IDOK);
    });
    EXPECT_EQ(window->GetNote()->m_look.scheme, 14);
}

TEST_F(Appearance, SchemeOutsideTheTableShowsNoneAndOkStoresMinusOne)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    window->GetNote()->m_look.scheme = 77;
    InDialog(window, [](HWND dialog) {
        EXPECT_EQ(Selection(dialog), CB_ERR);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(window->GetNote()->m_look.scheme, -1);
}

TEST_F(Appearance, DarkSchemeIsStoredAsItsColoursAndChosenAgainByThem)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    const ColorScheme& dark = kDarkSchemes[1];
    InDialog(window, [](HWND dialog) {
        ChooseScheme(dialog, kSchemeCount + 1);
        ::CheckDlgButton(dialog, 1126, BST_CHECKED); // to new notes
        Press(dialog, IDOK);
    });
    // Neither the note nor the settings of new notes may hold a number older copies lack.
    const NoteLook& look = window->GetNote()->m_look;
    EXPECT_EQ(look.scheme, -1);
    EXPECT_EQ(look.background, dark.background);
    EXPECT_EQ(look.edge, dark.edge);
    EXPECT_EQ(look.border, dark.border);
    EXPECT_EQ(logic->DefaultLook().scheme, -1);
    EXPECT_EQ(logic->DefaultLook().background, dark.background);
    InDialog(window, [](HWND dialog) {
        EXPECT_EQ(Selection(dialog), kSchemeCount + 1) << "known again by its colours";
        Press(dialog, IDCANCEL);
    });
}

TEST(ColorButton, SwatchImageAsDrawn)
{
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50, nullptr, nullptr,
                                    nullptr, nullptr);
    PColorButton button;
    const RECT rect = {0, 0, 60, 26};
    ASSERT_TRUE(button.Create(rect, parent, RGB(200, 30, 40)));
    auto image = reinterpret_cast<HBITMAP>(button.SendMessage(BM_GETIMAGE, IMAGE_BITMAP));
    ASSERT_NE(image, nullptr);
    RECT client;
    ::GetClientRect(button.GetHwnd(), &client);
    const int r = client.right, b = client.bottom, h = b;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, image);
    EXPECT_EQ(::GetPixel(dc, 1, 1), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(dc, 4, 4), RGB(0, 0, 0)) << "outline";
    EXPECT_EQ(::GetPixel(dc, r - 18, b - 5), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(dc, 10, h / 2), RGB(200, 30, 40)) << "swatch";
    EXPECT_EQ(::GetPixel(dc, r - 14, h / 2), ::GetSysColor(COLOR_BTNSHADOW)) << "divider";
    EXPECT_EQ(::GetPixel(dc, r - 13, h / 2), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(::GetPixel(dc, r - 10, (h - 8) / 2 + 3), RGB(0, 0, 0)) << "the triangle's point row";
    EXPECT_EQ(::GetPixel(dc, r - 10 + 5, (h - 8) / 2 + 3), ::GetSysColor(COLOR_BTNFACE)) << "nothing right of it";
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    button.SetColor(RGB(0, 90, 0));
    EXPECT_EQ(::GetObjectType(image), 0u) << "the replaced image is deleted";
    ::DestroyWindow(parent);
}

} // namespace
