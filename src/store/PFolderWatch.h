#pragma once
#include "../core/FolderSync.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

// A file's state as the folder listing tells it; not there when it cannot be had.
FileState FileStateOf(const std::wstring& path);
// A file name as the file system compares it, for keys: without letter case.
std::wstring FoldedName(const std::wstring& name);
// The name of the file at path as its folder spells it; empty when there is none.
std::wstring SpelledName(const std::wstring& path);

// Watches the notes folder while the program runs, for the files a folder-sync program
// (or a person) creates, changes and removes there. No thread of its own: the system's
// change notification is looked at from the logic window's timer, and the folder is
// listed only when it says something changed, while files settle, and now and then for
// folders whose system tells nothing (a share).
class PFolderWatch {
public:
    struct Entry {
        std::wstring name;
        FileState state;
    };

    PFolderWatch() = default;
    ~PFolderWatch() { Stop(); }
    PFolderWatch(const PFolderWatch&) = delete;
    PFolderWatch& operator=(const PFolderWatch&) = delete;

    // Milliseconds that only go forward, past the 49 days of the system's tick count too
    // (the program also runs on systems without its 64-bit form).
    static std::uint64_t Now();

    void Start(const std::wstring& folder, const std::wstring& pattern);
    void Stop();
    bool IsWatching() const { return !m_folder.empty(); }

    // Whether the folder is to be listed at this moment.
    bool WantsListing(std::uint64_t nowMs);
    // The files the pattern finds, by FoldedName. False, and files unchanged, when the
    // folder cannot be listed whole: only "no such file" means there are none.
    bool List(std::map<std::wstring, Entry>& files) const;
    SettlingFiles& Settling() { return m_settling; }

    // A file that did not load as a note (damaged, half written, another version), known
    // in this state: it is read again only once it changes.
    void Ignore(const std::wstring& key, const FileState& state) { m_ignored[key] = state; }
    bool IsIgnored(const std::wstring& key, const FileState& state) const;
    void Unignore(const std::wstring& key) { m_ignored.erase(key); }

private:
    std::wstring m_folder;
    std::wstring m_pattern;
    HANDLE m_change = INVALID_HANDLE_VALUE;
    std::uint64_t m_lastListed = 0;
    SettlingFiles m_settling;
    std::map<std::wstring, FileState> m_ignored;
};
