#pragma once
#include "NoteLook.h"

#include <vector>

// The pseudo-random generator new notes are placed with: draws run from 0 to 32767.
class NoteRandom {
public:
    explicit NoteRandom(unsigned seed) : m_state(seed) {}
    int Draw()
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    unsigned m_state;
};

// A rectangle a third of the work area's width and height, its corner drawn between a
// twentieth of the area and two thirds of it. Coordinates count from the screen's
// corner, not the work area's. Work areas for which no draw can land in range (wider
// than the generator reaches) take the nearest possible corner instead of drawing
// forever.
NoteRect RandomNoteRect(int workWidth, int workHeight, unsigned seed);

// Work areas are listed with the primary monitor's first; like a note's rectangle their
// left and top edges are inside, their right and bottom edges outside.
using WorkAreas = std::vector<NoteRect>;

// A note no screen shows: neither its top-left nor its bottom-right corner is on any
// work area. Notes hanging over an edge or across two screens still count as shown.
bool IsLostNote(const NoteRect& rect, const WorkAreas& areas);

// Where a note with this stored rectangle opens. A lost note gets the random rectangle
// of the primary work area for the seed. A kept one stays where it was, except that a
// side longer than the work area its corner is on (top-left first) shrinks to that
// area and moves inside it, and a side shorter than the smallest note (also zero,
// negative or upside down) grows from the top-left. A rectangle these corrections
// would leave lost is placed like a lost one.
NoteRect OpeningNoteRect(const NoteRect& stored, const WorkAreas& areas, unsigned seed);

