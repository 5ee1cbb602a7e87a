#include "PNoteReader.h"

#include <vector>

namespace {

// A slice also ends after this long, for the timers that wait behind it (a note's
// clock, an alarm's flashing): they are not among what the queue's status tells.
constexpr DWORD kSliceMs = 40;

// Anything the user or another program is waiting on: input, a posted or sent message,
// a window to paint. Timers are left out: the reader's own is always due again.
bool SomethingWaits()
{
    const DWORD waiting = HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT | QS_HOTKEY));
    return waiting != 0;
}

} // namespace

bool PNoteReader::Begin(HWND owner, UINT_PTR timerId, const std::wstring& folder, const std::wstring& pattern,
                        const ReadOne& readOne)
{
    Stop();
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                paths.push_back(folder + L"\\" + found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    m_files.Begin(std::move(paths));
    if (!m_files.IsReading())
        return false;
    m_owner = owner;
    m_timerId = timerId;
    // The smallest period there is: a timer comes only when the queue is otherwise empty.
    if (::SetTimer(m_owner, m_timerId, USER_TIMER_MINIMUM, nullptr) != 0)
        return true;
    m_owner = nullptr;
    ReadRest(readOne);
    return false;
}

bool PNoteReader::ReadSlice(const ReadOne& readOne)
{
    const DWORD start = ::GetTickCount();
    const bool last =
        m_files.ReadSlice(readOne, [start] { return SomethingWaits() || ::GetTickCount() - start >= kSliceMs; });
    if (last)
        KillTimer();
    return last;
}

bool PNoteReader::ReadRest(const ReadOne& readOne)
{
    const bool last = m_files.ReadSlice(readOne, [] { return false; });
    if (last)
        KillTimer();
    return last;
}

void PNoteReader::Stop()
{
    m_files.End();
    KillTimer();
}

void PNoteReader::KillTimer()
{
    if (m_owner != nullptr)
        ::KillTimer(m_owner, m_timerId);
    m_owner = nullptr;
}
