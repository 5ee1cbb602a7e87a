#include "PLogic.h"

#include "../store/PDeletedNotes.h"
#include "../store/PNote.h"
#include "../dialogs/PAboutDlg.h"
#include "../dialogs/PFindNotesDlg.h"
#include "../note/PinvelWnd.h"
#include "../tray/PSysTray.h"
#include "../framework/Messages.h"
#include "../framework/PError.h"
#include "../core/MinuteGate.h"
#include "../core/SettingsFile.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Language.h"
#include "../framework/DarkMode.h"
#include "../framework/Strings.h"
#include "../framework/SystemLook.h"
#include "../text/PRichEdit.h"

#include <shellapi.h>
#include "../res/resource.h"

namespace {

int SystemUtcMinute()
{
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    return now.wMinute;
}

PLogic::MinuteSource g_minuteSource = &SystemUtcMinute;
std::wstring g_programFolder;

constexpr wchar_t kSettingsFile[] = L"Pinvel.ini";
constexpr UINT kMinuteTimer = 1;
constexpr UINT kMinuteTimerPeriodMs = 1000;
// A burst of changes to the side file (zoom steps) is written once, this long after.
constexpr UINT kOptionsTimer = 2;
constexpr UINT kOptionsDelayMs = 2000;

} // namespace

PLogic::PLogic() : m_lastMinute(CurrentUtcMinute()) {}

PLogic::~PLogic()
{
    // Nothing is written here: everything was saved by Shutdown, and a process ending
    // after a fatal error must not write at all. Windows go first: they borrow the
    // notes' editors.
    m_windows.clear();
    m_closedWindows.clear();
    for (auto& window : m_retiring)
        window->DestroyWindow();
    m_retiring.clear();
    m_notes.clear();
    m_tray.reset();
    m_about.reset();
    m_findNotes.reset();
}

void PLogic::SetProgramFolder(const std::wstring& folder)
{
    g_programFolder = folder;
}

void PLogic::SetMinuteSource(MinuteSource source)
{
    g_minuteSource = source != nullptr ? source : &SystemUtcMinute;
}

int PLogic::CurrentUtcMinute()
{
    return g_minuteSource();
}

bool PLogic::Create()
{
    if (!fw::RegisterClassOnce(kLogicClass, 0, IDI_PINVEL, nullptr, nullptr))
        return false;
    if (!CreateEx(0, kLogicClass, "PinvelMain", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr))
        g_error.Raise(ERR_CREATE_LOGIC_WND);
    return true;
}

void PLogic::Shutdown()
{
    // Asked twice (an -exit while the tray's exit question is up): once is all.
    if (m_ending)
        return;
    m_ending = true;
    // Notes not read yet are never written: they are not in the list.
    m_reader.Stop();
    ::KillTimer(m_hWnd, kWatchTimer);
    m_watch.Stop();
    // A menu still open (the request to quit came from outside) would keep its loop
    // running after every window is gone.
    ::EndMenu();
    SaveAll();
    KeepUnsavedForLater();
    ::KillTimer(m_hWnd, m_timerId);
    m_timerId = 0;
    // A note kept on the desktop is owned by the shell's window, so it would not go with
    // this one.
    while (!m_windows.empty())
        DestroyNoteWindow(m_windows.front().get());
    while (!m_retiring.empty())
        RetireSome();
    DestroyWindow();
}

void PLogic::SaveAll()
{
    // The look for new notes was written when it was chosen; the file is written again
    // only when it is missing or holds another.
    std::string stored;
    if (!fw::ReadWholeFile(m_folder + kSettingsFile, stored, 64 * 1024) || stored != EncodeSettings(m_defaultLook))
        SaveSettings();
    SaveAllNotes();
}

bool PLogic::LoadSettings()
{
    std::string file;
    // Only the first 46 bytes count; a larger file is not the program's.
    if (fw::ReadWholeFile(m_folder + kSettingsFile, file, 64 * 1024))
        DecodeSettings(file, m_defaultLook);
    return true;
}

bool PLogic::SaveSettings()
{
    return fw::ReplaceFileContents(m_folder + kSettingsFile, EncodeSettings(m_defaultLook));
}

void PLogic::NoteOptionsChanged(PNote* note)
{
    m_options.Set(FileNameOfPath(note->GetFilePath()), note->m_options);
    SaveOptionsSoon();
}

void PLogic::SaveOptionsSoon()
{
    if (m_options.HasChanges())
        ::SetTimer(m_hWnd, kOptionsTimer, kOptionsDelayMs, nullptr);
}

void PLogic::SetHotkeys(const HotkeyOptions& hotkeys)
{
    m_options.SetHotkeys(hotkeys);
    SaveOptions();
}

void PLogic::ShowAbout()
{
    // Made on first use: most runs never open it, and making it cost more than anything
    // else before the program answered.
    if (!m_about) {
        auto dialog = std::make_unique<PAboutDlg>();
        if (!dialog->Create(m_hWnd))
            return;
        m_about = std::move(dialog);
    }
    m_about->Show(NotesFolder());
}

void PLogic::ShowFindNotes()
{
    if (!FinishStart())
        return;
    // Made on first use: most runs never search, and the dialog holds an editor of its own.
    if (!m_findNotes) {
        auto dialog = std::make_unique<PFindNotesDlg>(static_cast<FindNotesHost&>(*this));
        if (!dialog->Create(m_hWnd))
            return;
        m_findNotes = std::move(dialog);
    }
    m_findNotes->Show();
}

void PLogic::OpenNotesFolder()
{
    const std::wstring folder = NotesFolder();
    fw::MakeFolder(folder);
    ::ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void PLogic::ShowHelp()
{
    // The English pages are a file of their own beside the program, which an older copy
    // of the folder may lack.
    std::wstring help = m_programFolder + fw::LoadResStringW(IDS_HELP_FILE);
    if (fw::CurrentUiLanguage() == UiLanguage::English) {
        const std::wstring english = help.substr(0, help.size() - 4) + L".en.chm";
        if (fw::FileExists(english))
            help = english;
    }
    ::ShellExecuteW(nullptr, L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT PLogic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        const LRESULT result = DefWindowProc(msg, wParam, lParam);
        if (result == -1)
            return -1;
        return OnCreate();
    }
    case WM_TIMER:
        return OnTimer(wParam, lParam);
    case WM_QUERYENDSESSION:
        return OnQueryEndSession(wParam, lParam);
    case WM_ENDSESSION:
        return OnEndSession(wParam);
    case WM_LOGIC_EXIT:
        return OnLogicExit();
    case WM_LOGIC_LANGUAGE:
        return static_cast<LRESULT>(fw::CurrentUiLanguage()) + 1;
    case WM_LOGIC_RETIRE:
        RetireSome();
        return 0;
    case WM_LOGIC_TEXT:
        LoadComingText(reinterpret_cast<const PNote*>(lParam));
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        return OnSettingChange(msg, wParam, lParam);
    case WM_CLOSE:
        // What taskkill without /F, uninstallers and "close all programs" tools send: the
        // default handler would end the loop without saving.
        return OnLogicExit();
    default:
        if (msg == PSysTray::TaskbarCreatedMessage() && m_tray)
            return m_tray->SendMessage(msg, wParam, lParam);
        return DefWindowProc(msg, wParam, lParam);
    }
}

LRESULT PLogic::OnSettingChange(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The menus take their colours when they open, from the look read here; the notes and
    // dialogs hear the same broadcast and repaint themselves.
    if (fw::MayChangeLook(msg, wParam, lParam)) {
        fw::RefreshLook();
        fw::FlushDarkMenus();
    }
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT PLogic::OnCreate()
{
    m_programFolder = g_programFolder.empty() ? FolderOfPath(fw::ModulePath()) : g_programFolder;
    FindHome();
    LoadSettings();
    m_options.Load(NotesFolder());
    fw::SetUiLanguage(fw::LanguageForChoice(m_options.Language()));
    m_tray = std::make_unique<PSysTray>();
    m_tray->Create(m_hWnd, static_cast<TrayHost*>(this));
    m_tray->RegisterHotkeys();
    if (!m_homeNews.empty())
        Tell(m_homeNews, false);
    m_timerId = ::SetTimer(m_hWnd, kMinuteTimer, kMinuteTimerPeriodMs, nullptr);
    // The files are only listed here, so that the menu can say how many are coming.
    StartReading();
    // A timer comes only when the queue is otherwise empty: after the first messages
    // the program is sent. Without one, the rest of the start is taken now.
    if (::SetTimer(m_hWnd, kStartTimer, USER_TIMER_MINIMUM, nullptr) == 0)
        FinishStart();
    return 0;
}

// One step of the rest of the start at each turn of the loop: a message that comes
// meanwhile waits for one step at most, not for all of them.
void PLogic::TakeStartStep()
{
    if (m_checkingEditor)
        return;
    if (!m_controlsReady) {
        fw::UseCommonControls();
        m_controlsReady = true;
        return;
    }
    if (!m_editorChecked) {
        CheckEditor();
        return;
    }
    FinishStart();
}

// Notes make their editors only when shown; whether an editor can be made at all is
// known here, once, before a note is read.
void PLogic::CheckEditor()
{
    if (m_editorChecked)
        return;
    // A failure shows its box, whose loop keeps the timers and the tray's messages
    // coming until the process ends: meanwhile nothing may go on with the start.
    m_checkingEditor = true;
    PRichEdit::CheckAvailable(m_hWnd);
    m_checkingEditor = false;
    m_editorChecked = true;
}

bool PLogic::FinishStart()
{
    if (m_started)
        return true;
    if (m_checkingEditor)
        return false;
    ::KillTimer(m_hWnd, kStartTimer);
    fw::UseCommonControls();
    m_controlsReady = true;
    CheckEditor();
    m_started = true;
    MakeNotesFolder();
    for (const std::wstring& gone : PDeletedNotes(NotesFolder()).KeepNewest(PDeletedNotes::kKept))
        m_options.Forget(gone);
    if (!m_reader.IsReading())
        OnAllRead();
    return true;
}

LRESULT PLogic::OnTimer(WPARAM timerId, LPARAM lParam)
{
    if (timerId == kOptionsTimer) {
        ::KillTimer(m_hWnd, kOptionsTimer);
        SaveOptions();
        return 0;
    }
    if (timerId == kWatchTimer) {
        OnWatchTimer();
        return 0;
    }
    if (timerId == kStartTimer) {
        TakeStartStep();
        return 0;
    }
    if (timerId == kReadTimer) {
        // Reading waits for the start's own steps, taken one a turn like them.
        if (!m_started) {
            TakeStartStep();
            return 0;
        }
        if (m_reader.ReadSlice([this](const std::wstring& path) { ReadNote(path); }))
            OnAllRead();
        return 0;
    }
    DeleteClosedWindows();
    RetryUnreadable();
    const bool ran = RunMinuteGate(m_lastMinute, CurrentUtcMinute(), m_notes,
                                   [](std::unique_ptr<PNote>& note) { note->CheckAlarms(); });
    if (!ran)
        return 0;
    m_checkedMinute = m_lastMinute;
    // A crash or a power cut costs at most the last minute of typing.
    SaveChangedNotes();
    return DefWindowProc(WM_TIMER, timerId, lParam);
}

LRESULT PLogic::OnQueryEndSession(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_QUERYENDSESSION, wParam, lParam) == 0)
        return 0;
    Shutdown();
    return 1;
}

// The session ends for certain: a WM_QUERYENDSESSION answered elsewhere, or not asked
// at all, must not end the process without saving.
LRESULT PLogic::OnEndSession(WPARAM ending)
{
    if (ending != FALSE)
        Shutdown();
    return 0;
}

LRESULT PLogic::OnLogicExit()
{
    Shutdown();
    return 1;
}
