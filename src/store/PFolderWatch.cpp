#include "PFolderWatch.h"

#include "../framework/File.h"

namespace {

// Listed this often even when the system says nothing changed: a folder on a share, or
// one whose notification could not be had, tells nothing at all.
constexpr std::uint64_t kListAnywayMs = 30000;

std::uint64_t Written(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FileState StateOf(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& written)
{
    FileState state;
    state.exists = (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    state.size = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
    state.written = Written(written);
    return state;
}

} // namespace

FileState FileStateOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(fw::LongPath(path).c_str(), GetFileExInfoStandard, &data))
        return FileState();
    return StateOf(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

std::wstring FoldedName(const std::wstring& name)
{
    std::wstring folded = name;
    if (!folded.empty())
        ::CharLowerBuffW(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

std::uint64_t PFolderWatch::Now()
{
    static std::uint64_t high = 0;
    static DWORD last = 0;
    const DWORD tick = ::GetTickCount();
    if (tick < last)
        high += std::uint64_t(1) << 32;
    last = tick;
    return high | tick;
}

std::wstring SpelledName(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(fw::LongPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::wstring();
    ::FindClose(search);
    return found.cFileName;
}

void PFolderWatch::Start(const std::wstring& folder, const std::wstring& pattern)
{
    Stop();
    m_folder = folder;
    m_pattern = pattern;
    m_change = ::FindFirstChangeNotificationW(
        fw::LongPath(folder).c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    m_lastListed = Now();
}

void PFolderWatch::Stop()
{
    if (m_change != INVALID_HANDLE_VALUE)
        ::FindCloseChangeNotification(m_change);
    m_change = INVALID_HANDLE_VALUE;
    m_folder.clear();
}

bool PFolderWatch::WantsListing(std::uint64_t nowMs)
{
    if (!IsWatching())
        return false;
    bool changed = !m_settling.IsEmpty() || nowMs - m_lastListed >= kListAnywayMs;
    // Every change that came since is in the one listing that follows.
    while (m_change != INVALID_HANDLE_VALUE && ::WaitForSingleObject(m_change, 0) == WAIT_OBJECT_0) {
        changed = true;
        if (!::FindNextChangeNotification(m_change)) {
            ::FindCloseChangeNotification(m_change);
            m_change = INVALID_HANDLE_VALUE;
        }
    }
    if (changed)
        m_lastListed = nowMs;
    return changed;
}

bool PFolderWatch::List(std::map<std::wstring, Entry>& files) const
{
    std::map<std::wstring, Entry> listed;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(fw::LongPath(m_folder + L"\\" + m_pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND)
            return false;
        files.swap(listed);
        return true;
    }
    do {
        const FileState state = StateOf(found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow,
                                        found.ftLastWriteTime);
        if (state.exists)
            listed[FoldedName(found.cFileName)] = Entry{found.cFileName, state};
    } while (::FindNextFileW(search, &found));
    // A listing cut off halfway would make the rest of the notes look gone.
    const bool whole = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(search);
    if (whole)
        files.swap(listed);
    return whole;
}

bool PFolderWatch::IsIgnored(const std::wstring& key, const FileState& state) const
{
    const auto found = m_ignored.find(key);
    return found != m_ignored.end() && found->second == state;
}
