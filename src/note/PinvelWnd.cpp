#include "PinvelWnd.h"

#include "PClockTicker.h"

#include "../framework/Messages.h"
#include "../appearance/PAppearanceDlg.h"
#include "../core/Placement.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"
#include "../framework/SystemLook.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PIconMenu.h"
#include "../text/PRichEdit.h"
#include "Monitors.h"

#include <mmsystem.h>

namespace {

constexpr char kNoteClass[] = "PCN_NOTE";
constexpr COLORREF kKeyColour = RGB(255, 0, 255);

// The six caption buttons, left to right: command and bitmaps normal, hover, pressed.
struct ButtonRow {
    UINT command;
    UINT normal;
    UINT hover;
    UINT pressed;
};
constexpr ButtonRow kButtonRows[kButtonCount] = {
    {ID_NOTE_NEW, IDB_NEW_NORMAL, IDB_NEW_HOVER, IDB_NEW_PRESSED},
    {ID_NOTE_HIDE, IDB_HIDE_NORMAL, IDB_HIDE_HOVER, IDB_HIDE_PRESSED},
    {ID_NOTE_DELETE, IDB_DELETE_NORMAL, IDB_DELETE_HOVER, IDB_DELETE_PRESSED},
    {ID_NOTE_ALARMS, IDB_ALARMS_NORMAL, IDB_ALARMS_HOVER, IDB_ALARMS_PRESSED},
    {ID_NOTE_APPEARANCE, IDB_LOOK_NORMAL, IDB_LOOK_HOVER, IDB_LOOK_PRESSED},
    {ID_NOTE_ROLL, IDB_ROLL_NORMAL, IDB_ROLL_HOVER, IDB_ROLL_PRESSED},
};

RECT ToRect(const Box& box)
{
    return RECT{box.left, box.top, box.right, box.bottom};
}

LRESULT HitCode(HitZone zone)
{
    switch (zone) {
    case HitZone::Caption: return HTCAPTION;
    case HitZone::Left: return HTLEFT;
    case HitZone::Right: return HTRIGHT;
    case HitZone::Top: return HTTOP;
    case HitZone::Bottom: return HTBOTTOM;
    case HitZone::TopLeft: return HTTOPLEFT;
    case HitZone::TopRight: return HTTOPRIGHT;
    case HitZone::BottomLeft: return HTBOTTOMLEFT;
    case HitZone::BottomRight: return HTBOTTOMRIGHT;
    default: return HTCLIENT;
    }
}

// New places are drawn with the millisecond of the clock.
unsigned RandomSeed()
{
    SYSTEMTIME utc;
    ::GetSystemTime(&utc);
    return utc.wMilliseconds;
}

} // namespace

NoteRect NewRandomNoteRect()
{
    const RECT work = PrimaryWorkArea();
    return RandomNoteRect(work.right - work.left, work.bottom - work.top, RandomSeed());
}

PinvelWnd::PinvelWnd() = default;

PinvelWnd::~PinvelWnd()
{
    // Never left behind in the clocks' list, whatever ended the window.
    PClockTicker::Leave(this);
    for (auto& button : m_buttons)
        button.reset();
}

bool PinvelWnd::Create(DWORD style, HWND parent, PNote* note, NoteHost* host, const WorkAreas* areas)
{
    m_note = note;
    m_host = host;
    m_look = &note->m_look;
    // A note kept on a screen that has gone, or a size from a damaged file, must not
    // open where no one can see or reach it.
    NoteRect& rect = m_look->rect;
    rect = OpeningNoteRect(rect, areas != nullptr ? *areas : MonitorWorkAreas(), RandomSeed());

    if (!fw::RegisterClassOnce(kNoteClass, 0, 0, MAKEINTRESOURCEW(32512), nullptr))
        return false;
    // No room for more windows (the quota is used up, no memory): the note is not shown,
    // and nothing half-made stays.
    // The level and see-through look are the window's from its first frame.
    DWORD exStyle = note->m_options.level == NoteLevel::Top ? WS_EX_TOPMOST : 0;
    if (note->m_options.opacity < kFullOpacity)
        exStyle |= WS_EX_LAYERED;
    // Named by its title from the first frame: a screen reader or a task switcher says it.
    if (!CreateEx(exStyle, kNoteClass, note->GetTitle().c_str(), style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr))
        return false;
    // Showing a window puts it on top of its kind: one kept on the desktop goes down again.
    if (note->m_options.level == NoteLevel::Desktop)
        ApplyLevel();
    return true;
}

Box PinvelWnd::ClientBox() const
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    return Box{0, 0, client.right, client.bottom};
}

Box PinvelWnd::CaptionRect() const
{
    const Box c = ClientBox();
    return CaptionBox(c.right, c.bottom, m_dpi);
}

Box PinvelWnd::ButtonStripRect() const
{
    const Box c = ClientBox();
    return ButtonStripBox(c.right, c.bottom, m_dpi);
}

Box PinvelWnd::TitleRect() const
{
    const Box c = ClientBox();
    return TitleBox(c.right, c.bottom, m_dpi);
}

Box PinvelWnd::TextRect() const
{
    const Box c = ClientBox();
    return TextBox(c.right, c.bottom, m_dpi);
}

Box PinvelWnd::InfoRect() const
{
    const Box c = ClientBox();
    return InfoBox(c.right, c.bottom, m_dpi);
}

Box PinvelWnd::GripRect() const
{
    const Box c = ClientBox();
    return GripBox(c.right, c.bottom, m_dpi);
}

LRESULT PinvelWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(wParam, lParam);
    case WM_TIMER:
        return OnTimer(wParam, lParam);
    case WM_NCHITTEST:
        return OnNcHitTest(wParam, lParam);
    case WM_NCPAINT:
        return OnNcPaint();
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_NCLBUTTONDBLCLK:
        return OnNcLButtonDblClk();
    case WM_SIZE:
        return OnSize(wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(wParam, lParam);
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_DISPLAYCHANGE:
        return OnDisplayChange(wParam, lParam);
    case WM_SETTINGCHANGE:
        return OnSettingChange(wParam, lParam);
    case WM_SYSCOLORCHANGE:
        OnLookChanged();
        return DefWindowProc(msg, wParam, lParam);
    case WM_MEASUREITEM:
        return OnMeasureItem(wParam, lParam);
    case WM_MENUCHAR:
        return PIconMenu::MenuChar(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
    case fw::kDpiChangedMessage:
        return OnDpiChanged(wParam, lParam);
    case WM_NOTE_REFRESH:
        ApplyLook(*m_look);
        return 0;
    case WM_CONTEXTMENU:
        SendMessage(WM_NOTE_CONTEXTMENU, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_NCRBUTTONUP:
        SendMessage(WM_NOTE_CONTEXTMENU, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return DefWindowProc(msg, wParam, lParam);
    case WM_APPLY_APPEARANCE:
        // Anyone can post this message: it carries nothing, and only the dialog this
        // window opened, while it is open, is applied.
        if (m_appearance != nullptr)
            ApplyAppearance(*m_appearance);
        return 0;
    case WM_NOTE_CONTEXTMENU:
        ShowContextMenu(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        return OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_ACTIVATE:
        return OnActivate(wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(wParam, lParam);
    case WM_NOTE_ZOOM:
        StepZoom(static_cast<int>(static_cast<INT_PTR>(wParam)));
        return TRUE;
    case WM_NOTE_POINTER:
        OnPointerCame();
        return 0;
    case WM_NOTE_RELEVEL:
        ApplyLevel();
        return 0;
    case WM_EXITSIZEMOVE:
        PostRelevel();
        return DefWindowProc(msg, wParam, lParam);
    case WM_CLOSE:
        // Alt+F4 or another program's close: the window must not be destroyed behind the
        // logic window's back, which would keep a dead object in its list.
        return OnCommand(ID_NOTE_HIDE, 0);
    default:
        return DefWindowProc(msg, wParam, lParam);
    }
}

LRESULT PinvelWnd::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    m_dpi = fw::WindowDpi(m_hWnd);
    m_owner = ::GetWindow(m_hWnd, GW_OWNER);
    JoinClock();
    m_edit = m_note->AttachEditor(m_hWnd);
    PlaceEditor();
    ZoomEditor();
    ::ShowWindow(m_edit->GetHwnd(), SW_SHOW);
    ApplyLook(*m_look);
    ApplyOpacity();
    // A note made hidden is shown, and one of them made active, with the others.
    if ((reinterpret_cast<const CREATESTRUCTW*>(lParam)->style & WS_VISIBLE) != 0)
        ::SetForegroundWindow(m_hWnd);
    // A note without its buttons could not be hidden or deleted from its caption.
    if (!CreateButtons())
        return -1;
    const Box client = ClientBox();
    m_laidOut = {client.right, client.bottom};
    return 0;
}

bool PinvelWnd::CreateButtons()
{
    const Box client = ClientBox();
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonRow& row = kButtonRows[i];
        ButtonSpec description;
        description.commandId = row.command;
        description.bmpNormal = row.normal;
        description.bmpHover = row.hover;
        description.bmpPressed = row.pressed;
        description.keyColor = kKeyColour;
        description.backColor = Colours().edge;
        description.tipText = fw::LoadResString(row.command);
        auto button = std::make_unique<PHoverButton>();
        if (!button->Create(ToRect(ButtonCell(client.right, i, m_dpi)), m_hWnd, 0, description))
            return false;
        m_buttons[i] = std::move(button);
    }
    return true;
}

void PinvelWnd::RetellTexts()
{
    for (int i = 0; i < kButtonCount; ++i) {
        if (m_buttons[i])
            m_buttons[i]->SetTipText(fw::LoadResString(kButtonRows[i].command));
    }
}

LRESULT PinvelWnd::OnDestroy(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_DESTROY, wParam, lParam);
    m_note->DetachEditor();
    m_edit = nullptr;
    PClockTicker::Leave(this);
    if (m_alarmTimer != 0) {
        ::KillTimer(m_hWnd, m_alarmTimer);
        m_alarmTimer = 0;
        StopAlarm();
    }
    return 0;
}

LRESULT PinvelWnd::OnTimer(WPARAM timerId, LPARAM lParam)
{
    if (OnPlaceTimer(timerId))
        return 0;
    if (m_alarmTimer != 0 && timerId == m_alarmTimer) {
        StopAlarm();
        ::KillTimer(m_hWnd, m_alarmTimer);
        m_alarmTimer = 0;
    }
    return DefWindowProc(WM_TIMER, timerId, lParam);
}

LRESULT PinvelWnd::OnNcHitTest(WPARAM wParam, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ScreenToClient(m_hWnd, &point);
    const Box client = ClientBox();
    const HitZone zone = NoteHitTest(client.right, client.bottom, point.x, point.y, m_dpi);
    if (zone == HitZone::Client)
        return DefWindowProc(WM_NCHITTEST, wParam, lParam);
    return HitCode(zone);
}

LRESULT PinvelWnd::OnNcPaint()
{
    fw::WindowDC dc(m_hWnd);
    PaintFrame(dc.Get());
    return 0;
}

LRESULT PinvelWnd::OnGetMinMaxInfo(MINMAXINFO& info)
{
    // Its own screen's: a note on a larger second screen may grow to fill it.
    const RECT work = WindowWorkArea(m_hWnd);
    info.ptMaxSize.x = work.right - work.left;
    info.ptMaxSize.y = work.bottom - work.top;
    info.ptMaxTrackSize = info.ptMaxSize;
    // Asked for during creation too, before WM_CREATE has set m_dpi.
    const int dpi = fw::WindowDpi(m_hWnd);
    info.ptMinTrackSize.x = RolledWidth(dpi);
    info.ptMinTrackSize.y = RolledHeight(dpi);
    return 0;
}

LRESULT PinvelWnd::OnNcLButtonDblClk()
{
    ::ShowWindow(m_hWnd, ::IsZoomed(m_hWnd) ? SW_RESTORE : SW_MAXIMIZE);
    return 0;
}

LRESULT PinvelWnd::OnSize(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_SIZE, wParam, lParam);
    // The size that comes right after WM_CREATE is the one the window was laid out for,
    // and a hidden window's frame is painted when it is shown: a hundred notes shown at
    // once would each move seven windows where they already are and paint unseen.
    const Box client = ClientBox();
    if (client.right != m_laidOut.cx || client.bottom != m_laidOut.cy)
        LayOut();
    if (::IsWindowVisible(m_hWnd))
        SendMessage(WM_NCPAINT, 1, 0);
    return 0;
}

// An editor given back by a note of the same size is already where this one wants it;
// moving it there again would still cost a move.
void PinvelWnd::PlaceEditor()
{
    const Box text = TextRect();
    RECT now = {};
    ::GetWindowRect(m_edit->GetHwnd(), &now);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&now), 2);
    if (now.left == text.left && now.top == text.top && now.right == text.right && now.bottom == text.bottom)
        return;
    ::MoveWindow(m_edit->GetHwnd(), text.left, text.top, text.Width(), text.Height(), FALSE);
}

void PinvelWnd::LayOut()
{
    const Box client = ClientBox();
    m_laidOut = {client.right, client.bottom};
    if (m_edit != nullptr && m_edit->IsWindow()) {
        const Box text = TextRect();
        ::MoveWindow(m_edit->GetHwnd(), text.left, text.top, text.Width(), text.Height(), TRUE);
    }
    int index = 0;
    for (auto& button : m_buttons) {
        if (!button)
            continue;
        const Box cell = ButtonCell(client.right, index++, m_dpi);
        ::MoveWindow(button->GetHwnd(), cell.left, cell.top, cell.Width(), cell.Height(), TRUE);
    }
}

// A note carried to a screen of another scaling takes the rectangle the system
// suggests, which keeps it under the mouse at its new size, and lays itself out again.
LRESULT PinvelWnd::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const int dpi = HIWORD(wParam);
    if (dpi <= 0)
        return 0;
    m_unrolledWidth = ::MulDiv(m_unrolledWidth, dpi, m_dpi);
    m_unrolledHeight = ::MulDiv(m_unrolledHeight, dpi, m_dpi);
    m_dpi = dpi;
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    ZoomEditor();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    SendMessage(WM_NCPAINT, 1, 0);
    return 0;
}

LRESULT PinvelWnd::OnWindowPosChanged(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProc(WM_WINDOWPOSCHANGED, wParam, lParam);
    // Read back from the window: a move-only or size-only change leaves half of the
    // notification's fields without meaning.
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    m_look->rect = NoteRect{window.left, window.top, window.right, window.bottom};
    return result;
}

// Windows tells every top-level window of a change of screens, and each open note is
// one: each note checks only itself, so none is moved twice and none is missed when the
// logic window is not told.
LRESULT PinvelWnd::OnDisplayChange(WPARAM wParam, LPARAM lParam)
{
    ComeBackIfLost();
    return DefWindowProc(WM_DISPLAYCHANGE, wParam, lParam);
}

LRESULT PinvelWnd::OnSettingChange(WPARAM wParam, LPARAM lParam)
{
    if (wParam == SPI_SETWORKAREA)
        ComeBackIfLost();
    if (fw::MayChangeLook(WM_SETTINGCHANGE, wParam, lParam))
        OnLookChanged();
    return DefWindowProc(WM_SETTINGCHANGE, wParam, lParam);
}

// High contrast on or off: every colour of the frame, the buttons, the text's background
// and the see-through look follow. The first window to hear of it reads the setting again.
void PinvelWnd::OnLookChanged()
{
    fw::RefreshLook();
    ApplyLook(*m_look);
    ApplyOpacity();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void PinvelWnd::ComeBackIfLost()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    if (!IsLostNote(NoteRect{window.left, window.top, window.right, window.bottom}, MonitorWorkAreas()))
        return;
    // The move is stored in the look by the window's own position change.
    const NoteRect rect = NewRandomNoteRect();
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT PinvelWnd::OnMeasureItem(WPARAM wParam, LPARAM lParam)
{
    // Items that open a submenu are measured by the menu being tracked; every other
    // item by the menu that owns it.
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_MENU && ::IsMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.itemID))) &&
        m_menu != nullptr) {
        m_menu->MeasureItem(item);
        return TRUE;
    }
    return DefWindowProc(WM_MEASUREITEM, wParam, lParam);
}

void PinvelWnd::ApplyLook(const NoteLook& look)
{
    m_look->scheme = look.scheme;
    m_look->background = look.background;
    m_look->edge = look.edge;
    m_look->border = look.border;
    m_look->infoKind = look.infoKind;
    NameAfterTitle();
    JoinClock();
    const FrameColours colours = Colours();
    for (auto& button : m_buttons) {
        if (button)
            button->SetBackColor(colours.edge);
    }
    // A window not on the screen paints its frame when it is shown.
    if (::IsWindowVisible(m_hWnd)) {
        fw::WindowDC dc(m_hWnd);
        PaintFrame(dc.Get());
    }
    if (m_edit != nullptr)
        m_edit->SetBackground(colours.background);
}

// A refresh follows every change of the title, from the title dialog or from another PC.
void PinvelWnd::NameAfterTitle()
{
    const std::wstring title = fw::WideFromText(m_note->GetTitle());
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring now(static_cast<std::size_t>(length) + 1, L'\0');
    now.resize(static_cast<std::size_t>(::GetWindowTextW(m_hWnd, &now[0], length + 1)));
    if (now != title)
        ::SetWindowTextW(m_hWnd, title.c_str());
}

void PinvelWnd::RollUpOrBack()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const Box current{window.left, window.top, window.right, window.bottom};
    if (!IsRolledUp(current, m_dpi)) {
        m_unrolledWidth = current.Width();
        m_unrolledHeight = current.Height();
    } else if (m_unrolledWidth == 0) {
        // Opened rolled up: it unrolls to a new note's size. Chosen here, not for every
        // note opened, as it asks the screen for its work area.
        const NoteRect rect = NewRandomNoteRect();
        m_unrolledWidth = rect.right - rect.left;
        m_unrolledHeight = rect.bottom - rect.top;
    }
    for (const Box& step : RollSteps(current, m_unrolledWidth, m_unrolledHeight, m_dpi))
        ::MoveWindow(m_hWnd, step.left, step.top, step.Width(), step.Height(), TRUE);
}
