#include "PLogic.h"

#include <vector>

#include "../dialogs/PAboutDlg.h"
#include "../dialogs/PFindNotesDlg.h"
#include "../framework/Language.h"
#include "../note/PinvelWnd.h"
#include "../store/PNote.h"
#include "../tray/PSysTray.h"

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

void PLogic::BringNextNoteForward()
{
    // In the order of the tray's list, which stays put, not in the order of the screen,
    // which the key itself changes: pressed again and again, it visits every note.
    std::vector<PinvelWnd*> open;
    for (const auto& note : m_notes) {
        if (PinvelWnd* window = FindNoteWindow(note.get()))
            open.push_back(window);
    }
    if (open.empty())
        return;
    HWND front = ::GetForegroundWindow();
    std::size_t next = 0;
    for (std::size_t i = 0; i < open.size(); ++i) {
        if (open[i]->GetHwnd() == front)
            next = (i + 1) % open.size();
    }
    HWND window = open[next]->GetHwnd();
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // Made active, the note hands the focus to its text.
    ::SetForegroundWindow(window);
}

void PLogic::SetLanguage(LanguageChoice choice)
{
    m_options.SetLanguage(choice);
    SaveOptions();
    ApplyLanguage();
}

void PLogic::ApplyLanguage()
{
    const UiLanguage language = fw::LanguageForChoice(m_options.Language());
    if (language == fw::CurrentUiLanguage())
        return;
    fw::SetUiLanguage(language);
    if (m_tray)
        m_tray->RetellTip();
    for (const auto& note : m_notes) {
        if (PinvelWnd* window = FindNoteWindow(note.get()))
            window->RetellTexts();
    }
    // A dialog is made from its template once: the kept ones are made again, and the
    // find window is shown again where it was if it was open.
    if (m_about && m_about->IsWindow()) {
        const bool shown = ::IsWindowVisible(m_about->GetHwnd()) != FALSE;
        m_about = std::make_unique<PAboutDlg>();
        m_about->Create(m_hWnd);
        if (shown)
            ShowAbout();
    }
    if (m_findNotes) {
        const bool shown = ::IsWindowVisible(m_findNotes->GetHwnd()) != FALSE;
        m_findNotes.reset();
        if (shown)
            ShowFindNotes();
    }
}
