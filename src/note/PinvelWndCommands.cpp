// What a user does to a note from its context menu, its caption buttons and F3.
#include "PinvelWnd.h"

#include "../core/FontSize.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Dpi.h"
#include "../framework/Strings.h"
#include "../dialogs/PTitleDlg.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PIconMenu.h"
#include "../text/PRichEdit.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kEditPosition = 2;

UINT Enabled(bool enabled)
{
    return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
}

// Commands that open a dialog or a message box of the note (find onward and back open
// the not-found box).
bool OpensADialog(UINT command)
{
    switch (command) {
    case ID_TEXT_FONT:
    case ID_TEXT_COLOR:
    case ID_EDIT_FIND:
    case ID_EDIT_FIND_NEXT:
    case ID_EDIT_FIND_PREV:
    case ID_NOTE_TITLE:
    case ID_NOTE_ALARMS:
    case ID_NOTE_APPEARANCE:
    case ID_NOTE_IMPORT:
    case ID_NOTE_EXPORT:
    case ID_NOTE_MAIL:
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT PinvelWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Anyone can post a command, and F3 repeats: a dialog opened inside another of the
    // note's own would nest without end, and the outer one's copy of the note would
    // overwrite what the inner one stored.
    if (OpensADialog(LOWORD(wParam)) && IsInModalLoop())
        return 0;
    if (RefusedWhileLocked(LOWORD(wParam)))
        return 0;
    switch (LOWORD(wParam)) {
    case ID_EDIT_UNDO:
        m_edit->SendMessage(EM_UNDO);
        return 0;
    case ID_EDIT_REDO:
        m_edit->SendMessage(EM_REDO);
        return 0;
    case ID_EDIT_CUT:
        m_edit->SendMessage(WM_CUT);
        return 0;
    case ID_EDIT_COPY:
        m_edit->SendMessage(WM_COPY);
        return 0;
    case ID_EDIT_PASTE:
        m_edit->SendMessage(WM_PASTE);
        return 0;
    case ID_EDIT_CLEAR:
        m_edit->SendMessage(WM_CLEAR);
        return 0;
    case ID_EDIT_SELECT_ALL: {
        CHARRANGE all = {0, -1};
        m_edit->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        return 0;
    }
    case ID_TEXT_FONT:
        OnTextFont();
        return 0;
    case ID_TEXT_COLOR:
        OnTextColor();
        return 0;
    case ID_EDIT_FIND:
        ShowFindDialog();
        return 0;
    case ID_EDIT_FIND_NEXT:
        FindNext();
        return 0;
    case ID_EDIT_FIND_PREV:
        FindPrevious();
        return 0;
    case ID_NOTE_ROLL:
        RollUpOrBack();
        return 0;
    case ID_NOTE_TITLE:
        OnChangeTitle();
        return 0;
    case ID_NOTE_ALARMS:
        EditAlarms();
        return 0;
    case ID_NOTE_APPEARANCE:
        OnAppearance();
        return 0;
    case ID_NOTE_NEW:
        if (m_host != nullptr)
            m_host->NewNoteAndShow();
        return 0;
    case ID_NOTE_HIDE:
        // The window and this object are gone when this returns.
        if (m_host != nullptr)
            m_host->CloseNoteWindow(this);
        return 0;
    case ID_NOTE_DELETE:
        if (IsLocked() && IsInModalLoop())
            return 0;
        if (m_host != nullptr && ConfirmDelete())
            m_host->DeleteNote(m_note);
        return 0;
    case ID_NOTE_LOCK:
        ToggleLock();
        return 0;
    case ID_NOTE_PASTE_PLAIN:
        m_edit->PastePlainText();
        return 0;
    case ID_NOTE_CHECKLIST:
        m_edit->ToggleList(ListMark::Open);
        return 0;
    case ID_NOTE_BULLETS:
        m_edit->ToggleList(ListMark::Bullet);
        return 0;
    case ID_NOTE_IMPORT: {
        ModalScope modal(*this);
        m_edit->ImportWithDialog();
        return 0;
    }
    case ID_NOTE_EXPORT: {
        ModalScope modal(*this);
        m_edit->ExportWithDialog();
        return 0;
    }
    case ID_NOTE_MAIL:
        OnMailNote();
        return 0;
    default:
        if (LOWORD(wParam) >= kFirstVersionCommand && LOWORD(wParam) <= kLastVersionCommand) {
            OnVersionEntry(LOWORD(wParam));
            return 0;
        }
        if (OnPlaceCommand(LOWORD(wParam)))
            return 0;
        return DefWindowProc(WM_COMMAND, wParam, lParam);
    }
}

LRESULT PinvelWnd::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_F3)
        SendMessage(WM_COMMAND, ::GetKeyState(VK_SHIFT) < 0 ? ID_EDIT_FIND_PREV : ID_EDIT_FIND_NEXT, 0);
    if (wParam == VK_ESCAPE) {
        ::PostMessageW(m_hWnd, WM_COMMAND, ID_NOTE_HIDE, 0);
        return 0;
    }
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

bool PinvelWnd::CaretOnScreen(POINT& at) const
{
    if (m_edit == nullptr || ::GetFocus() != m_edit->GetHwnd())
        return false;
    POINT caret = {};
    if (!::GetCaretPos(&caret))
        return false;
    // A caret scrolled out of sight is taken to the nearest edge of the text.
    RECT text;
    ::GetClientRect(m_edit->GetHwnd(), &text);
    caret.x = std::clamp<LONG>(caret.x, text.left, std::max(text.left, text.right - 1));
    caret.y = std::clamp<LONG>(caret.y, text.top, std::max(text.top, text.bottom - 1));
    ::ClientToScreen(m_edit->GetHwnd(), &caret);
    at = caret;
    return true;
}

void PinvelWnd::ShowContextMenu(int x, int y)
{
    // One menu or dialog of this window at a time: the message can come from anyone,
    // and a menu opened inside another one's loop would outlive its window.
    if (IsInModalLoop())
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    POINT at = {x, y};
    // Shift+F10 and the menu key ask with the point (-1, -1): the menu opens where the
    // keys are, at the caret. Any other point off the window means its centre.
    if (x == -1 && y == -1 && CaretOnScreen(at)) {
        x = at.x;
        y = at.y;
    } else if (!::PtInRect(&window, at)) {
        x = window.left + (window.right - window.left) / 2;
        y = window.top + (window.bottom - window.top) / 2;
    }
    auto menu = std::make_unique<PIconMenu>();
    if (!menu->LoadIconMenu(IDM_NOTE_CONTEXT))
        return;
    menu->SetDpi(fw::DpiAtPoint({x, y}));
    m_menu = menu.get();
    PIconMenu* popup = menu->GetIconSubMenu(0);
    PIconMenu* edit = popup != nullptr ? popup->GetIconSubMenu(kEditPosition) : nullptr;
    if (edit != nullptr) {
        HMENU h = edit->GetHandle();
        const bool selection = LOWORD(m_edit->SendMessage(EM_SELECTIONTYPE)) != SEL_EMPTY;
        ::EnableMenuItem(h, ID_EDIT_UNDO, Enabled(m_edit->SendMessage(EM_CANUNDO) != 0));
        ::EnableMenuItem(h, ID_EDIT_REDO, Enabled(m_edit->SendMessage(EM_CANREDO) != 0));
        ::EnableMenuItem(h, ID_EDIT_CUT, Enabled(selection));
        ::EnableMenuItem(h, ID_EDIT_COPY, Enabled(selection));
        ::EnableMenuItem(h, ID_EDIT_CLEAR, Enabled(selection));
        ::EnableMenuItem(h, ID_EDIT_PASTE, Enabled(m_edit->SendMessage(EM_CANPASTE, CF_UNICODETEXT) != 0));
    }
    if (popup != nullptr) {
        FillVersions(*popup);
        FillPlaceMenus(*popup);
        FillLockMenu(*popup);
    }
    if (popup != nullptr) {
        ModalScope modal(*this);
        ::TrackPopupMenu(popup->GetHandle(), TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    }
    m_menu = nullptr;
}

void PinvelWnd::OnTextFont()
{
    LOGFONTW font;
    m_edit->GetSelectionFont(font);
    const int twips = font.lfHeight;
    HDC dc = ::GetDC(m_hWnd);
    font.lfHeight = FontDialogHeight(twips, ::GetDeviceCaps(dc, LOGPIXELSY));
    ::ReleaseDC(m_hWnd, dc);
    const int startHeight = font.lfHeight;
    int pointSizeTenths = 0;
    bool chosen = false;
    {
        ModalScope modal(*this);
        chosen = fw::ShowFontDialog(m_hWnd, CF_SCREENFONTS, font, pointSizeTenths);
    }
    if (!chosen || Closed())
        return;
    font.lfHeight = ChosenFontTwips(twips, startHeight, font.lfHeight, pointSizeTenths);
    m_edit->SetTextFont(font, PRichEdit::Scope::Selection);
}

void PinvelWnd::OnTextColor()
{
    COLORREF colour = m_edit->GetSelectionColor();
    bool chosen = false;
    {
        ModalScope modal(*this);
        chosen = fw::ShowColorDialog(m_hWnd, CC_FULLOPEN, colour);
    }
    if (!chosen || Closed())
        return;
    m_edit->SetTextColor(colour, PRichEdit::Scope::Selection);
}

void PinvelWnd::OnChangeTitle()
{
    PTitleDlg dialog;
    const std::string shown = m_note->GetTitle();
    dialog.m_title = shown;
    INT_PTR result = IDCANCEL;
    {
        ModalScope modal(*this);
        result = dialog.DoModal(nullptr);
    }
    // An unchanged title is not written back over one that came from elsewhere meanwhile.
    if (result != IDOK || Closed() || dialog.m_title == shown)
        return;
    m_note->SetTitle(dialog.m_title);
}

void PinvelWnd::OnMailNote()
{
    // Both leave as characters: a title or text in any script reaches the mail whole.
    std::wstring body;
    m_edit->StreamOutPlain(body);
    const std::wstring subject = fw::WideFromText(m_note->GetTitle());
    ModalScope modal(*this);
    m_edit->SendMail(nullptr, subject, body);
}
