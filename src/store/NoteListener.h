#pragma once
#include <windows.h>

class PNote;

// What a note record tells the one that owns it. The record sits below every window that
// shows it, so it never looks for them: its owner hands it this at creation and decides
// what a change or a due alarm means on screen.
class NoteListener {
public:
    // The window the note's hidden editor owner is made a child of.
    virtual HWND OwnerWindow() const = 0;
    // A field an open window shows changed (the title, or everything on a load).
    virtual void OnNoteChanged(PNote* note) = 0;
    // One of the note's alarms is due now; sound tells whether it plays its sound.
    virtual void OnAlarmDue(PNote* note, bool sound) = 0;

protected:
    ~NoteListener() = default;
};
