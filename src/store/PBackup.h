#pragma once
#include <windows.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

class PNote;

// One step that copies everything a user would need to get their notes back: a new
// dated folder holding "Pinvel.ini", every note file of the notes folder as it is on
// disk (those that did not load as notes too), and each note exported as RTF under its
// title. Nothing in the notes folder is changed.
class PBackup {
public:
    struct Result {
        // The backup folder was made; whatever could not go into it is named below.
        bool done = false;
        // Note files in the backup.
        int notes = 0;
        std::wstring folder;
        // Why the backup folder could not be made.
        DWORD error = 0;
        // Notes whose changes could not be written whole: their last good file went in.
        std::vector<std::wstring> lastSaved;
        // What could not go in at all: a note's title, or a file's name.
        std::vector<std::wstring> missed;
    };

    // into: the folder the user chose; home: the folder of "Pinvel.ini" (ends in a
    // backslash). A note that could not be saved goes in as it is in memory, or else as
    // its last good file. One file that cannot be copied never stops the others.
    static Result Write(const std::wstring& into, const std::wstring& home,
                        const std::list<std::unique_ptr<PNote>>& notes, const SYSTEMTIME& now);
};
