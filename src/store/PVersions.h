#pragma once
#include "../core/Versions.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The folder "历史" inside the notes folder: before a save replaces a note's file, the
// old file goes here, named after the note and the moment. Its files are never loaded
// as notes, and a note name that has versions here is not given to a new note.
class PVersions {
public:
    // Never more than this of versions per note.
    static constexpr std::uint64_t kMaxBytesPerNote = 5u * 1024 * 1024;

    struct Entry {
        std::wstring path;
        VersionStamp when;
        std::uint64_t bytes;
    };

    explicit PVersions(const std::wstring& notesFolder);

    // Keeps bytes (the file about to be replaced) as a version of the note, then prunes
    // the note's versions by the rule of VersionsToKeep.
    bool Add(const std::wstring& notePath, const std::string& bytes, const SYSTEMTIME& now) const;
    // The note's versions, newest first.
    std::vector<Entry> Of(const std::wstring& noteFileName) const;
    bool HasAny(const std::wstring& noteFileName) const;
    // The versions follow a note that comes back under another name.
    void Rename(const std::wstring& oldFileName, const std::wstring& newFileName) const;
    // For a deleted note that is removed for good.
    void RemoveAll(const std::wstring& noteFileName) const;

private:
    void Prune(const std::wstring& noteFileName, const SYSTEMTIME& now) const;

    std::wstring m_folder;
};
