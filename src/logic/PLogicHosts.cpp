#include "PLogic.h"

#include "../note/PinvelWnd.h"
#include "../store/PNote.h"

// The owner's side of what the floors below hand up: each of them knows only the small
// interface its own folder declares, and the logic window answers it here.

HWND PLogic::OwnerWindow() const
{
    return m_hWnd;
}

void PLogic::OnNoteChanged(PNote* note)
{
    NotifyNoteChanged(note);
}

void PLogic::OnAlarmDue(PNote* note, bool sound)
{
    if (PinvelWnd* window = ShowNote(note))
        window->StartAlarm(sound);
}

void PLogic::BringNoteForward(PNote* note, const std::string& typed)
{
    PinvelWnd* window = ShowNote(note);
    if (window == nullptr)
        return;
    ::SetForegroundWindow(window->GetHwnd());
    // The words may lie past the beginning a long note shows first.
    LoadComingText(note);
    window->ShowFound(typed);
}
