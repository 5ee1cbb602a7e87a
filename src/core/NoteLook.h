#pragma once
#include <cstdint>

// Colours are 0x00BBGGRR words, kept exactly as stored; nothing is computed from them.
using Colour = std::uint32_t;

struct NoteRect {
    std::int32_t left = 200;
    std::int32_t top = 100;
    std::int32_t right = 500;
    std::int32_t bottom = 300;
};

// The nine words of a note's look and placement, in stored order. The defaults are
// the look of a note on a machine that has never saved its settings.
struct NoteLook {
    std::int32_t scheme = 9;
    Colour background = 0x00BDFFFF;
    Colour edge = 0x007BDEFF;
    Colour border = 0x00808080;
    std::int32_t infoKind = 2;
    NoteRect rect;
};
