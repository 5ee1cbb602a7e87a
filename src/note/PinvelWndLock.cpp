// A locked note: its text cannot be changed until it is unlocked, by any road (keys, a
// paste, a dropped file, an import, an earlier version, the text commands). What is not
// its text (title, colours, alarms, level, hiding) still can, and a change that comes
// from another computer is still taken.
#include "PinvelWnd.h"

#include "../framework/CommonDialogs.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PIconMenu.h"

#include <initializer_list>

namespace {

constexpr UINT kTextCommands[] = {ID_EDIT_UNDO,    ID_EDIT_REDO,        ID_EDIT_CUT,       ID_EDIT_PASTE,
                                  ID_EDIT_CLEAR,   ID_NOTE_PASTE_PLAIN, ID_TEXT_FONT,      ID_TEXT_COLOR,
                                  ID_NOTE_IMPORT,  ID_NOTE_CHECKLIST,   ID_NOTE_BULLETS};

bool ChangesText(UINT command)
{
    for (UINT text : kTextCommands) {
        if (command == text)
            return true;
    }
    return command >= PinvelWnd::kFirstVersionCommand && command <= PinvelWnd::kLastVersionCommand;
}

} // namespace

bool PinvelWnd::IsLocked() const
{
    return m_note->m_options.locked;
}

bool PinvelWnd::RefusedWhileLocked(UINT command) const
{
    return IsLocked() && ChangesText(command);
}

void PinvelWnd::ToggleLock()
{
    m_note->m_options.locked = !m_note->m_options.locked;
    ApplyLock();
    if (m_host != nullptr)
        m_host->NoteOptionsChanged(m_note);
}

void PinvelWnd::ApplyLock()
{
    m_note->ApplyReadOnly();
    // The caption's mark comes and goes with the lock.
    ApplyLook(*m_look);
}

void PinvelWnd::FillLockMenu(PIconMenu& popup)
{
    HMENU menu = popup.GetHandle();
    ::CheckMenuItem(menu, ID_NOTE_LOCK, MF_BYCOMMAND | (IsLocked() ? MF_CHECKED : MF_UNCHECKED));
    if (!IsLocked())
        return;
    // By command, the items of the submenus are found too.
    for (UINT command : kTextCommands)
        ::EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
    for (std::size_t i = 0; i < m_versionEntries.size(); ++i)
        ::EnableMenuItem(menu, kFirstVersionCommand + static_cast<UINT>(i), MF_BYCOMMAND | MF_GRAYED);
}

bool PinvelWnd::ConfirmDelete()
{
    if (!IsLocked())
        return true;
    ModalScope modal(*this);
    const std::string text = fw::Format(fw::LoadResString(IDS_DELETE_LOCKED).c_str(), m_note->GetTitle().c_str());
    const int answer = fw::ShowMessage(m_hWnd, text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    return answer == IDYES && !Closed();
}
