#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// The folder "已删除" inside the notes folder, where deleted notes wait to be restored.
// Its files are never loaded as notes.
class PDeletedNotes {
public:
    // Older ones are removed for good at start.
    static constexpr std::size_t kKept = 100;

    struct Entry {
        std::wstring path;
        // The moment the note was deleted: the file's last-write time, in local time.
        SYSTEMTIME deleted;
    };

    explicit PDeletedNotes(const std::wstring& notesFolder);

    // True when a deleted note has this file name.
    bool Holds(const std::wstring& fileName) const;
    // Moves a note file in under its own name or the next free numbered one, and stamps
    // it with the local time it was deleted at. False when it cannot be moved: the file
    // then stays where it was.
    // A file written aside for the purpose comes in under the note's name, asName.
    bool MoveIn(const std::wstring& path, const SYSTEMTIME& deletedAt, const std::wstring& asName = std::wstring()) const;
    // The deleted notes, newest first; at most count.
    std::vector<Entry> NewestFirst(std::size_t count) const;
    // Removes all but the newest count deleted notes for good, with their versions; the
    // names of those removed.
    std::vector<std::wstring> KeepNewest(std::size_t count) const;

private:
    struct Found {
        std::wstring name;
        ULONGLONG written;
    };
    std::vector<Found> ListNewestFirst() const;

    std::wstring m_notesFolder;
    std::wstring m_folder;
};
