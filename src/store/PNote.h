#pragma once
#include "NoteListener.h"
#include "../core/AlarmSet.h"
#include "../core/DateTime.h"
#include "../core/FolderSync.h"
#include "../core/NoteFile.h"
#include "../core/NoteLook.h"
#include "../core/NoteOptions.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

class PDummyWnd;
class PRichEdit;

// The record of one note. Its text lives only in its rich-edit control and its file.
// A note that was never shown has no control, only its record; the control is made
// when the note is first shown and stays alive, hidden in an owner window, while the
// note has no window.
class PNote {
public:
    // What keeps a note from being saved, shown on its info line in place of its text.
    enum class Trouble {
        None,
        // Its text did not come into the editor whole: shown read-only, never written.
        CutShort,
        // Its file would be larger than the program reads back: the last good file stays.
        TooLarge,
        // Its file cannot be read now (held open by a sync program, not a whole note file):
        // shown read-only and empty, never written, and read again a moment later.
        Unreadable,
    };

    // Reads the local date and time alarms are due by and new notes are named by; tests
    // replace it.
    using LocalTimeSource = SYSTEMTIME (*)();

    // The listener hears of the note's changes and due alarms; without one (a note of a
    // test, or one read for a backup) nobody does.
    explicit PNote(NoteListener* listener = nullptr);
    virtual ~PNote();
    PNote(const PNote&) = delete;
    PNote& operator=(const PNote&) = delete;

    // Makes the hidden owner window (a child of the logic window) and the editor inside
    // it, once. False when either cannot be made (no room for more windows, no memory):
    // the note then stays without its text, and is not saved.
    bool CreateEditor();
    // The editor with the note's text in it, made and loaded on first use; null when
    // the editor cannot be made. A text that cannot be read leaves the editor empty and
    // the note unloaded, so its file is never written over.
    PRichEdit* OpenEditor();
    // Puts only the first paragraphs of a long text into the editor, read-only, the note
    // still unloaded; Load then brings the whole text. False, and nothing done, for a short
    // text or one that cannot be read or cut.
    bool LoadBeginning();
    // True from LoadBeginning until the whole text is loaded.
    bool IsTextComing() const { return m_textComing; }
    // Lends the editor to a note window (null: the desktop) and takes it back hidden.
    PRichEdit* AttachEditor(HWND noteWindow);
    void DetachEditor();
    PRichEdit* Editor() const { return m_edit.get(); }
    // The one rule of the editor's read-only state: read-only while the note is locked,
    // its text was cut short, or its text is not in yet. Applied again after every load.
    bool IsReadOnly() const;
    void ApplyReadOnly();

    void SetTitle(const std::string& title);
    std::string GetTitle() const { return m_title; }
    std::string GetUserName() const { return m_userName; }
    std::wstring GetFilePath() const { return m_filePath; }
    void SetFilePath(const std::wstring& path) { m_filePath = path; }
    // True once the note's text is in its editor: only such a note is ever written.
    bool IsTextLoaded() const { return m_textLoaded && m_edit != nullptr; }
    Trouble GetTrouble() const { return m_trouble; }
    // True from a failed save until the next one that works: the caption shows a mark.
    bool SaveFailed() const { return m_saveError != 0; }
    // A save refused because the file on disk came from elsewhere and is not whole yet:
    // an error code of the program's own (bit 29 set), never one of the system's.
    static constexpr DWORD kArrivedDamaged = 0x20000001;
    // Why the last save failed: a system error code (ERROR_FILE_TOO_LARGE for a note past
    // what the program reads back); 0 when it did not fail.
    DWORD SaveError() const { return m_saveError; }
    // Whether the user was told of the present failure; told once until a save works.
    bool FailureTold() const { return m_failureTold; }
    void SetFailureTold() { m_failureTold = true; }

    // Writes the note file. A note whose text was never loaded is not rewritten: its
    // file is the only copy of the text. False when the file cannot be written; the
    // previous file then stays as it was.
    bool Save();
    // True when the text or a stored field changed since the last load or save.
    bool HasUnsavedChanges() const;
    // The same, but for where the window sits: a note only moved is not changed as far as
    // another computer's copy of it goes.
    bool ChangedHere() const;
    // A save that was not made because the file on disk must not be written over now:
    // shown and told as a failed save, with why.
    void RefuseSave(DWORD why) { Failed(why); }
    // Saves a note whose text is loaded and that changed; true when nothing was lost.
    bool SaveIfChanged();
    // Writes the note's file, as a save would, to another path: a rescue copy or a
    // backup. The note stays as changed as it was.
    bool WriteCopy(const std::wstring& path);
    // The same, as another note: under another title and place.
    bool WriteCopyAs(const std::wstring& path, const std::string& title, const NoteRect& rect);

    // The note file as this program last read or wrote it: its state in the folder and its
    // NoteDigest. A file in another state, with another digest, is someone else's.
    const FileState& HeldFile() const { return m_heldFile; }
    std::uint64_t HeldDigest() const { return m_heldDigest; }
    // The file is as the note holds it, only touched or moved on another screen.
    void SetHeldFile(const FileState& state) { m_heldFile = state; }
    // Reads the note file: the stored fields when applyFields is set, the text when
    // loadText is set. False for a file that is missing, not a note file or damaged;
    // the record is then unchanged, and a note whose text is not in yet shows why.
    bool Load(bool applyFields, bool loadText);
    // Takes the file another computer wrote: fields, look, alarms and, when the note has
    // it or is waiting for it, the text. The note stays where it sits on this screen.
    bool TakeFile();

    // Puts the text, title, colours and alarms of an earlier version back into the note
    // (it stays where it is on the screen) and saves it, which keeps the text it had as a
    // version in turn. False when the version cannot be read; the note is then unchanged.
    bool RestoreFrom(const std::wstring& versionPath);

    // The note's text as plain text, read from its file for the find-notes list while no
    // text is loaded. Dropped whenever the file is written or read, so it never outlives
    // the text it was made from.
    const std::optional<std::string>& FileText() const { return m_fileText; }
    void KeepFileText(std::string text) { m_fileText = std::move(text); }

    // The largest note file written and read (kMaxNoteFileBytes); tests lower it, 0
    // restores it.
    static void SetMaxFileBytes(std::size_t bytes);
    static std::size_t MaxFileBytes();

    // Compares the note's alarms with the local time and tells the listener of a due one.
    void CheckAlarms();
    // The local date and time as the note store sees it (the clock, or a test's).
    static SYSTEMTIME LocalTime();
    static void SetLocalTimeSource(LocalTimeSource source);

    DateTime m_stamp0;
    DateTime m_stamp1;
    NoteLook m_look;
    AlarmSet m_alarms;
    // Kept beside the notes, not in the note's file.
    NoteOptions m_options;

private:
    NoteListener* m_listener = nullptr;
    std::unique_ptr<PDummyWnd> m_owner;
    std::unique_ptr<PRichEdit> m_edit;
    std::string m_title;
    std::string m_userName;
    bool m_textLoaded = true;
    bool m_textComing = false;
    Trouble m_trouble = Trouble::None;
    DWORD m_saveError = 0;
    bool m_failureTold = false;
    std::wstring m_filePath;
    // The stored fields as they were last loaded or saved, without the place, and the place.
    std::string m_savedFields;
    NoteRect m_savedRect;
    std::optional<std::string> m_fileText;
    FileState m_heldFile;
    std::uint64_t m_heldDigest = 0;

    bool SaveNow();
    bool Encode(std::string& file);
    bool Failed(DWORD error);
    void SetTrouble(Trouble trouble);
    bool LoadNow(bool applyFields, bool loadText, bool keepPlace);
    NoteFields Fields() const;
    std::string EncodedFields() const;
    void MarkSaved();
    void Hold(const std::string& file, const FileState& state);
};
