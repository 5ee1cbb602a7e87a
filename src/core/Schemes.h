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

// Four dark schemes, listed after the sixteen. Their numbers are not stored: a note of
// one holds its three colours as chosen one by one (scheme -1), which every older copy
// reads. Their names are in the string table; their id is the scheme they are stored as.
constexpr int kDarkSchemeCount = 4;
constexpr int kListedSchemeCount = kSchemeCount + kDarkSchemeCount;
extern const ColorScheme kDarkSchemes[kDarkSchemeCount];

// The scheme at a place in the appearance dialog's list: 0..15 the sixteen, 16..19 the
// dark ones; null for anything else.
const ColorScheme* ListedScheme(int listed);

// The scheme number a note stores for a place in the list: the place itself for the
// sixteen, -1 for the dark ones and for none.
int StoredScheme(int listed);

// The place in the list that shows a note's look: its scheme when it is one of the
// sixteen, else the dark scheme whose three colours it holds, else -1 (none).
int ListedSchemeOf(int stored, Colour background, Colour edge, Colour border);
