// The tray's recently deleted notes.
#include "PSysTray.h"

#include "../core/NoteFile.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../store/PDeletedNotes.h"
#include "../text/PIconMenu.h"

namespace {

// Enough for the fields of any note file whose title and user name are of a sane length.
constexpr std::size_t kHeaderBytes = 16 * 1024;

// The note's title as its file holds it; the file name for a file that is no note.
std::string TitleOf(const std::wstring& path)
{
    std::string header;
    NoteFields fields;
    std::size_t textOffset = 0;
    if (fw::ReadFileStart(path, header, kHeaderBytes) && DecodeNoteFields(header, fields, textOffset))
        return fields.title;
    return fw::TextFromWide(FileNameOfPath(path));
}

// "笔记 3  12/7 16:05"
std::string EntryText(const PDeletedNotes::Entry& entry)
{
    const SYSTEMTIME& t = entry.deleted;
    return EscapeMenuAmpersands(TitleOf(entry.path)) +
           fw::Format("  %d/%d %02d:%02d", t.wMonth, t.wDay, t.wHour, t.wMinute);
}

} // namespace

void PSysTray::FillDeleted(PIconMenu& deleted)
{
    m_deletedEntries.clear();
    const auto entries =
        PDeletedNotes(m_host->NotesFolder()).NewestFirst(kLastDeletedCommand - kFirstDeletedCommand + 1);
    if (!entries.empty())
        ::DeleteMenu(deleted.GetHandle(), ID_TRAY_NO_DELETED, MF_BYCOMMAND);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        deleted.AppendIconItem(MF_STRING, kFirstDeletedCommand + i, EntryText(entries[i]).c_str());
        m_deletedEntries.push_back(entries[i].path);
    }
}

void PSysTray::OnDeletedEntry(UINT command)
{
    const std::size_t index = command - kFirstDeletedCommand;
    if (index >= m_deletedEntries.size())
        return;
    // Restored once: a second choice of the same entry finds no file and does nothing.
    m_host->RestoreDeletedNote(m_deletedEntries[index]);
}
