#pragma once
#include <functional>
#include <string>

// Names of new notes and their files.

// "N" + two-digit year, month and day of the day the note is made: N021215.
std::string NoteFileStem(int year, int month, int day);

// The first "stem (n)" for n = 1, 2, ... that isTaken refuses not.
std::string NextFileCandidate(const std::string& stem, const std::function<bool(const std::string&)>& isTaken);

// The next "base n" from counter on that no note has; counter moves past every number
// tried, so a number is not offered twice in one run.
std::string NextTitleCandidate(const std::string& base, int& counter,
                               const std::function<bool(const std::string&)>& isTaken);
