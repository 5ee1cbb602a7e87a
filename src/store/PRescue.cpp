#include "PRescue.h"

#include "PNote.h"
#include "../core/Naming.h"
#include "../core/NoteFile.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <windows.h>

PRescue::PRescue(std::wstring folder) : m_folder(std::move(folder)) {}

bool PRescue::Keep(PNote& note) const
{
    if (m_folder.empty())
        return false;
    fw::MakeFolders(m_folder);
    const std::wstring name = FreeFileName(FileNameOfPath(note.GetFilePath()), [this](const std::wstring& candidate) {
        return fw::FileExists(m_folder + L"\\" + candidate);
    });
    return note.WriteCopy(m_folder + L"\\" + name);
}

std::vector<std::wstring> PRescue::Files() const
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((m_folder + L"\\*." + fw::LoadResStringW(IDS_NOTE_EXT)).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return files;
}

int PRescue::BringBack(const std::wstring& notesFolder, const std::function<bool(const std::wstring&)>& isTaken,
                       const std::function<bool(const std::wstring&)>& load) const
{
    int back = 0;
    for (const std::wstring& file : Files()) {
        const std::wstring from = m_folder + L"\\" + file;
        std::string bytes;
        if (!fw::ReadWholeFile(from, bytes, kMaxNoteFileBytes))
            continue;
        const std::wstring to = notesFolder + L"\\" + FreeFileName(file, isTaken);
        if (!fw::ReplaceFileContents(to, bytes))
            continue; // the notes folder cannot take it now: it waits for the next start
        if (!load(to)) {
            ::DeleteFileW(fw::LongPath(to).c_str());
            continue;
        }
        ::DeleteFileW(fw::LongPath(from).c_str());
        ++back;
    }
    return back;
}
