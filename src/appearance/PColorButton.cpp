#include "PColorButton.h"

#include "../framework/Messages.h"
#include "../core/DpiScale.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <commdlg.h>

namespace {

bool ChooseInDialog(HWND owner, COLORREF& colour)
{
    return fw::ShowColorDialog(owner, CC_FULLOPEN, colour);
}

PColorButton::ChooseFunction g_choose = &ChooseInDialog;


} // namespace

void PColorButton::SetChooseFunction(ChooseFunction function)
{
    g_choose = function != nullptr ? function : &ChooseInDialog;
}

PColorButton::~PColorButton() = default;

bool PColorButton::Create(const RECT& rect, HWND parent, COLORREF colour, const wchar_t* name)
{
    m_colour = colour;
    // The picture shows the colour; the text, never drawn, is the button's name.
    return CreateEx(0, "BUTTON", fw::TextFromWide(name != nullptr ? name : L"").c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_BITMAP, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent, nullptr);
}

void PColorButton::SetColor(COLORREF colour)
{
    m_colour = colour;
    if (m_hWnd != nullptr)
        DrawSwatch();
}

LRESULT PColorButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        if (DefWindowProc(msg, wParam, lParam) == -1)
            return -1;
        DrawSwatch();
        return 0;
    }
    if (msg == WM_DESTROY) {
        const LRESULT result = DefWindowProc(msg, wParam, lParam);
        if (HGDIOBJ image = reinterpret_cast<HGDIOBJ>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, 0)))
            ::DeleteObject(image);
        return result;
    }
    return DefWindowProc(msg, wParam, lParam);
}

bool PColorButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    OnClicked();
    result = 0;
    return true;
}

void PColorButton::OnClicked()
{
    COLORREF colour = m_colour;
    if (!g_choose(::GetActiveWindow(), colour))
        return;
    SetColor(colour);
    ::SendMessageW(::GetParent(m_hWnd), WM_COLORBUTTON_CHANGED, reinterpret_cast<WPARAM>(m_hWnd),
                   static_cast<LPARAM>(colour));
}

void PColorButton::DrawSwatch()
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int l = client.left, t = client.top, r = client.right, b = client.bottom;
    const int h = b - t;
    fw::WindowDC screen(m_hWnd, fw::WindowDC::Client);
    fw::MemoryDC memory(screen.Get());
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), r - l, h);
    {
        fw::SelectObject selectBitmap(memory.Get(), bitmap);
        HDC dc = memory.Get();
        fw::FillSolid(dc, client, ::GetSysColor(COLOR_BTNFACE));

        // Lengths designed at 96 dpi, at the dialog's.
        const int dpi = fw::WindowDpi(m_hWnd);
        const auto px = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
        fw::Pen black(::CreatePen(PS_SOLID, px(1), RGB(0, 0, 0)));
        fw::Brush swatch(::CreateSolidBrush(m_colour));
        {
            fw::SelectObject selectPen(dc, black.Get());
            fw::SelectObject selectBrush(dc, swatch.Get());
            ::Rectangle(dc, l + px(4), t + px(4), r - px(17), b - px(4));
        }

        // An etched vertical line: a 3-D rectangle two pixels wide.
        const int x = r - px(14);
        const int top = t + px(4);
        const int height = h - px(8);
        const int line = px(1);
        fw::FillSolid(dc, {x, top, x + line, top + height - line}, ::GetSysColor(COLOR_BTNSHADOW));
        fw::FillSolid(dc, {x + line, top, x + 2 * line, top + height}, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        fw::FillSolid(dc, {x, top + height - line, x + 2 * line, top + height}, ::GetSysColor(COLOR_BTNHIGHLIGHT));

        const int arrowSize = fw::IconSizeForDpi(16, dpi);
        const fw::Icon arrow(IDI_DROP_ARROW, arrowSize);
        if (arrow.Get() != nullptr)
            ::DrawIconEx(dc, r - px(10), t + (h - px(8)) / 2, arrow.Get(), arrowSize, arrowSize, 0, nullptr, DI_NORMAL);
    }
    HGDIOBJ old = reinterpret_cast<HGDIOBJ>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (old != nullptr && old != bitmap)
        ::DeleteObject(old);
}
