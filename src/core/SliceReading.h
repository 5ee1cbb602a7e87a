#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The note files found at start, read a slice at a time between the loop's messages.
// Only their names are kept: the folder stays the one record of which notes there are.
class SliceReading {
public:
    void Begin(std::vector<std::wstring> paths)
    {
        m_paths = std::move(paths);
        m_next = 0;
    }
    bool IsReading() const { return m_next < m_paths.size(); }
    int Read() const { return static_cast<int>(m_next); }
    int Total() const { return static_cast<int>(m_paths.size()); }

    // Reads at least one file, so that a loop that is never idle still gets through the
    // folder, then stops as soon as giveWay says something else is waiting. True when
    // this slice read the last one.
    template <class ReadOne, class GiveWay>
    bool ReadSlice(ReadOne readOne, GiveWay giveWay)
    {
        if (!IsReading())
            return false;
        do {
            // Counted before it is read: reading may show a note, and what is shown may
            // ask how far reading has got.
            const std::wstring& path = m_paths[m_next++];
            readOne(path);
        } while (IsReading() && !giveWay());
        if (IsReading())
            return false;
        End();
        return true;
    }
    // Nothing more is read: everything is, or the program is ending.
    void End()
    {
        m_paths.clear();
        m_paths.shrink_to_fit();
        m_next = 0;
    }

private:
    std::vector<std::wstring> m_paths;
    std::size_t m_next = 0;
};
