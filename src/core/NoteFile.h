#pragma once
#include "AlarmSet.h"
#include "DateTime.h"
#include "NoteLook.h"

#include <string>
#include <string_view>

// Everything a note file holds besides the note's text.
struct NoteFields {
    std::string title;
    std::string userName;
    DateTime stamp0;
    DateTime stamp1;
    NoteLook look;
    AlarmSet alarms;
};

constexpr char kNoteFileMagic[] = "PINVL";
constexpr std::uint32_t kNoteFileVersion = 1;
// Bytes of a note file besides its title, user name and text.
constexpr std::size_t kNoteFileFixedSize = 469;

// The whole file: magic, version, the fields in stored order, then the RTF text. Empty
// when a text is too long for its length word; a note file is never empty.
std::string EncodeNoteFile(const NoteFields& fields, std::string_view rtf);

// Reads the fields of a whole note file held in memory. On success textOffset is where
// the text's length word starts. False for another magic or version, or for a file that
// ends inside a field; fields is then unchanged.
bool DecodeNoteFields(std::string_view file, NoteFields& fields, std::size_t& textOffset);

// The text that follows the fields, as a view into the file: a long text is not copied
// to be checked. False when the stored length runs past the end.
bool DecodeNoteText(std::string_view file, std::size_t textOffset, std::string_view& rtf);

// The largest note file read and written: a text this long no longer fits the editor
// beside everything else a 32-bit process holds, and a larger file is left as it is.
constexpr std::size_t kMaxNoteFileBytes = 64u * 1024 * 1024;
// The most characters a note's editor takes, so that a full note's file stays under the
// limit above: RTF writes a character in at most 9 bytes ("\uN?" for one outside the
// code page, two "\'hh" for a Chinese one), which leaves half the file for formatting.
constexpr std::size_t kMaxNoteTextChars = kMaxNoteFileBytes / 16;

// Look fields in their stored order, shared with the settings file.
void WriteLook(ByteWriter& out, const NoteLook& look);
bool ReadLook(ByteReader& in, NoteLook& look);
