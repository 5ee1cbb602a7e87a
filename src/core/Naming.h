#pragma once
#include <functional>
#include <string>
#include <string_view>

// Names of new notes and their files.

// "N" + two-digit year, month and day of the day the note is made: N021215.
std::string NoteFileStem(int year, int month, int day);

// The first "stem (n)" for n = 1, 2, ... that isTaken refuses not.
std::string NextFileCandidate(const std::string& stem, const std::function<bool(const std::string&)>& isTaken);

// A free name for a file that moves into another folder: its own name when isTaken
// refuses it not, else the first free "stem (n).ext" by the rule above, where the stem
// loses a " (n)" it already ends in ("N021215 (3).pvl" -> "N021215 (1).pvl").
std::wstring FreeFileName(std::wstring_view name, const std::function<bool(const std::wstring&)>& isTaken);

// The next "base n" from counter on that no note has; counter moves past every number
// tried, so a number is not offered twice in one run.
std::string NextTitleCandidate(const std::string& base, int& counter,
                               const std::function<bool(const std::string&)>& isTaken);

// A title as a file name: the characters no file name can hold (\ / : * ? " < > | and
// control characters) become "_", trailing dots and blanks go, and a name the system
// keeps for a device (CON, NUL, COM1...) gets a "_" in front. Empty gives fallback.
std::wstring FileNameFromTitle(std::wstring_view title, std::wstring_view fallback);
