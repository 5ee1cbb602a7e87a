#pragma once
#include "NoteLook.h"

#include <cstdint>

// A built-in colour scheme. Names are in code page 936, the program's ANSI code page.
struct ColorScheme {
    std::int32_t id;
    char name[32];
    Colour background;
    Colour edge;
    Colour border;
};

constexpr int kSchemeCount = 16;

// The sixteen schemes in the order the appearance dialog lists them, ended by a record
// whose id is -1.
extern const ColorScheme kColorSchemes[kSchemeCount + 1];

// The scheme of an index, or null for -1 and anything outside the table.
const ColorScheme* FindScheme(int index);
