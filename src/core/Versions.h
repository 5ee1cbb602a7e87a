#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Earlier versions of a note, kept in a folder of their own beside the notes: the note's
// file name with the UTC moment it was replaced, "N021215 (1) 2026-12-07 160512Z.pvl",
// and " (2)" and on when one second replaced it twice. Names without the "Z" were written
// by earlier releases and hold the local clock's reading.

struct VersionStamp {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // 1 for the first version of a moment, 2 for the next one of the same second...
    int count = 1;
    // A UTC moment ("Z"), or the local reading of a name of an earlier release.
    bool utc = true;
};

std::wstring VersionFileName(std::wstring_view noteFileName, const VersionStamp& when);
// True when name is a version of the note file noteFileName (same letter case rules as
// the file system: none), with its moment in when.
bool ParseVersionFileName(std::wstring_view name, std::wstring_view noteFileName, VersionStamp& when);

// Seconds of a reading from 1 January 2000 by the proleptic Gregorian calendar: a scale to
// compare and bucket moments on, whatever zone the reading is in.
std::int64_t StampSeconds(const VersionStamp& when);

struct VersionFacts {
    std::int64_t seconds = 0;      // the UTC moment it was replaced, on StampSeconds' scale
    std::int64_t shownSeconds = 0; // the same moment as the local clock read it: its day
    std::uint64_t bytes = 0;
    int count = 1;
    bool utcName = true;
};

// The order of the menu and of the rule below: the later UTC moment first; of one second,
// a UTC name before a local one (those were all written earlier), then the higher count.
bool NewerVersion(const VersionFacts& a, const VersionFacts& b);

// Of a note's versions, newest first, which to keep: every one of the newest hour that has
// versions, the newest of each of the 24 newest hours that have versions, the newest of
// each of the 30 newest (local) days that have versions, and, newest first, no more than
// maxBytes in all. The one at index fresh (just written; none past the end) is kept
// whatever its moment, and its bytes are counted first. Counting only hours and days that
// have versions, never back from the clock, a clock set wrong cannot make them look old.
std::vector<bool> VersionsToKeep(const std::vector<VersionFacts>& newestFirst, std::size_t fresh,
                                 std::uint64_t maxBytes);

// "850 B", "1.2 KB", "3.4 MB": the size shown beside a version in its menu.
std::string SizeText(std::uint64_t bytes);
