// Where a note sits among the other windows, how see-through it is, and how large its
// text is shown; and the keyboard going to the text whenever the note is activated.
#include "PinvelWnd.h"

#include "../framework/Messages.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/SystemLook.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PIconMenu.h"
#include "../text/PRichEdit.h"

namespace {

// Timers 1 and 2 are the info line's and the alarm sound's.
constexpr UINT kPointerTimer = 4;
constexpr UINT kPointerPeriodMs = 200;
constexpr UINT kAlarmFrontTimer = 5;
constexpr UINT kAlarmFrontMs = 6000;
constexpr UINT kZoomShownTimer = 6;
constexpr UINT kZoomShownMs = 2000;
constexpr UINT kRelevelTimer = 7;
constexpr UINT kRelevelMs = 300;

constexpr UINT kFirstLevelCommand = ID_NOTE_LEVEL_TOP;
constexpr UINT kLastLevelCommand = ID_NOTE_LEVEL_DESKTOP;
constexpr UINT kFirstOpacityCommand = ID_NOTE_OPACITY_100;
constexpr UINT kLastOpacityCommand = ID_NOTE_OPACITY_50;

int OpacityOfCommand(UINT command)
{
    return kFullOpacity - 10 * static_cast<int>(command - kFirstOpacityCommand);
}

// The shell's desktop window: a window it owns is part of the desktop, which "show
// desktop" leaves on the screen.
HWND ShellDesktop()
{
    return ::FindWindowW(L"Progman", nullptr);
}

} // namespace

void PinvelWnd::ApplyLevel()
{
    const NoteLevel level = m_alarmFront ? NoteLevel::Top : m_note->m_options.level;
    // Owned windows stay above their owner, so a note at the bottom is owned by the
    // shell's desktop, or by no one where there is none; as a tool window it still gets
    // no taskbar button.
    const HWND owner = level == NoteLevel::Desktop ? ShellDesktop() : m_owner;
    if (::GetWindow(m_hWnd, GW_OWNER) != owner) {
        const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, owner == nullptr ? style | WS_EX_TOOLWINDOW
                                                                 : style & ~static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
    HWND after = HWND_TOPMOST;
    if (level == NoteLevel::Normal)
        after = HWND_NOTOPMOST;
    else if (level == NoteLevel::Desktop)
        after = HWND_BOTTOM;
    ::SetWindowPos(m_hWnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT PinvelWnd::OnWindowPosChanging(WINDOWPOS& position)
{
    // A click, or another program's window management, would raise a desktop note
    // above the windows it is meant to stay under.
    if (m_note != nullptr && m_note->m_options.level == NoteLevel::Desktop && !m_alarmFront &&
        (position.flags & SWP_NOZORDER) == 0)
        position.hwndInsertAfter = HWND_BOTTOM;
    return DefWindowProc(WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
}

void PinvelWnd::ComeToFrontForAlarm()
{
    m_alarmFront = true;
    ApplyLevel();
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetTimer(m_hWnd, kAlarmFrontTimer, kAlarmFrontMs, nullptr);
}

void PinvelWnd::ApplyOpacity()
{
    // High contrast is for reading: what shows through a note would be read with it.
    const int opacity = fw::HighContrastOn() ? kFullOpacity : m_note->m_options.opacity;
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (opacity >= kFullOpacity) {
        // A note that is not see-through is not layered at all: it draws as it always did.
        if ((style & WS_EX_LAYERED) == 0)
            return;
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
    }
    if ((style & WS_EX_LAYERED) == 0)
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    // Under the pointer or in use, the note is read and typed into as a solid one.
    const BYTE alpha = IsOpaqueNow() ? 255 : OpacityAlpha(opacity);
    ::SetLayeredWindowAttributes(m_hWnd, 0, alpha, LWA_ALPHA);
}

void PinvelWnd::PostRelevel()
{
    // Activation and the caption's move loop raise a clicked window by ways of their own,
    // past WM_WINDOWPOSCHANGING, and a window system may restack it a moment after the
    // click's messages: the note goes down once they are done, and once more after that.
    if (m_note->m_options.level != NoteLevel::Desktop)
        return;
    ::PostMessageW(m_hWnd, WM_NOTE_RELEVEL, 0, 0);
    ::SetTimer(m_hWnd, kRelevelTimer, kRelevelMs, nullptr);
}

LRESULT PinvelWnd::OnActivate(WPARAM wParam, LPARAM lParam)
{
    m_active = LOWORD(wParam) != WA_INACTIVE;
    ApplyOpacity();
    if (m_active)
        PostRelevel();
    // The default hands the focus to the window itself, and the note passes it on.
    return DefWindowProc(WM_ACTIVATE, wParam, lParam);
}

LRESULT PinvelWnd::OnSetFocus(WPARAM wParam, LPARAM lParam)
{
    // The keys go to the text, where its caret last was, whichever way the note became
    // active: made, shown, raised by an alarm, Alt+Tab or a click on its caption.
    if (m_edit != nullptr && m_edit->IsWindow()) {
        ::SetFocus(m_edit->GetHwnd());
        return 0;
    }
    return DefWindowProc(WM_SETFOCUS, wParam, lParam);
}

LRESULT PinvelWnd::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    // The frame's and the buttons' cursor: the buttons hand it on first.
    OnPointerCame();
    return DefWindowProc(WM_SETCURSOR, wParam, lParam);
}

void PinvelWnd::OnPointerCame()
{
    if (m_pointerOver || m_note->m_options.opacity >= kFullOpacity)
        return;
    m_pointerOver = true;
    ApplyOpacity();
    // Its leaving is seen by looking: a child under the pointer takes its mouse messages.
    ::SetTimer(m_hWnd, kPointerTimer, kPointerPeriodMs, nullptr);
}

LRESULT PinvelWnd::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) == 0)
        return DefWindowProc(WM_MOUSEWHEEL, wParam, lParam);
    StepZoom(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1);
    return 0;
}

bool PinvelWnd::OnPlaceTimer(WPARAM timerId)
{
    switch (timerId) {
    case kPointerTimer: {
        POINT at = {};
        ::GetCursorPos(&at);
        const HWND under = ::WindowFromPoint(at);
        if (under == m_hWnd || ::IsChild(m_hWnd, under))
            return true;
        ::KillTimer(m_hWnd, kPointerTimer);
        m_pointerOver = false;
        ApplyOpacity();
        return true;
    }
    case kRelevelTimer:
        ::KillTimer(m_hWnd, kRelevelTimer);
        ApplyLevel();
        return true;
    case kAlarmFrontTimer:
        ::KillTimer(m_hWnd, kAlarmFrontTimer);
        m_alarmFront = false;
        ApplyLevel();
        return true;
    case kZoomShownTimer: {
        ::KillTimer(m_hWnd, kZoomShownTimer);
        m_showZoom = false;
        fw::WindowDC dc(m_hWnd);
        PaintInfo(dc.Get());
        return true;
    }
    default:
        return false;
    }
}

void PinvelWnd::ZoomEditor()
{
    if (m_edit == nullptr || !m_edit->IsWindow())
        return;
    // The editor measures points at the system's DPI: text keeps its point size on a
    // screen of another scaling, and the user's zoom comes on top of that.
    int numerator = 0;
    int denominator = 0;
    EditorZoomRatio(m_note->m_options.zoom, m_dpi, fw::SystemDpi(), numerator, denominator);
    // The control lays its whole text out again for every zoom it is given, and an editor
    // handed back by the note it served already has this one.
    int nowNumerator = 0;
    int nowDenominator = 0;
    m_edit->SendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&nowNumerator), reinterpret_cast<LPARAM>(&nowDenominator));
    if (nowNumerator == numerator && nowDenominator == denominator)
        return;
    m_edit->SendMessage(EM_SETZOOM, static_cast<WPARAM>(numerator), static_cast<LPARAM>(denominator));
}

void PinvelWnd::StepZoom(int direction)
{
    NoteOptions options = m_note->m_options;
    options.zoom = NextZoom(options.zoom, direction);
    m_note->m_options = options;
    ZoomEditor();
    m_showZoom = true;
    ::SetTimer(m_hWnd, kZoomShownTimer, kZoomShownMs, nullptr);
    {
        fw::WindowDC dc(m_hWnd);
        PaintInfo(dc.Get());
    }
    if (m_host != nullptr)
        m_host->NoteOptionsChanged(m_note);
}

void PinvelWnd::SetLevel(NoteLevel level)
{
    m_note->m_options.level = level;
    ApplyLevel();
    if (m_host != nullptr)
        m_host->NoteOptionsChanged(m_note);
}

void PinvelWnd::SetOpacity(int opacity)
{
    m_note->m_options.opacity = opacity;
    ApplyOpacity();
    if (m_host != nullptr)
        m_host->NoteOptionsChanged(m_note);
}

void PinvelWnd::FillPlaceMenus(PIconMenu& popup)
{
    const NoteOptions& options = m_note->m_options;
    // Each wrapped, or its owner-drawn items would not be drawn.
    if (PIconMenu* levels = popup.SubMenuStartingWith(kFirstLevelCommand))
        ::CheckMenuRadioItem(levels->GetHandle(), kFirstLevelCommand, kLastLevelCommand,
                             kFirstLevelCommand + static_cast<UINT>(options.level), MF_BYCOMMAND);
    if (PIconMenu* opacities = popup.SubMenuStartingWith(kFirstOpacityCommand)) {
        const UINT chosen = kFirstOpacityCommand + static_cast<UINT>((kFullOpacity - options.opacity) / 10);
        ::CheckMenuRadioItem(opacities->GetHandle(), kFirstOpacityCommand, kLastOpacityCommand, chosen, MF_BYCOMMAND);
    }
}

bool PinvelWnd::OnPlaceCommand(UINT command)
{
    if (command >= kFirstLevelCommand && command <= kLastLevelCommand) {
        SetLevel(static_cast<NoteLevel>(command - kFirstLevelCommand));
        return true;
    }
    if (command >= kFirstOpacityCommand && command <= kLastOpacityCommand) {
        SetOpacity(OpacityOfCommand(command));
        return true;
    }
    return false;
}
