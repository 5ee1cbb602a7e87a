#pragma once
#include <windows.h>

#include <list>
#include <memory>
#include <string>

class PNote;

// One step that copies everything a user would need to get their notes back: a new
// dated folder holding "Pinvel.ini", every note file as it is on disk, and each note
// exported as RTF under its title. Nothing in the notes folder is changed.
class PBackup {
public:
    struct Result {
        bool done = false;
        int notes = 0;
        std::wstring folder;
        DWORD error = 0;
    };

    // into: the folder the user chose; home: the folder of "Pinvel.ini" (ends in a
    // backslash). A note that could not be saved goes in as it is in memory.
    static Result Write(const std::wstring& into, const std::wstring& home,
                        const std::list<std::unique_ptr<PNote>>& notes, const SYSTEMTIME& now);
};
