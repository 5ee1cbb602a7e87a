#pragma once
#include "../core/NoteOptions.h"
#include "../store/PNote.h"
#include "../store/PNoteReader.h"

#include <list>
#include <memory>
#include <string>

class PinvelWnd;

// What the tray asks of the one that owns every note: its menu lists the notes and turns
// its entries into commands on them. The owner hands it to the tray when it makes it.
class TrayHost {
public:
    using NoteList = std::list<std::unique_ptr<PNote>>;

    // The notes in the order the menu lists them, and how far reading them at start has got.
    virtual const NoteList& Notes() const = 0;
    // The rest of the program's start, done before the tray acts on anything the user
    // asks: what may end the process comes before any note is read or written. False
    // while the program cannot go on (its fatal error is being shown).
    virtual bool FinishStart() = 0;
    virtual const PNoteReader& Reader() const = 0;
    virtual bool IsHidden(PNote* note) const = 0;
    virtual PinvelWnd* ShowNote(PNote* note) = 0;
    virtual void HideNote(PNote* note) = 0;
    virtual PinvelWnd* NewNoteAndShow() = 0;
    virtual void HideAll() = 0;
    virtual void ShowAll() = 0;
    virtual void ShowOrHideAll() = 0;
    // The open note after the one in front (the first when none is), in front with the
    // keys in its text.
    virtual void BringNextNoteForward() = 0;
    virtual void ShowFindNotes() = 0;
    // A note in front holding the clipboard's text; with none there, the user is told.
    virtual void NewNoteFromClipboard() = 0;
    virtual void ShowHelp() = 0;
    virtual void ShowAbout() = 0;
    virtual void BackUpAll() = 0;
    virtual void OpenNotesFolder() = 0;
    // Asks first when some notes cannot be saved; the process ends unless the user says No.
    virtual void ExitFromTray() = 0;
    // Where the notes, and the deleted notes the menu offers back, are kept.
    virtual std::wstring NotesFolder() const = 0;
    virtual PNote* RestoreDeletedNote(const std::wstring& deletedPath) = 0;
    virtual const HotkeyOptions& Hotkeys() const = 0;
    virtual void SetHotkeys(const HotkeyOptions& hotkeys) = 0;
    // The language the user chose, kept with the hotkeys; a new one applies at once.
    virtual LanguageChoice Language() const = 0;
    virtual void SetLanguage(LanguageChoice choice) = 0;

protected:
    ~TrayHost() = default;
};
