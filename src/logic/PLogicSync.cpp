// The logic window and a notes folder that a folder-sync program keeps in step with
// another computer's: files it brings are taken, and nothing typed on either side is
// written over.
#include "PLogic.h"

#include "../store/PDeletedNotes.h"
#include "../store/PFolderWatch.h"
#include "../store/PNote.h"
#include "../store/PVersions.h"
#include "../note/PinvelWnd.h"
#include "../tray/PSysTray.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? std::wstring(name, size) : std::wstring();
}

// A copy made of a note stands this far from it, so both are seen.
constexpr int kCopyOffset = 30;

} // namespace

void PLogic::StartWatching()
{
    m_watch.Start(NotesFolder(), L"*." + fw::LoadResStringW(IDS_NOTE_EXT));
    ::SetTimer(m_hWnd, kWatchTimer, kWatchPeriodMs, nullptr);
}

PNote* PLogic::NoteOfFile(const std::wstring& key) const
{
    for (const auto& note : m_notes) {
        if (FoldedName(FileNameOfPath(note->GetFilePath())) == key)
            return note.get();
    }
    return nullptr;
}

void PLogic::OnWatchTimer()
{
    const std::uint64_t now = PFolderWatch::Now();
    // Notes not read yet would look like files new to the folder.
    if (m_reader.IsReading() || m_ending || !m_watch.WantsListing(now))
        return;
    SettlingFiles& settling = m_watch.Settling();
    std::map<std::wstring, PFolderWatch::Entry> files;
    // A folder that is away (a share reconnecting, a stick taken out) is not an empty one:
    // nothing is known of its files, so no note goes.
    if (!m_watch.List(files)) {
        m_watchLost = true;
        return;
    }
    // Back after it was away: the system's notification was for the folder that went.
    if (m_watchLost) {
        m_watchLost = false;
        m_watch.Start(NotesFolder(), L"*." + fw::LoadResStringW(IDS_NOTE_EXT));
    }
    std::set<std::wstring> held;
    for (const auto& note : m_notes) {
        const std::wstring key = FoldedName(FileNameOfPath(note->GetFilePath()));
        held.insert(key);
        const auto found = files.find(key);
        const FileState state = found != files.end() ? found->second.state : FileState();
        // A note never saved holds no file: nothing of it is gone.
        if (state == note->HeldFile() || m_watch.IsIgnored(key, state))
            settling.Drop(key);
        else
            settling.Saw(key, state, now);
    }
    for (const auto& [key, entry] : files) {
        if (held.count(key) != 0)
            continue;
        if (m_watch.IsIgnored(key, entry.state))
            settling.Drop(key);
        else
            settling.Saw(key, entry.state, now);
    }
    const std::wstring optionsKey = L"\n" + FoldedName(FileNameOfPath(m_options.Path()));
    const FileState options = FileStateOf(m_options.Path());
    if (options == m_options.HeldFile())
        settling.Drop(optionsKey);
    else
        settling.Saw(optionsKey, options, now);

    std::vector<std::wstring> settled = settling.TakeSettled(now);
    // Notes whose file went come first: the same file under a new name is theirs, not a
    // note of its own.
    std::stable_partition(settled.begin(), settled.end(),
                          [&](const std::wstring& key) { return held.count(key) != 0 && files.count(key) == 0; });
    for (const std::wstring& key : settled) {
        if (key == optionsKey)
            TakeSideFile();
        else
            SyncFile(key, files, now);
    }
}

bool PLogic::IsNoteBusy(PNote* note) const
{
    PinvelWnd* window = FindNoteWindow(note);
    if (window == nullptr)
        return false;
    // A captured mouse is a drag: of a window, of its size, or of text (the tracker of an
    // OLE drag is a window of this thread, but none of the note's).
    return window->IsInModalLoop() || ::GetCapture() != nullptr;
}

std::wstring PLogic::RenamedFrom(PNote* note, const std::map<std::wstring, PFolderWatch::Entry>& files)
{
    const FileState& held = note->HeldFile();
    if (!held.exists)
        return std::wstring();
    for (const auto& [key, entry] : files) {
        if (entry.state.size != held.size || NoteOfFile(key) != nullptr)
            continue;
        std::string bytes;
        std::uint64_t digest = 0;
        if (fw::ReadWholeFile(NotesFolder() + L"\\" + entry.name, bytes, PNote::MaxFileBytes()) &&
            NoteDigest(bytes, digest) && digest == note->HeldDigest())
            return key;
    }
    return std::wstring();
}

void PLogic::SyncFile(const std::wstring& key, const std::map<std::wstring, PFolderWatch::Entry>& files,
                      std::uint64_t now)
{
    PNote* note = NoteOfFile(key);
    const std::wstring path = note != nullptr ? note->GetFilePath() : NotesFolder() + L"\\" + key;
    std::string bytes;
    const FileState state = FileStateOf(path);
    // One being written again, or held open: looked at once it settles again.
    if (state.exists && !fw::ReadWholeFile(path, bytes, PNote::MaxFileBytes()))
        return;
    SyncFacts facts;
    facts.held = note != nullptr;
    facts.there = state.exists;
    std::uint64_t digest = 0;
    facts.decodes = state.exists && NoteDigest(bytes, digest);
    facts.same = facts.decodes && note != nullptr && note->HeldFile().exists && digest == note->HeldDigest();
    facts.changedHere = note != nullptr && note->IsTextLoaded() && note->ChangedHere();
    facts.busy = note != nullptr && IsNoteBusy(note);
    facts.open = note != nullptr && !IsHidden(note);
    const std::wstring renamed = note != nullptr && !state.exists ? RenamedFrom(note, files) : std::wstring();
    facts.renamed = !renamed.empty();
    switch (DecideSyncStep(facts)) {
    case SyncStep::Nothing:
        if (note != nullptr)
            note->SetHeldFile(state);
        else
            m_watch.Unignore(key);
        return;
    case SyncStep::TakeTheirs:
        TakeTheirs(note);
        return;
    case SyncStep::KeepBoth:
        KeepBoth(note);
        return;
    case SyncStep::LoadNew: {
        // As the folder spells it: the tray tells a sync program's copies by their names.
        const std::wstring name = SpelledName(path);
        if (!name.empty())
            ReadNote(NotesFolder() + L"\\" + name);
        if (NoteOfFile(key) == nullptr)
            m_watch.Ignore(key, state);
        return;
    }
    case SyncStep::LeaveList:
        LeaveList(note);
        return;
    case SyncStep::SaveAgain:
        OnSaveResult(note, note->Save());
        return;
    case SyncStep::FollowRename:
        FollowRename(note, files.at(renamed));
        return;
    case SyncStep::LeaveAlone:
        // Looked at again once it changes. Typing here stays in the note, which writes
        // nothing over the file meanwhile, and the user hears of it once.
        m_watch.Ignore(key, state);
        if (note != nullptr && facts.changedHere) {
            note->RefuseSave(PNote::kArrivedDamaged);
            OnSaveResult(note, false);
        }
        return;
    case SyncStep::Wait:
        m_watch.Settling().Saw(key, state, now);
        return;
    }
}

void PLogic::FollowRename(PNote* note, const PFolderWatch::Entry& to)
{
    const std::wstring from = FileNameOfPath(note->GetFilePath());
    note->SetFilePath(NotesFolder() + L"\\" + to.name);
    note->SetHeldFile(to.state);
    m_options.Rename(from, to.name);
    PVersions(NotesFolder()).Rename(from, to.name);
    m_watch.Settling().Drop(FoldedName(to.name));
    SaveOptionsSoon();
}

void PLogic::RetryUnreadable()
{
    // Every third tick of the one-second timer: a sync program holds a file for moments.
    constexpr int kRetryTicks = 3;
    if (++m_retryTick < kRetryTicks)
        return;
    m_retryTick = 0;
    for (const auto& window : m_windows) {
        PNote* note = window->GetNote();
        if (note->GetTrouble() == PNote::Trouble::Unreadable && !note->IsTextLoaded())
            note->Load(false, true);
    }
}

bool PLogic::MakeNotesFolder()
{
    const std::wstring folder = NotesFolder();
    if (m_notesFolderMade && !fw::FileExists(folder))
        return false;
    m_notesFolderMade = fw::MakeFolder(folder);
    return m_notesFolderMade;
}

void PLogic::TakeTheirs(PNote* note)
{
    // The note stays where the user put it on this screen.
    if (!note->TakeFile())
        return;
    note->m_options = m_options.Of(FileNameOfPath(note->GetFilePath()));
}

void PLogic::KeepBoth(PNote* note)
{
    const SYSTEMTIME now = LocalTime();
    const std::string title =
        fw::Format(fw::LoadResString(IDS_SYNC_CONFLICT_TITLE).c_str(), note->GetTitle().c_str(),
                   fw::TextFromWideKeepingAll(ComputerName()).c_str(), now.wMonth, now.wDay, now.wHour, now.wMinute);
    NoteRect beside = note->m_look.rect;
    beside.left += kCopyOffset;
    beside.top += kCopyOffset;
    beside.right += kCopyOffset;
    beside.bottom += kCopyOffset;
    // What was typed here goes first to a file of its own; until that is written the note
    // keeps it, and the file is looked at again once it settles.
    MakeNotesFolder();
    const std::wstring path = NextFilePath();
    if (!note->WriteCopyAs(path, title, beside)) {
        note->RefuseSave(::GetLastError());
        OnSaveResult(note, false);
        return;
    }
    PNote* copy = LoadNote(path);
    const bool shown = !IsHidden(note);
    TakeTheirs(note);
    if (copy != nullptr && shown && !m_ending)
        ShowNote(copy);
}

void PLogic::LeaveList(PNote* note)
{
    // Deleted on the other computer, its file came into the deleted notes with the rest of
    // the folder. Removed some other way, the text this program holds goes there.
    const std::wstring name = FileNameOfPath(note->GetFilePath());
    PDeletedNotes deleted(NotesFolder());
    if (note->IsTextLoaded() && !deleted.Holds(name)) {
        const std::wstring aside = NotesFolder() + L"\\~" + name + L".tmp";
        if (!note->WriteCopy(aside) || !deleted.MoveIn(aside, LocalTime(), name)) {
            ::DeleteFileW(aside.c_str());
            return;
        }
    }
    DropNote(note);
}

void PLogic::TakeSideFile()
{
    const SideFileMerge merge = m_options.TakeFromDisk();
    for (const std::string& name : merge.notesTaken) {
        const std::wstring key = FoldedName(fw::WideFromBytes(CP_UTF8, name));
        PNote* note = NoteOfFile(key);
        if (note == nullptr)
            continue;
        note->m_options = m_options.Of(FileNameOfPath(note->GetFilePath()));
        if (PinvelWnd* window = FindNoteWindow(note)) {
            window->ApplyLevel();
            window->ApplyOpacity();
            window->ZoomEditor();
            window->ApplyLock();
        } else {
            note->ApplyReadOnly();
        }
    }
    if (merge.hotkeysTaken && m_tray)
        m_tray->RegisterHotkeys();
    if (merge.languageTaken)
        ApplyLanguage();
}

bool PLogic::SaveNote(PNote* note)
{
    if (!note->IsTextLoaded() || !note->HasUnsavedChanges())
        return true;
    // About to write over a file another computer changed since it was read here: what
    // each side has is kept.
    const FileState state = FileStateOf(note->GetFilePath());
    if (state.exists && state != note->HeldFile()) {
        std::string bytes;
        std::uint64_t digest = 0;
        if (fw::ReadWholeFile(note->GetFilePath(), bytes, PNote::MaxFileBytes())) {
            // Half arrived: written over, the other computer's note would be lost for good.
            if (!NoteDigest(bytes, digest)) {
                note->RefuseSave(PNote::kArrivedDamaged);
                return false;
            }
            if (!note->HeldFile().exists || digest != note->HeldDigest()) {
                // Under a dialog of the note, it is done once the dialog is closed.
                if (IsNoteBusy(note))
                    return true;
                if (!note->ChangedHere()) {
                    // Only moved here: the note takes the file and keeps its place.
                    TakeTheirs(note);
                    return true;
                }
                KeepBoth(note);
                return !note->HasUnsavedChanges();
            }
        }
    }
    return note->Save();
}

void PLogic::SaveOptions()
{
    if (m_options.Path().empty())
        return;
    if (FileStateOf(m_options.Path()) != m_options.HeldFile())
        TakeSideFile();
    if (m_options.HasChanges()) {
        MakeNotesFolder();
        m_options.SaveIfChanged();
    }
}
