// The logic window's note list: making, loading, saving, naming and deleting notes.
#include "PLogic.h"

#include "../store/PDeletedNotes.h"
#include "../store/PNote.h"
#include "../store/PVersions.h"
#include "../dialogs/PFindNotesDlg.h"
#include "../framework/Messages.h"
#include "../note/Monitors.h"
#include "../note/PinvelWnd.h"
#include "../core/Naming.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../framework/WaitCursor.h"
#include "../res/resource.h"

#include <algorithm>

namespace {

PLogic::RoomSource g_objectsLeft = &fw::UserObjectsLeft;

// What an open note costs of the process's window quota (owner, editor, window, six
// buttons and their tips, with room to spare), and what is kept free for the tray menu,
// the dialogs and the notes' menus: a note past that is not opened.
constexpr int kObjectsPerNote = 24;
constexpr int kObjectsKeptFree = 600;

// Note file names are ASCII, whatever the system's code page.
std::wstring WidenAscii(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

} // namespace

void PLogic::SetRoomSource(RoomSource source)
{
    g_objectsLeft = source != nullptr ? source : &fw::UserObjectsLeft;
}

void PLogic::SetLocalTimeSource(LocalTimeSource source)
{
    PNote::SetLocalTimeSource(source);
}

SYSTEMTIME PLogic::LocalTime()
{
    return PNote::LocalTime();
}

std::wstring PLogic::NotesFolder() const
{
    return m_folder + fw::LoadResStringW(IDS_NOTES_FOLDER);
}

PNote* PLogic::NewNote()
{
    // Its title must be free among every note, not only the ones read so far.
    FinishReading();
    auto note = std::make_unique<PNote>(static_cast<NoteListener*>(this));
    note->m_look = GetNewNoteLook();
    // The note is not listed yet, so its own default title does not count as taken.
    note->SetTitle(NextTitle());
    note->SetFilePath(NextFilePath());
    // Settings left behind under a free name (a copied side file) are not the new note's.
    m_options.Forget(FileNameOfPath(note->GetFilePath()));
    m_notes.push_back(std::move(note));
    return m_notes.back().get();
}

PNote* PLogic::LoadNote(const std::wstring& path)
{
    if (!FinishStart())
        return nullptr;
    auto note = std::make_unique<PNote>(static_cast<NoteListener*>(this));
    note->SetFilePath(path);
    if (!note->Load(true, false))
        return nullptr;
    note->m_options = m_options.Of(FileNameOfPath(path));
    m_notes.push_back(std::move(note));
    return m_notes.back().get();
}

void PLogic::DeleteNote(PNote* note)
{
    auto it = std::find_if(m_notes.begin(), m_notes.end(), [note](const auto& p) { return p.get() == note; });
    if (it == m_notes.end())
        return;
    // Deleting asks nothing, so it must be undoable: the latest text goes aside with the
    // note, a new note's too. A failure leaves the note as it was.
    if (note->IsTextLoaded()) {
        MakeNotesFolder();
        if (!SaveNote(note)) {
            OnSaveResult(note, false);
            return;
        }
    }
    const std::wstring path = note->GetFilePath();
    if (fw::FileExists(path) && !PDeletedNotes(NotesFolder()).MoveIn(path, LocalTime()))
        return;
    DropNote(note);
}

void PLogic::DropNote(PNote* note)
{
    while (PinvelWnd* window = FindNoteWindow(note))
        DestroyNoteWindow(window);
    if (PinvelWnd* waiting = Unretire(note))
        DestroyNoteWindow(waiting);
    m_notes.remove_if([note](const auto& p) { return p.get() == note; });
}

PNote* PLogic::RestoreDeletedNote(const std::wstring& deletedPath)
{
    const std::wstring own = FileNameOfPath(deletedPath);
    const std::wstring name = FreeFileName(own, [&](const std::wstring& candidate) {
        return IsFileNameTaken(candidate, own);
    });
    const std::wstring path = NotesFolder() + L"\\" + name;
    MakeNotesFolder();
    if (!::MoveFileW(deletedPath.c_str(), path.c_str()))
        return nullptr;
    m_options.Rename(own, name);
    PNote* note = LoadNote(path);
    if (note == nullptr) {
        // Left in the notes folder, a file that does not load would only be skipped.
        ::MoveFileW(path.c_str(), deletedPath.c_str());
        m_options.Rename(name, own);
        return nullptr;
    }
    PVersions(NotesFolder()).Rename(own, name);
    ShowNote(note);
    return note;
}

void PLogic::NotifyNoteChanged(PNote* note)
{
    if (PinvelWnd* window = FindNoteWindow(note))
        window->SendMessage(WM_NOTE_REFRESH);
}

NoteLook PLogic::GetNewNoteLook() const
{
    NoteLook look = m_defaultLook;
    look.rect = NewRandomNoteRect();
    return look;
}

PinvelWnd* PLogic::NewNoteAndShow()
{
    PNote* note = NewNote();
    PinvelWnd* window = ShowNote(note);
    // A note that could not be shown was never seen: it is not kept.
    if (window == nullptr)
        DeleteNote(note);
    return window;
}

PinvelWnd* PLogic::ShowNote(PNote* note)
{
    if (PinvelWnd* open = FindNoteWindow(note)) {
        ::SetForegroundWindow(open->GetHwnd());
        return open;
    }
    return OpenNoteWindow(note, true);
}

PinvelWnd* PLogic::OpenNoteWindow(PNote* note, bool show, const WorkAreas* areas)
{
    if (!FinishStart())
        return nullptr;
    if (PinvelWnd* window = Unretire(note)) {
        if (show) {
            ::SetWindowPos(window->GetHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            ::SetForegroundWindow(window->GetHwnd());
        }
        return window;
    }
    // The note's editor is made when it is first shown; a note whose windows cannot be
    // made now is not shown, and nothing is written.
    if (!HasRoomForNote() || !note->CreateEditor())
        return nullptr;
    auto window = std::make_unique<PinvelWnd>();
    if (!window->Create(WS_POPUP | (show ? WS_VISIBLE : 0), m_hWnd, note, static_cast<NoteHost*>(this), areas))
        return nullptr;
    m_windows.push_back(std::move(window));
    // A note whose text cannot be read now shows empty and is not saved, so its file
    // stays as it was. A long one shows its beginning at once and comes whole from the
    // loop: a posted message is taken before any key or click, so none of them can reach
    // the beginning alone.
    if (!note->IsTextLoaded()) {
        if (note->LoadBeginning())
            ::PostMessageW(m_hWnd, WM_LOGIC_TEXT, 0, reinterpret_cast<LPARAM>(note));
        else
            note->Load(false, true);
    }
    return m_windows.back().get();
}

void PLogic::LoadComingText(const PNote* which)
{
    // The note may have been deleted meanwhile: it is only looked for, never followed.
    for (auto& note : m_notes) {
        if (note.get() == which && note->IsTextComing())
            note->Load(false, true);
    }
}

// Near the quota every further window fails, the tray menu too, and with it the way to
// hide notes again: no note opens there.
bool PLogic::HasRoomForNote() const
{
    return g_objectsLeft() >= kObjectsPerNote + kObjectsKeptFree;
}

void PLogic::HideNote(PNote* note)
{
    if (PinvelWnd* window = FindNoteWindow(note))
        CloseNoteWindow(window);
}

void PLogic::CloseNoteWindow(PinvelWnd* window)
{
    auto it = std::find_if(m_windows.begin(), m_windows.end(), [window](const auto& p) { return p.get() == window; });
    if (it == m_windows.end())
        return;
    PNote* note = window->GetNote();
    DestroyNoteWindow(window);
    // What was typed into a note is on disk once the note is out of sight.
    OnSaveResult(note, SaveNote(note));
}

void PLogic::DestroyNoteWindow(PinvelWnd* window)
{
    auto it = std::find_if(m_windows.begin(), m_windows.end(), [window](const auto& p) { return p.get() == window; });
    if (it == m_windows.end())
        return;
    window->DestroyWindow();
    // A window closed from inside one of its own dialogs (an alarm sheet, when the
    // tray hides its note) is still on the stack: its object must outlive the loop.
    if (window->IsInModalLoop())
        m_closedWindows.push_back(std::move(*it));
    m_windows.erase(it);
    DeleteClosedWindows();
}

void PLogic::DeleteClosedWindows()
{
    m_closedWindows.remove_if([](const auto& window) { return !window->IsInModalLoop(); });
}

namespace {

// Shows or hides windows in one step. One by one, each window would hand the activation
// and the screen beneath it on to the next, a hundred times over for a hundred notes.
void ShowOrHideTogether(const std::vector<HWND>& windows, bool show)
{
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(windows.size()));
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    for (HWND hwnd : windows) {
        if (batch != nullptr)
            batch = ::DeferWindowPos(batch, hwnd, nullptr, 0, 0, 0, 0, flags);
    }
    if (batch != nullptr && ::EndDeferWindowPos(batch))
        return;
    // No memory for the batch: one at a time still works.
    for (HWND hwnd : windows)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
}

} // namespace

void PLogic::HideAll()
{
    std::vector<HWND> shown;
    for (const auto& window : m_windows)
        shown.push_back(window->GetHwnd());
    ShowOrHideTogether(shown, false);
    // Saved now, destroyed a few at a time from the loop: destroying a hundred windows in
    // one go keeps the key that hid them waiting a second.
    while (!m_windows.empty()) {
        PinvelWnd* window = m_windows.front().get();
        PNote* note = window->GetNote();
        if (window->IsInModalLoop()) {
            CloseNoteWindow(window);
            continue;
        }
        m_retiring.push_back(std::move(m_windows.front()));
        m_windows.pop_front();
        OnSaveResult(note, SaveNote(note));
    }
    if (!m_retiring.empty())
        ::PostMessageW(m_hWnd, WM_LOGIC_RETIRE, 0, 0);
}

void PLogic::RetireSome()
{
    constexpr int kPerTurn = 8;
    for (int i = 0; i < kPerTurn && !m_retiring.empty(); ++i) {
        // Destroyed through its own handler, which gives the note its editor back.
        m_retiring.front()->DestroyWindow();
        m_retiring.pop_front();
    }
    if (!m_retiring.empty())
        ::PostMessageW(m_hWnd, WM_LOGIC_RETIRE, 0, 0);
}

PinvelWnd* PLogic::Unretire(PNote* note)
{
    auto it = std::find_if(m_retiring.begin(), m_retiring.end(),
                           [note](const auto& window) { return window->GetNote() == note; });
    if (it == m_retiring.end())
        return nullptr;
    m_windows.push_back(std::move(*it));
    m_retiring.erase(it);
    PinvelWnd* window = m_windows.back().get();
    // The look for all notes may have changed while it waited.
    window->ApplyLook(note->m_look);
    return window;
}

void PLogic::ShowOrHideAll()
{
    if (!m_windows.empty())
        HideAll();
    else
        ShowAll();
}

void PLogic::ShowAll()
{
    FinishReading();
    // The screens do not change in the middle of this loop: one look at them serves all.
    const WorkAreas areas = MonitorWorkAreas();
    // Stops at the first note that cannot be opened: the ones after it would fail too.
    int left = static_cast<int>(m_notes.size());
    std::vector<HWND> opened;
    for (auto& note : m_notes) {
        if (!IsHidden(note.get())) {
            --left;
            continue;
        }
        if (!HasRoomForNote()) {
            Tell(fw::WideFromText(fw::Format(fw::LoadResString(IDS_SHOW_ALL_LIMIT).c_str(), left)), true);
            break;
        }
        PinvelWnd* window = OpenNoteWindow(note.get(), false, &areas);
        if (window == nullptr)
            break;
        opened.push_back(window->GetHwnd());
        --left;
    }
    ShowOrHideTogether(opened, true);
    if (!opened.empty())
        ::SetForegroundWindow(opened.back());
}

PinvelWnd* PLogic::FindNoteWindow(PNote* note) const
{
    for (const auto& window : m_windows) {
        if (window->GetNote() == note)
            return window.get();
    }
    return nullptr;
}

void PLogic::ApplyLookToAll(const NoteLook& look)
{
    for (auto& window : m_windows)
        window->ApplyLook(look);
}

void PLogic::StartReading()
{
    const std::wstring folder = NotesFolder();
    // Only the notes folder's own files: the deleted notes in its subfolder are not notes.
    // Listing them is quick; reading them is what grows with the folder.
    const std::wstring pattern = L"*." + fw::LoadResStringW(IDS_NOTE_EXT);
    if (!m_reader.Begin(m_hWnd, kReadTimer, folder, pattern, [this](const std::wstring& path) { ReadNote(path); }) &&
        m_started)
        OnAllRead();
}

void PLogic::LoadAllNotes()
{
    StartReading();
    FinishReading();
}

void PLogic::FinishReading()
{
    if (!FinishStart() || !m_reader.IsReading())
        return;
    // One hourglass for the rest of the folder; a note reads only its fields here.
    fw::WaitCursor wait;
    if (m_reader.ReadRest([this](const std::wstring& path) { ReadNote(path); }))
        OnAllRead();
}

void PLogic::ReadNote(const std::wstring& path)
{
    PNote* note = LoadNote(path);
    // Its minute's check has run without it: an alarm due now would wait a whole day.
    if (note != nullptr && m_checkedMinute >= 0 && m_checkedMinute == CurrentUtcMinute())
        note->CheckAlarms();
}

void PLogic::OnAllRead()
{
    // Rescued notes come after the others, as they always did, and only once every name
    // in the folder is known to be taken.
    BringBackRescued();
    if (m_findNotes)
        m_findNotes->OnAllNotesRead();
    StartWatching();
}

void PLogic::SaveChangedNotes()
{
    bool folderMade = false;
    for (auto& note : m_notes) {
        if (!note->IsTextLoaded() || !note->HasUnsavedChanges())
            continue;
        if (!folderMade)
            MakeNotesFolder();
        folderMade = true;
        OnSaveResult(note.get(), SaveNote(note.get()));
    }
    SaveOptions();
}

void PLogic::SetDefaultLook(const NoteLook& look)
{
    m_defaultLook = look;
    SaveSettings();
}

void PLogic::SaveAllNotes()
{
    // Only what changed: a note shown and hidden unchanged keeps its file as it is, and a
    // folder-sync program has nothing to carry.
    MakeNotesFolder();
    // A copy made of a note changed on both sides joins the list while it is walked.
    std::vector<PNote*> notes;
    for (auto& note : m_notes)
        notes.push_back(note.get());
    for (PNote* note : notes)
        SaveNote(note);
    SaveOptions();
}

std::string PLogic::NextTitle()
{
    return NextTitleCandidate(fw::LoadResString(IDS_DEFAULT_TITLE), m_titleCounter, [this](const std::string& title) {
        return std::any_of(m_notes.begin(), m_notes.end(), [&](const auto& note) { return note->GetTitle() == title; });
    });
}

std::wstring PLogic::NextFilePath() const
{
    const SYSTEMTIME today = LocalTime();
    const std::wstring ext = L"." + fw::LoadResStringW(IDS_NOTE_EXT);
    const std::string stem = NoteFileStem(today.wYear, today.wMonth, today.wDay);
    const std::string name = NextFileCandidate(
        stem, [&](const std::string& candidate) { return IsFileNameTaken(WidenAscii(candidate) + ext); });
    return NotesFolder() + L"\\" + WidenAscii(name) + ext;
}

bool PLogic::IsFileNameTaken(const std::wstring& name, const std::wstring& comingBack) const
{
    const std::wstring path = NotesFolder() + L"\\" + name;
    const bool listed = std::any_of(m_notes.begin(), m_notes.end(), [&](const auto& note) {
        return ::lstrcmpiW(note->GetFilePath().c_str(), path.c_str()) == 0;
    });
    // A file that failed to load (damaged, or from a newer version) still holds
    // someone's note: never give its name to a new one.
    if (listed || fw::FileExists(path))
        return true;
    // Nor the name of a deleted note, which may come back under it, nor one whose earlier
    // versions are still kept: a new note would inherit them.
    return ::lstrcmpiW(name.c_str(), comingBack.c_str()) != 0 &&
           (PDeletedNotes(NotesFolder()).Holds(name) || PVersions(NotesFolder()).HasAny(name));
}
