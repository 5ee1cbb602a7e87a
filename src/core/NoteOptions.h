#pragma once
#include "Language.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What a user sets for a note beyond its file: where its window sits among the others,
// how see-through it is and how large its text is shown; and the program's hotkeys.
// They live in one text file in the notes folder, so that the folder carries them to
// another computer, a backup and a portable copy, while the note files and the settings
// file keep their formats to the byte.

enum class NoteLevel { Top = 0, Normal = 1, Desktop = 2 };

constexpr int kFullOpacity = 100;
constexpr int kLeastOpacity = 50;
constexpr int kNormalZoom = 100;
constexpr int kLeastZoom = 50;
constexpr int kMostZoom = 400;

struct NoteOptions {
    NoteLevel level = NoteLevel::Top;
    // Percent, 50 to 100 in steps of ten.
    int opacity = kFullOpacity;
    // Percent of the text's own size, 50 to 400, on top of the screen's scaling.
    int zoom = kNormalZoom;
    // When it was last changed, in seconds of UTC from 2000: the newer of two copies wins.
    std::int64_t stamp = 0;
    // Its text cannot be changed until it is unlocked.
    bool locked = false;
    // Whether the copy it was read from knew of locks: one written by a version that did
    // not leaves this copy's lock as it is when it is merged.
    bool lockKnown = true;
    // The "\tname=value" fields of a newer version, kept as they came and written back.
    std::string otherFields = std::string();

    bool SameChoices(const NoteOptions& other) const
    {
        return level == other.level && opacity == other.opacity && zoom == other.zoom && locked == other.locked;
    }
};

// The program-wide keys, in this order.
enum class HotkeyAction { NewNote = 0, ShowOrHideAll = 1, FindNotes = 2, NewFromClipboard = 3, NextNote = 4 };
constexpr int kHotkeyCount = 5;

// A key as the system registers it: the modifier bits of RegisterHotKey (Alt 1, Ctrl 2,
// Shift 4, Win 8) and a virtual-key code; key 0 is no hotkey at all.
struct Hotkey {
    unsigned modifiers = 0;
    unsigned key = 0;
    bool IsSet() const { return key != 0; }
    bool operator==(const Hotkey& other) const { return modifiers == other.modifiers && key == other.key; }
    bool operator!=(const Hotkey& other) const { return !(*this == other); }
};

constexpr unsigned kModAlt = 1, kModControl = 2, kModShift = 4, kModWin = 8;

struct HotkeyOptions {
    // Ctrl+Alt+N, Ctrl+Alt+S, Ctrl+Alt+F, Ctrl+Alt+V, Ctrl+Alt+Page Down (Ctrl+Alt+Tab is
    // the system's own; Page Down types nothing on any layout and means "next").
    std::array<Hotkey, kHotkeyCount> keys = DefaultKeys();
    // One bit per action: the user was told that another program holds its key, which is
    // said once, until the key is the program's again.
    unsigned toldTaken = 0;
    std::int64_t stamp = 0;
    // One bit per action whose key the copy it was read from wrote: a key an older version
    // did not know stays as this copy has it when the two are merged.
    unsigned keysKnown = (1u << kHotkeyCount) - 1;
    // The fields of a newer version, kept as they came and written back.
    std::string otherFields = std::string();

    static std::array<Hotkey, kHotkeyCount> DefaultKeys()
    {
        return {{{kModControl | kModAlt, 'N'},
                 {kModControl | kModAlt, 'S'},
                 {kModControl | kModAlt, 'F'},
                 {kModControl | kModAlt, 'V'},
                 {kModControl | kModAlt, 0x22}}};
    }
};

// Note file names compare as the file system compares them: without letter case.
struct FileNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// What holds for the whole program rather than one note or one key.
struct ProgramOptions {
    LanguageChoice language = LanguageChoice::System;
    std::int64_t stamp = 0;
    // The fields of a newer version, kept as they came and written back.
    std::string otherFields = std::string();
};

struct SideFile {
    // By note file name (UTF-8). A note without an entry has the defaults.
    std::map<std::string, NoteOptions, FileNameLess> notes;
    HotkeyOptions hotkeys;
    ProgramOptions program;
    // Lines of kinds a newer version writes, kept as they came and written back.
    std::vector<std::string> otherLines;
};

// A file that is not one (another first line, no file at all) reads as all defaults; a
// damaged line loses only itself, a value out of range only its own field.
SideFile ReadSideFile(std::string_view bytes);
std::string WriteSideFile(const SideFile& file);

// What another computer's copy of the side file changed in this one's.
struct SideFileMerge {
    std::vector<std::string> notesTaken;
    bool hotkeysTaken = false;
    bool languageTaken = false;
};
// Takes each note's entry, the hotkeys and the program's line from whichever copy changed them last; an
// entry only one copy has is kept. Names whose choices changed here are listed.
SideFileMerge MergeSideFile(SideFile& mine, const SideFile& theirs);

// The next zoom step up (direction > 0) or down (< 0) from zoom, within 50 to 400 %;
// direction 0 is back to 100 %.
int NextZoom(int zoom, int direction);
// The editor's zoom ratio for the user's zoom on a screen of dpi when the editor measures
// at systemDpi, reduced; 0 and 0 when the text is shown at its own size.
void EditorZoomRatio(int zoom, int dpi, int systemDpi, int& numerator, int& denominator);
// The layered window's alpha for an opacity in percent.
unsigned char OpacityAlpha(int opacity);

// The hotkey control's modifier flags (Shift 1, Ctrl 2, Alt 4, extended 8) and back.
Hotkey HotkeyFromControl(unsigned controlValue);
unsigned ControlFromHotkey(const Hotkey& key);
// "Ctrl+Alt+N", with the key's own name as the system gives it.
std::string HotkeyText(const Hotkey& key, const std::string& keyName);
