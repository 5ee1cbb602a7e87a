#pragma once
#include "NoteHost.h"
#include "PHoverButton.h"
#include "../core/NoteGeometry.h"
#include "../core/NoteLook.h"
#include "../core/NoteOptions.h"
#include "../core/Placement.h"
#include "../framework/Gdi.h"
#include "../framework/Wnd.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class PAppearanceDlg;
class PIconMenu;
class PNote;
class PRichEdit;

// The on-screen window of one note: frameless and always on top, it paints its own
// caption, edge, info line and grip, carries six caption buttons and borrows the note's
// editor while it is open.
// What a note's frame is painted with.
struct FrameColours {
    COLORREF border;
    COLORREF edge;
    COLORREF text;
    COLORREF line; // the info line's separator and the grip
    COLORREF background;
};

class PinvelWnd : public fw::Wnd {
public:
    PinvelWnd();
    ~PinvelWnd() override;

    // Opens the window for the note; the host is asked for what reaches beyond it. False
    // when its class cannot be registered or the window or one of its buttons cannot be
    // made; nothing of it is left then. Notes opened together may share one look at the
    // screens' work areas; without it the window takes its own.
    bool Create(DWORD style, HWND parent, PNote* note, NoteHost* host, const WorkAreas* areas = nullptr);

    PNote* GetNote() const { return m_note; }
    PRichEdit* GetEditor() const { return m_edit; }
    // Takes the colours and info kind of a look; the window keeps its own rectangle.
    void ApplyLook(const NoteLook& look);
    void RollUpOrBack();

    // The fixed layout, computed from the current size and DPI on every use.
    int Dpi() const { return m_dpi; }
    Box ClientBox() const;
    Box CaptionRect() const;
    Box ButtonStripRect() const;
    Box TitleRect() const;
    Box TextRect() const;
    Box InfoRect() const;
    Box GripRect() const;

    const PHoverButton* GetButton(int index) const { return m_buttons[index].get(); }

    // Find in the note's text: the dialog, then F3 onward and Shift+F3 back. A search
    // never wraps around the end or the start.
    void ShowFindDialog();
    void FindNext();
    void FindPrevious();
    void ReportNotFound();
    // Selects the first place the text holds these words, in any letter case, and shows
    // it; F3 then goes on with them. Nothing is said when the text does not hold them.
    void ShowFound(const std::string& words);
    const std::string& FindText() const { return m_findText; }
    // The alarm of a due slot: with sound, the alarm sound loops for six seconds.
    void StartAlarm(bool sound);
    UINT_PTR AlarmTimer() const { return m_alarmTimer; }
    // Edits the note's thirty alarm slots in the alarm sheet.
    void EditAlarms();
    // The appearance dialog, and what its OK or Apply does to the note: the scheme
    // always, the colours when one differs, then to every open note and to new notes
    // as its check boxes ask.
    void OnAppearance();
    void ApplyAppearance(const PAppearanceDlg& dialog);

    // Where the window sits among the others, how see-through it is and how large its
    // text is shown: the note's options, which the window keeps and the user changes.
    void ApplyLevel();
    void ApplyOpacity();
    // The caption buttons' tips and names, again in the language now chosen.
    void RetellTexts();
    void ZoomEditor();
    // One zoom step: up (direction > 0), down (< 0), or back to 100 % (0); shown on the
    // info line for two seconds and kept with the note.
    void StepZoom(int direction);
    void SetLevel(NoteLevel level);
    void SetOpacity(int opacity);
    bool IsOpaqueNow() const { return m_pointerOver || m_active; }

    // The note's lock: while it is set, every command that changes the text does nothing
    // and its menu item is greyed, and deleting the note asks first.
    bool IsLocked() const;
    void ToggleLock();
    // Takes the note's lock as it is now (after a change from another computer).
    void ApplyLock();

    // True while a dialog, menu or sheet of this window runs its own message loop.
    // A window closed meanwhile (from the tray) keeps its object until the loop ends,
    // and the code after the loop sees it closed and touches nothing.
    bool IsInModalLoop() const { return m_modalDepth > 0; }

    // Seams for tests: the sound and the timer of an alarm.
    using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);
    using SetTimerFunction = UINT_PTR(WINAPI*)(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc);
    static void SetAlarmFunctions(PlaySoundFunction playSound, SetTimerFunction setTimer);

    // The context menu while it is tracked, else null.
    PIconMenu* ContextMenu() const { return m_menu; }
    static constexpr UINT kFirstVersionCommand = 54000;
    static constexpr UINT kLastVersionCommand = 54999;

    // Painting, on a device context of the whole window.
    void PaintFrame(HDC dc);
    FrameColours Colours() const;
    void PaintEdge(HDC dc);
    void PaintTitle(HDC dc);
    void NameAfterTitle();
    void OnLookChanged();
    bool CaretOnScreen(POINT& at) const;
    // The whole info line, or only what changed since it was last drawn (nothing when
    // its text is the same).
    void PaintInfo(HDC dc, bool changeOnly = false);
    void PaintGrip(HDC dc);
    std::string InfoText() const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM timerId, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint();
    LRESULT OnGetMinMaxInfo(MINMAXINFO& info);
    LRESULT OnNcLButtonDblClk();
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanging(WINDOWPOS& position);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnPointerCame();
    // The clock on the info line is drawn at the ticks of the one timer all clocks share:
    // where its text changed, and only while the line is seen; an unseen one looks again
    // at each tick.
    friend class PClockTicker;
    void JoinClock();
    void OnClockTick();
    bool IsClockUnseen() const { return m_clockUnseen; }
    bool IsInfoLineSeen(HDC dc) const;
    HFONT InfoFont();
    void ClipToChange(HDC dc, const RECT& info, const std::wstring& text) const;
    void PostRelevel();
    // The timers of the window's place: the pointer's leaving, the end of an alarm's turn
    // in front, the end of the zoom shown on the info line. False for another timer.
    bool OnPlaceTimer(WPARAM timerId);
    // The checks of the window-position and transparency submenus, and their commands.
    void FillPlaceMenus(PIconMenu& popup);
    void FillLockMenu(PIconMenu& popup);
    bool RefusedWhileLocked(UINT command) const;
    // False when the note is locked and the user keeps it.
    bool ConfirmDelete();
    bool OnPlaceCommand(UINT command);
    // Brought above every window while an alarm plays, whatever its level.
    void ComeToFrontForAlarm();
    void ShowContextMenu(int x, int y);
    // The submenu of the note's earlier versions, newest first, and a choice from it.
    void FillVersions(PIconMenu& popup);
    void OnVersionEntry(UINT command);
    void OnTextFont();
    void OnTextColor();
    void OnChangeTitle();
    void OnMailNote();
    void Find(bool down, DWORD flags);
    void StopAlarm();
    // Back to a fresh place on the primary screen when no screen shows the window.
    void ComeBackIfLost();

    // Counts the modal loops running inside this window's handlers.
    class ModalScope {
    public:
        explicit ModalScope(PinvelWnd& window) : m_window(window) { ++m_window.m_modalDepth; }
        ~ModalScope() { --m_window.m_modalDepth; }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        PinvelWnd& m_window;
    };
    bool Closed() const { return m_hWnd == nullptr; }
    bool CreateButtons();
    // Places the editor and the buttons for the current size and DPI.
    void PlaceEditor();
    void LayOut();

    NoteLook* m_look = nullptr;
    std::string m_findText;
    bool m_matchCase = false;
    bool m_wholeWord = false;
    bool m_searchDown = true;
    // What the info line shows now, and whether the clock's last tick found it unseen.
    std::wstring m_infoShown;
    fw::Font m_infoFont;
    int m_infoFontHeight = 0;
    bool m_clockUnseen = false;
    UINT_PTR m_alarmTimer = 0;
    PNote* m_note = nullptr;
    NoteHost* m_host = nullptr;
    PRichEdit* m_edit = nullptr;
    // Set only while the context menu is tracked.
    PIconMenu* m_menu = nullptr;
    // What the version entries of the last menu stood for: the command comes after it closed.
    std::vector<std::wstring> m_versionEntries;
    // Set only while the appearance dialog is open, with the colours it last showed.
    PAppearanceDlg* m_appearance = nullptr;
    NoteLook m_appearanceShown;
    std::array<std::unique_ptr<PHoverButton>, kButtonCount> m_buttons;
    int m_modalDepth = 0;
    // The pointer is over the window or one of its children; the window is the active one.
    bool m_pointerOver = false;
    bool m_active = false;
    bool m_alarmFront = false;
    bool m_showZoom = false;
    // The logic window, the owner the note has at every level but the desktop's.
    HWND m_owner = nullptr;
    int m_dpi = kBaseDpi;
    int m_unrolledWidth = 0;
    int m_unrolledHeight = 0;
    // The client size the editor and the buttons were last placed for.
    SIZE m_laidOut = {};
};

// A date as the system writes it, in the program's code page.
std::string InfoDateText(double date, unsigned long flags);
// Whether the system's time format shows the seconds.
bool InfoTimeShowsSeconds();

// A random rectangle a third of the primary work area's size inside it.
NoteRect NewRandomNoteRect();
