#pragma once
#include "../core/AlarmSet.h"
#include "../core/DateTime.h"
#include "../core/NoteFile.h"
#include "../core/NoteLook.h"

#include <windows.h>

#include <memory>
#include <string>

class PDummyWnd;
class PRichEdit;

// The record of one note. Its text lives only in its rich-edit control and its file;
// the control stays alive, hidden in an owner window, while the note has no window.
class PNote {
public:
    PNote();
    virtual ~PNote();
    PNote(const PNote&) = delete;
    PNote& operator=(const PNote&) = delete;

    // Makes the hidden owner window (a child of the logic window) and the editor inside
    // it. Failures are fatal.
    void CreateEditor();
    // Lends the editor to a note window (null: the desktop) and takes it back hidden.
    PRichEdit* AttachEditor(HWND noteWindow);
    void DetachEditor();
    PRichEdit* Editor() const { return m_edit.get(); }

    void SetTitle(const std::string& title);
    std::string GetTitle() const { return m_title; }
    std::string GetUserName() const { return m_userName; }
    std::wstring GetFilePath() const { return m_filePath; }
    void SetFilePath(const std::wstring& path) { m_filePath = path; }
    bool IsTextLoaded() const { return m_textLoaded; }

    // Writes the note file. A note whose text was never loaded is not rewritten: its
    // file is the only copy of the text. False when the file cannot be written; the
    // previous file then stays as it was.
    bool Save();
    // True when the text or a stored field changed since the last load or save.
    bool HasUnsavedChanges() const;
    // Saves a note whose text is loaded and that changed; true when nothing was lost.
    bool SaveIfChanged();
    // Reads the note file: the stored fields when applyFields is set, the text when
    // loadText is set. False for a file that is missing, not a note file or damaged;
    // the record is then unchanged.
    bool Load(bool applyFields, bool loadText);

    // Compares the note's alarms with the local time and fires a due one.
    void CheckAlarms();

    DateTime m_stamp0;
    DateTime m_stamp1;
    NoteLook m_look;
    AlarmSet m_alarms;

private:
    std::unique_ptr<PDummyWnd> m_owner;
    std::unique_ptr<PRichEdit> m_edit;
    std::string m_title;
    std::string m_userName;
    bool m_textLoaded = true;
    std::wstring m_filePath;
    // The stored fields as they were last loaded or saved.
    std::string m_savedFields;

    bool SaveNow();
    bool LoadNow(bool applyFields, bool loadText);
    NoteFields Fields() const;
    std::string EncodedFields() const;
    void MarkSaved();
};
