#pragma once
#include "../store/PNote.h"
#include "../store/PNoteReader.h"

#include <list>
#include <memory>
#include <string>

// What the find-notes dialog asks of the one that owns every note: the notes to look
// through, whether more are still being read, and to show the one chosen.
class FindNotesHost {
public:
    using NoteList = std::list<std::unique_ptr<PNote>>;

    virtual const NoteList& Notes() const = 0;
    virtual const PNoteReader& Reader() const = 0;
    // Opens or raises the note's window, makes it the foreground window and selects the
    // first place its text holds what was typed (in the program's code page).
    virtual void BringNoteForward(PNote* note, const std::string& typed) = 0;

protected:
    ~FindNotesHost() = default;
};
