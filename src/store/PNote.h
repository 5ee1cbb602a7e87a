#pragma once

// The record of one note. Its data, editor and file come with the note store; for now
// the logic window only needs to walk the records once a minute.
class PNote {
public:
    virtual ~PNote() = default;

    // Compares the note's alarms with the local time and fires a due one. A note
    // without alarm slots has nothing to fire.
    void CheckAlarms() {}
};
