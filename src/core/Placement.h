#pragma once
#include "NoteLook.h"

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

// A stored rectangle a window can take on a work area of this size: positive width and
// height, neither larger than the work area (the most a user can size a note to). A
// damaged file can hold anything else.
bool IsUsableNoteSize(const NoteRect& rect, int workWidth, int workHeight);
