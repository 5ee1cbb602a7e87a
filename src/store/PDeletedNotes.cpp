#include "PDeletedNotes.h"

#include "PVersions.h"
#include "../core/Naming.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Handle.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <algorithm>

namespace {

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Files keep UTC; the store's clock and the menu speak local time.
bool FileTimeFromLocal(const SYSTEMTIME& local, FILETIME& file)
{
    SYSTEMTIME utc;
    return ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && ::SystemTimeToFileTime(&utc, &file);
}

SYSTEMTIME LocalFromTicks(ULONGLONG ticks)
{
    FILETIME file;
    file.dwLowDateTime = static_cast<DWORD>(ticks);
    file.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME utc = {}, local = {};
    if (::FileTimeToSystemTime(&file, &utc))
        ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

} // namespace

PDeletedNotes::PDeletedNotes(const std::wstring& notesFolder)
    : m_notesFolder(notesFolder), m_folder(notesFolder + L"\\" + fw::LoadResStringW(IDS_DELETED_FOLDER))
{
}

bool PDeletedNotes::Holds(const std::wstring& fileName) const
{
    return fw::FileExists(m_folder + L"\\" + fileName);
}

bool PDeletedNotes::MoveIn(const std::wstring& path, const SYSTEMTIME& deletedAt, const std::wstring& asName) const
{
    fw::MakeFolder(m_folder);
    const std::wstring own = asName.empty() ? FileNameOfPath(path) : asName;
    const std::wstring name = FreeFileName(own, [this](const std::wstring& candidate) {
        return Holds(candidate);
    });
    const std::wstring target = m_folder + L"\\" + name;
    // Never over another file: a name taken meanwhile fails the move instead.
    if (!::MoveFileW(path.c_str(), target.c_str()))
        return false;
    // The list of deleted notes goes by this time. A file that keeps its old time is
    // still deleted, only listed as older.
    FILETIME when;
    fw::Handle file(::CreateFileW(target.c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsValid() && FileTimeFromLocal(deletedAt, when))
        ::SetFileTime(file.Get(), nullptr, nullptr, &when);
    return true;
}

std::vector<PDeletedNotes::Found> PDeletedNotes::ListNewestFirst() const
{
    std::vector<Found> found;
    const std::wstring pattern = m_folder + L"\\*." + fw::LoadResStringW(IDS_NOTE_EXT);
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            found.push_back({data.cFileName, Ticks(data.ftLastWriteTime)});
    } while (::FindNextFileW(search, &data));
    ::FindClose(search);
    // Ties go by name, so that the list and what is kept do not change between looks.
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.written != b.written ? a.written > b.written : a.name < b.name;
    });
    return found;
}

std::vector<PDeletedNotes::Entry> PDeletedNotes::NewestFirst(std::size_t count) const
{
    const std::vector<Found> found = ListNewestFirst();
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < found.size() && i < count; ++i)
        entries.push_back({m_folder + L"\\" + found[i].name, LocalFromTicks(found[i].written)});
    return entries;
}

std::vector<std::wstring> PDeletedNotes::KeepNewest(std::size_t count) const
{
    const std::vector<Found> found = ListNewestFirst();
    std::vector<std::wstring> removed;
    for (std::size_t i = count; i < found.size(); ++i) {
        if (!::DeleteFileW((m_folder + L"\\" + found[i].name).c_str()))
            continue;
        PVersions(m_notesFolder).RemoveAll(found[i].name);
        removed.push_back(found[i].name);
    }
    return removed;
}
