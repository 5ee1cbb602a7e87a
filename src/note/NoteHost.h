#pragma once
#include "../core/NoteLook.h"

#include <string>

class PNote;
class PinvelWnd;

// What a note window asks of the one that owns every note: the window knows its own note
// only, so a new note, hiding, deleting and what reaches other notes go through here. The
// owner hands it to the window when it opens it.
class NoteHost {
public:
    virtual PinvelWnd* NewNoteAndShow() = 0;
    // Closes the window: it and its object are gone when this returns.
    virtual void CloseNoteWindow(PinvelWnd* window) = 0;
    virtual void DeleteNote(PNote* note) = 0;
    // The note's window settings changed: kept beside the notes a moment later.
    virtual void NoteOptionsChanged(PNote* note) = 0;
    virtual void ApplyLookToAll(const NoteLook& look) = 0;
    virtual void SetDefaultLook(const NoteLook& look) = 0;
    // Where the notes and their earlier versions are kept.
    virtual std::wstring NotesFolder() const = 0;
    virtual bool RestoreVersion(PNote* note, const std::wstring& versionPath) = 0;

protected:
    ~NoteHost() = default;
};
