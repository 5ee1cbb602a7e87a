// The note window's own frame: edge, border, title, info line and grip.
#include "PinvelWnd.h"

#include "PClockTicker.h"
#include "../core/ClockTick.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"
#include "../framework/SystemLook.h"
#include "../framework/WindowSight.h"
#include "../res/resource.h"
#include "../store/PNote.h"

#include <oleauto.h>

#include <utility>

#include <algorithm>
#include <cstring>

namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);

HFONT MakeFont(int height)
{
    LOGFONTW font;
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = fw::TextCharSet();
    ::lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

std::u16string_view Utf16(const std::wstring& text)
{
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

} // namespace

// The system's own text for an OLE Automation date, in the program's code page.
std::string InfoDateText(double date, unsigned long flags)
{
    BSTR text = nullptr;
    if (FAILED(::VarBstrFromDate(date, LANG_USER_DEFAULT, flags, &text)) || text == nullptr)
        return std::string();
    std::string out = fw::TextFromWide(text, ::SysStringLen(text));
    ::SysFreeString(text);
    return out;
}

bool InfoTimeShowsSeconds()
{
    SYSTEMTIME one = {2000, 1, 6, 1, 12, 34, 56, 0};
    SYSTEMTIME next = one;
    next.wSecond = 57;
    double oneDate = 0, nextDate = 0;
    ::SystemTimeToVariantTime(&one, &oneDate);
    ::SystemTimeToVariantTime(&next, &nextDate);
    return InfoDateText(oneDate, LOCALE_NOUSEROVERRIDE) != InfoDateText(nextDate, LOCALE_NOUSEROVERRIDE);
}

namespace {

// The clock's text, made once a second for all the notes that show it.
std::string ClockText()
{
    static SYSTEMTIME madeFor = {};
    static std::string text;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    now.wMilliseconds = 0;
    if (!text.empty() && std::memcmp(&now, &madeFor, sizeof(now)) == 0)
        return text;
    double date = 0;
    ::SystemTimeToVariantTime(&now, &date);
    text = fw::LoadResString(IDS_WEEKDAY_BASE + now.wDayOfWeek + 1) + ", " + InfoDateText(date, LOCALE_NOUSEROVERRIDE);
    madeFor = now;
    return text;
}

RECT ToRect(const Box& box)
{
    return RECT{box.left, box.top, box.right, box.bottom};
}

} // namespace

std::string PinvelWnd::InfoText() const
{
    if (m_showZoom)
        return fw::Format(fw::LoadResString(IDS_ZOOM_SHOWN).c_str(), m_note->m_options.zoom);
    switch (m_note->GetTrouble()) {
    case PNote::Trouble::CutShort:
        return fw::LoadResString(IDS_NOTE_CUT_SHORT);
    case PNote::Trouble::TooLarge:
        return fw::LoadResString(IDS_NOTE_TOO_LARGE);
    case PNote::Trouble::Unreadable:
        return fw::LoadResString(IDS_NOTE_UNREADABLE);
    case PNote::Trouble::None:
        break;
    }
    switch (m_look->infoKind) {
    case 0:
        return InfoDateText(m_note->m_stamp0.Value(), 0);
    case 1:
        return InfoDateText(m_note->m_stamp1.Value(), 0);
    case 2:
        return ClockText();
    case 3:
        return fw::LoadResString(IDS_CREDIT);
    case 4:
        return m_note->GetUserName();
    default:
        return std::string();
    }
}

// The note's own colours; while high contrast is on, the system's, which the user chose to
// be able to read at all. The note's colours stay stored and come back when it ends.
FrameColours PinvelWnd::Colours() const
{
    if (fw::HighContrastOn())
        return {::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOWTEXT),
                ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOW)};
    return {m_look->border, m_look->edge, kBlack, kGrey, m_look->background};
}

// The device context is got for this paint and released after it, so what the parts
// change of it is not put back: saving and restoring it would select its font again
// each time, and under Wine each font selected reads the X resources anew.
void PinvelWnd::PaintFrame(HDC dc)
{
    // A window made hidden is laid out before it is shown, and is painted when it is.
    if (!::IsWindowVisible(m_hWnd))
        return;
    // A whole-window DC does not leave out the children, so the frame keeps off the text
    // and the buttons itself: painting over the buttons would cost each a redraw.
    const RECT strip = ToRect(ButtonStripRect());
    const RECT text = ToRect(TextRect());
    ::ExcludeClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
    ::ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
    PaintEdge(dc);
    PaintTitle(dc);
    PaintInfo(dc);
    PaintGrip(dc);
}

void PinvelWnd::PaintEdge(HDC dc)
{
    // The border is filled rather than stroked, so it keeps inside the window at any width.
    const Box client = ClientBox();
    const int line = LineWidth(m_dpi);
    const FrameColours colours = Colours();
    fw::FillSolid(dc, ToRect(client), colours.border);
    fw::FillSolid(dc, {line, line, client.right - line, client.bottom - line}, colours.edge);
    const Box caption = CaptionRect();
    const int separator = InfoRect().top;
    fw::FillSolid(dc, {caption.left, separator, client.right - caption.left, separator + line}, colours.line);
}

void PinvelWnd::PaintTitle(HDC dc)
{
    const FrameColours colours = Colours();
    ::SetTextColor(dc, colours.text);
    ::SetBkColor(dc, colours.edge);
    RECT title = ToRect(TitleRect());
    // A note that could not be saved says so in its caption until a save works; a locked
    // one shows its lock.
    const int size = std::min<int>(title.bottom - title.top, fw::IconSizeForDpi(16, m_dpi));
    const std::pair<bool, int> marks[] = {{m_note->SaveFailed(), IDI_SAVE_FAILED}, {IsLocked(), IDI_LOCKED}};
    for (const auto& [shown, icon] : marks) {
        if (!shown)
            continue;
        const fw::Icon mark(icon, size);
        ::DrawIconEx(dc, title.left, title.top + (title.bottom - title.top - size) / 2, mark.Get(), size, size, 0,
                     nullptr, DI_NORMAL);
        title.left += size + ::MulDiv(3, m_dpi, 96);
    }
    fw::Font font(MakeFont(title.bottom - title.top));
    fw::SelectObject selectFont(dc, font.Get());
    const std::wstring text = fw::WideFromText(m_note->GetTitle());
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &title,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PinvelWnd::PaintInfo(HDC dc, bool changeOnly)
{
    const std::wstring text = fw::WideFromText(InfoText());
    if (changeOnly && text == m_infoShown)
        return;
    // Only the clock's own repaint narrows the clip, on a device context of its own.
    RECT info = ToRect(InfoRect());
    info.left += InfoIndent(m_dpi);
    const FrameColours colours = Colours();
    ::SetTextColor(dc, colours.text);
    ::SetBkColor(dc, colours.edge);
    ::SetBkMode(dc, OPAQUE);
    fw::SelectObject selectFont(dc, InfoFont());
    if (changeOnly)
        ClipToChange(dc, info, text);
    // The clock repaints this line alone: clear what a longer text left, but not the
    // separator on the band's top row.
    fw::FillSolid(dc, {info.left, info.top + LineWidth(m_dpi), info.right, info.bottom}, colours.edge);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &info,
                DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS);
    m_infoShown = text;
}

// Kept while the window lives: the clock draws with it every second.
HFONT PinvelWnd::InfoFont()
{
    const int height = InfoFontHeight(m_dpi);
    if (!m_infoFont || height != m_infoFontHeight) {
        m_infoFont.Reset(MakeFont(height));
        m_infoFontHeight = height;
    }
    return m_infoFont.Get();
}

// Only from the first character that changed: a clock's seconds are a few pixels of a
// line. Where either text is cut short with an ellipsis, the whole line.
void PinvelWnd::ClipToChange(HDC dc, const RECT& info, const std::wstring& text) const
{
    const std::size_t shared = SharedStart(Utf16(m_infoShown), Utf16(text));
    if (shared == 0)
        return;
    const int width = info.right - info.left;
    SIZE before = {}, after = {}, start = {};
    if (!::GetTextExtentPoint32W(dc, m_infoShown.c_str(), static_cast<int>(m_infoShown.size()), &before) ||
        !::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &after) ||
        !::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(shared), &start) || before.cx > width ||
        after.cx > width)
        return;
    ::IntersectClipRect(dc, info.left + start.cx, info.top, info.right, info.bottom);
}

void PinvelWnd::JoinClock()
{
    if (m_hWnd != nullptr && m_look->infoKind == 2)
        PClockTicker::Join(this);
    else
        PClockTicker::Leave(this);
}

void PinvelWnd::OnClockTick()
{
    // A line that was seen and would show the same text asks for no device context.
    if (!m_clockUnseen && fw::WideFromText(InfoText()) == m_infoShown)
        return;
    fw::WindowDC dc(m_hWnd);
    m_clockUnseen = !IsInfoLineSeen(dc.Get());
    if (!m_clockUnseen)
        PaintInfo(dc.Get(), true);
}

// Hidden, minimised, rolled up, off every screen or under other windows: nobody would
// see the clock's new text.
bool PinvelWnd::IsInfoLineSeen(HDC dc) const
{
    if (dc == nullptr || !::IsWindowVisible(m_hWnd) || ::IsIconic(m_hWnd))
        return false;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    if (IsRolledUp({window.left, window.top, window.right, window.bottom}, m_dpi))
        return false;
    RECT info = ToRect(InfoRect());
    // Where the screen is not composed the window's own device context knows what of it
    // is seen, at no cost; where it is, the windows above are looked at.
    if (!::RectVisible(dc, &info))
        return false;
    if (!fw::ScreenIsComposed())
        return true;
    ::OffsetRect(&info, window.left, window.top);
    return fw::IsAnyOfItSeen(m_hWnd, info);
}

void PinvelWnd::PaintGrip(HDC dc)
{
    const Box grip = GripRect();
    const int r = grip.right;
    const int b = grip.bottom;
    fw::Pen grey(::CreatePen(PS_SOLID, LineWidth(m_dpi), Colours().line));
    fw::SelectObject selectGrey(dc, grey.Get());
    for (int line = 0; line < 3; ++line) {
        const int d = GripLineReach(line, m_dpi);
        ::MoveToEx(dc, r - d, b, nullptr);
        ::LineTo(dc, r, b - d);
    }
}
