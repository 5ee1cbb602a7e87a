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

    // The UTC clock versions are named by; tests replace it (nullptr: the system's).
    using UtcSource = SYSTEMTIME (*)();
    static void SetUtcSource(UtcSource source);
    static SYSTEMTIME UtcNow();

    struct Entry {
        std::wstring path;
        VersionStamp when;  // as named
        SYSTEMTIME shown;   // the moment on the local clock, for the menu
        VersionFacts facts; // its UTC moment, its day and its bytes
    };

    explicit PVersions(const std::wstring& notesFolder);

    // Keeps bytes (the file about to be replaced) as a version of the note, named by the
    // UTC clock, then prunes the note's versions by the rule of VersionsToKeep.
    bool Add(const std::wstring& notePath, const std::string& bytes) const;
    // The note's versions, newest first.
    std::vector<Entry> Of(const std::wstring& noteFileName) const;
    bool HasAny(const std::wstring& noteFileName) const;
    // The versions follow a note that comes back under another name.
    void Rename(const std::wstring& oldFileName, const std::wstring& newFileName) const;
    // For a deleted note that is removed for good.
    void RemoveAll(const std::wstring& noteFileName) const;

private:
    void Prune(const std::wstring& noteFileName, const std::wstring& freshPath) const;

    std::wstring m_folder;
};
