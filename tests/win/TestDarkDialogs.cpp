#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/Handle.h"
#include "framework/Strings.h"
#include "framework/SystemLook.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The user's choice as Windows keeps it, read again as after the broadcast of a change.
void AppsUseLightTheme(DWORD light)
{
    fw::RegKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    ::RegSetValueExW(key.Get(), L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light),
                     sizeof(light));
    fw::RefreshLook();
}

INT_PTR CALLBACK SystemsOwnProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

struct Answer {
    LRESULT brush;
    COLORREF text;
    COLORREF back;
};

Answer Ask(HWND dialog, UINT msg, int controlId)
{
    HDC dc = ::GetDC(dialog);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkColor(dc, RGB(4, 5, 6));
    HWND control = controlId == 0 ? dialog : ::GetDlgItem(dialog, controlId);
    const LRESULT brush = ::SendMessageW(dialog, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const Answer answer = {brush, ::GetTextColor(dc), ::GetBkColor(dc)};
    ::ReleaseDC(dialog, dc);
    return answer;
}

COLORREF BrushColour(LRESULT brush)
{
    LOGBRUSH described = {};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(described), &described);
    return described.lbColor;
}

class DarkDialogs : public testing::Test {
protected:
    void TearDown() override
    {
        fw::RegKey key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, KEY_SET_VALUE, key.Receive()) == ERROR_SUCCESS)
            ::RegDeleteValueW(key.Get(), L"AppsUseLightTheme");
        fw::RefreshLook();
    }
};

TEST_F(DarkDialogs, LightAnswersAsTheSystemsOwnDialogAndDarkPaintsFaceTextsAndFields)
{
    const int gdiBefore = fw::LiveGdiHandles();
    {
        fw::Dialog ours(IDD_FIND);
        ASSERT_TRUE(ours.Create(nullptr));
        HWND systems = ::CreateDialogParamW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDD_FIND), nullptr,
                                            &SystemsOwnProc, 0);
        ASSERT_NE(systems, nullptr);
        const std::pair<UINT, int> asked[] = {{WM_CTLCOLORDLG, 0},
                                              {WM_CTLCOLORSTATIC, IDC_FIND_WHOLE_WORD},
                                              {WM_CTLCOLOREDIT, IDC_FIND_TEXT},
                                              {WM_CTLCOLORBTN, IDOK}};
        const auto expectSystemsAnswers = [&](const char* when) {
            for (const auto& [msg, id] : asked) {
                const Answer mine = Ask(ours.GetHwnd(), msg, id);
                const Answer theirs = Ask(systems, msg, id);
                EXPECT_EQ(mine.brush, theirs.brush) << when << " " << msg;
                EXPECT_EQ(mine.text, theirs.text) << when << " " << msg;
                EXPECT_EQ(mine.back, theirs.back) << when << " " << msg;
            }
        };
        AppsUseLightTheme(1);
        expectSystemsAnswers("light");

        AppsUseLightTheme(0);
        const fw::ChromeColours chrome = fw::Chrome();
        EXPECT_EQ(BrushColour(Ask(ours.GetHwnd(), WM_CTLCOLORDLG, 0).brush), chrome.back);
        const Answer label = Ask(ours.GetHwnd(), WM_CTLCOLORSTATIC, IDC_FIND_WHOLE_WORD);
        EXPECT_EQ(label.text, chrome.text);
        EXPECT_EQ(BrushColour(label.brush), chrome.back);
        EXPECT_EQ(label.back, chrome.back);
        // Typed text on a field a shade below the face, its blank part painted the same.
        const Answer field = Ask(ours.GetHwnd(), WM_CTLCOLOREDIT, IDC_FIND_TEXT);
        EXPECT_EQ(field.text, chrome.text);
        EXPECT_EQ(BrushColour(field.brush), field.back);
        EXPECT_LT(GetGValue(field.back), GetGValue(chrome.back));

        AppsUseLightTheme(1);
        expectSystemsAnswers("light again");
        // Dark at the end, so that the dialog holds its brushes when it goes.
        AppsUseLightTheme(0);
        Ask(ours.GetHwnd(), WM_CTLCOLORDLG, 0);
        ::DestroyWindow(systems);
        ::DestroyWindow(ours.GetHwnd());
    }
    EXPECT_EQ(fw::LiveGdiHandles(), gdiBefore) << "the dark brushes go with the dialog";
}

} // namespace
