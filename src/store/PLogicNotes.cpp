// The logic window's note list: making, loading, saving, naming and deleting notes.
#include "PLogic.h"

#include "PNote.h"
#include "../core/Naming.h"
#include "../core/Placement.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <algorithm>

namespace {

SYSTEMTIME SystemLocalTime()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
}

PLogic::LocalTimeSource g_localTimeSource = &SystemLocalTime;

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

void PLogic::SetLocalTimeSource(LocalTimeSource source)
{
    g_localTimeSource = source != nullptr ? source : &SystemLocalTime;
}

std::string PLogic::NotesFolder() const
{
    return m_folder + fw::LoadResString(IDS_NOTES_FOLDER);
}

PNote* PLogic::NewNote()
{
    auto note = std::make_unique<PNote>();
    note->CreateEditor();
    note->m_look = GetNewNoteLook();
    // The note is not listed yet, so its own default title does not count as taken.
    note->SetTitle(NextTitle());
    note->SetFilePath(NextFilePath());
    m_notes.push_back(std::move(note));
    return m_notes.back().get();
}

PNote* PLogic::LoadNote(const std::string& path)
{
    auto note = std::make_unique<PNote>();
    note->CreateEditor();
    note->SetFilePath(path);
    if (!note->Load(true, false))
        return nullptr;
    m_notes.push_back(std::move(note));
    return m_notes.back().get();
}

void PLogic::DeleteNote(PNote* note)
{
    auto it = std::find_if(m_notes.begin(), m_notes.end(), [note](const auto& p) { return p.get() == note; });
    if (it == m_notes.end())
        return;
    ::DeleteFileA(note->GetFilePath().c_str());
    m_notes.erase(it);
}

void PLogic::NotifyNoteChanged(PNote*)
{
    // Only a note's open window shows its record; a hidden note has nothing to refresh.
}

NoteLook PLogic::GetNewNoteLook() const
{
    RECT work = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SYSTEMTIME utc;
    ::GetSystemTime(&utc);
    NoteLook look = m_defaultLook;
    look.rect = RandomNoteRect(work.right - work.left, work.bottom - work.top, utc.wMilliseconds);
    return look;
}

void PLogic::LoadAllNotes()
{
    const std::string folder = NotesFolder();
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string pattern = folder + "\\*." + fw::LoadResString(IDS_NOTE_EXT);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            LoadNote(folder + "\\" + found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

void PLogic::SaveAllNotes()
{
    ::CreateDirectoryA(NotesFolder().c_str(), nullptr);
    for (auto& note : m_notes)
        note->Save();
}

std::string PLogic::NextTitle()
{
    return NextTitleCandidate(fw::LoadResString(IDS_DEFAULT_TITLE), m_titleCounter, [this](const std::string& title) {
        return std::any_of(m_notes.begin(), m_notes.end(), [&](const auto& note) { return note->GetTitle() == title; });
    });
}

std::string PLogic::NextFilePath() const
{
    const SYSTEMTIME today = g_localTimeSource();
    const std::string folder = NotesFolder() + "\\";
    const std::string ext = "." + fw::LoadResString(IDS_NOTE_EXT);
    const std::string stem = NoteFileStem(today.wYear, today.wMonth, today.wDay);
    const std::string name = NextFileCandidate(stem, [&](const std::string& candidate) {
        const bool listed = std::any_of(m_notes.begin(), m_notes.end(), [&](const auto& note) {
            return note->GetFilePath().find(candidate) != std::string::npos;
        });
        // A file that failed to load (damaged, or from a newer version) still holds
        // someone's note: never give its name to a new one.
        return listed || FileExists(folder + candidate + ext);
    });
    return folder + name + ext;
}
