// The logic window and a notes folder that a folder-sync program keeps in step with
// another computer's: files it brings are taken, and nothing typed on either side is
// written over.
#include "PLogic.h"

#include "PDeletedNotes.h"
#include "PFolderWatch.h"
#include "PNote.h"
#include "../note/PinvelWnd.h"
#include "../tray/PSysTray.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <algorithm>
#include <map>

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
    std::map<std::wstring, PFolderWatch::Entry> files = m_watch.List();
    for (const auto& note : m_notes) {
        const std::wstring key = FoldedName(FileNameOfPath(note->GetFilePath()));
        const auto found = files.find(key);
        const FileState state = found != files.end() ? found->second.state : FileState();
        // A note never saved holds no file: nothing of it is gone.
        if (state == note->HeldFile())
            settling.Drop(key);
        else
            settling.Saw(key, state, now);
        if (found != files.end())
            files.erase(found);
    }
    for (const auto& [key, entry] : files) {
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

    for (const std::wstring& key : settling.TakeSettled(now)) {
        if (key == optionsKey)
            TakeSideFile();
        else
            SyncFile(key);
    }
}

void PLogic::SyncFile(const std::wstring& key)
{
    PNote* note = NoteOfFile(key);
    const std::wstring path = note != nullptr ? note->GetFilePath() : NotesFolder() + L"\\" + key;
    std::string bytes;
    const FileState state = FileStateOf(path);
    // One being written again, or held open: looked at once it settles again.
    if (state.exists && !fw::ReadWholeFile(path, bytes, PNote::MaxFileBytes()))
        return;
    const bool changedHere = note != nullptr && note->IsTextLoaded() && note->HasUnsavedChanges();
    const bool same = note != nullptr && state.exists && note->HeldFile().exists &&
                      ContentDigest(bytes) == note->HeldDigest();
    switch (DecideSyncStep(note != nullptr, state.exists, same, changedHere)) {
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
    }
}

void PLogic::TakeTheirs(PNote* note)
{
    // The record takes the file's place too; an open window stays where the user put it.
    if (!note->Load(true, note->IsTextLoaded()))
        return;
    note->m_options = m_options.Of(FileNameOfPath(note->GetFilePath()));
}

void PLogic::KeepBoth(PNote* note)
{
    const SYSTEMTIME now = LocalTime();
    const std::string title =
        fw::Format(fw::LoadResString(IDS_SYNC_CONFLICT_TITLE).c_str(), note->GetTitle().c_str(),
                   fw::TextFromWide(ComputerName()).c_str(), now.wMonth, now.wDay, now.wHour, now.wMinute);
    NoteRect beside = note->m_look.rect;
    beside.left += kCopyOffset;
    beside.top += kCopyOffset;
    beside.right += kCopyOffset;
    beside.bottom += kCopyOffset;
    // What was typed here goes first to a file of its own; until that is written the note
    // keeps it, and the file is looked at again once it settles.
    fw::MakeFolder(NotesFolder());
    const std::wstring path = NextFilePath();
    if (!note->WriteCopyAs(path, title, beside)) {
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
        }
    }
    if (merge.hotkeysTaken && m_tray)
        m_tray->RegisterHotkeys();
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
        if (fw::ReadWholeFile(note->GetFilePath(), bytes, PNote::MaxFileBytes()) &&
            (!note->HeldFile().exists || ContentDigest(bytes) != note->HeldDigest())) {
            KeepBoth(note);
            return !note->HasUnsavedChanges();
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
        fw::MakeFolder(NotesFolder());
        m_options.SaveIfChanged();
    }
}
