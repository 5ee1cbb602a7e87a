#pragma once
#include "../core/FolderSync.h"
#include "../core/NoteOptions.h"

#include <windows.h>

#include <string>

// The side file of the notes folder: each note's window settings, by its file name, and
// the program's hotkeys. Read once at start; a file that is missing or damaged is all
// defaults and never keeps a note from loading. Written whole, in one replacing step,
// a moment after a change, so a burst of zoom steps is one write.
class POptions {
public:
    // Reads the side file of the folder; the path is kept for every later save.
    void Load(const std::wstring& notesFolder);
    // Writes the file when something changed since it was read or written. False when it
    // could not be written; it stays changed and is tried again at the next save.
    bool SaveIfChanged();
    bool HasChanges() const { return m_changed; }
    // The file as last read or written here; in another state, another computer's copy
    // of the notes folder may have brought other entries.
    const FileState& HeldFile() const { return m_held; }
    // Takes the entries the file on disk changed later than this copy did, and what it
    // lacks is written back at the next save; the notes whose choices changed.
    SideFileMerge TakeFromDisk();
    std::wstring Path() const { return m_path; }

    NoteOptions Of(const std::wstring& noteFileName) const;
    // Keeps a note's choices, stamped with the moment, when they differ from what it has.
    void Set(const std::wstring& noteFileName, const NoteOptions& options);
    // A note restored under another name keeps its settings; one gone for good loses them.
    void Rename(const std::wstring& from, const std::wstring& to);
    void Forget(const std::wstring& noteFileName);

    const HotkeyOptions& Hotkeys() const { return m_file.hotkeys; }
    void SetHotkeys(const HotkeyOptions& hotkeys);
    LanguageChoice Language() const { return m_file.program.language; }
    void SetLanguage(LanguageChoice choice);

    // Seconds of UTC from 2000, the stamp of a change.
    static std::int64_t Now();

private:
    std::wstring m_path;
    SideFile m_file;
    bool m_changed = false;
    FileState m_held;
    std::uint64_t m_heldDigest = 0;

    void Hold(const std::string& bytes);
};
