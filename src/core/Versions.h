#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Earlier versions of a note, kept in a folder of their own beside the notes: the note's
// file name with the local moment it was replaced, "N021215 (1) 2026-12-07 160512.pvl",
// and " (2)" and on when one moment replaced it twice.

struct VersionStamp {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // 1 for the first version of a moment, 2 for the next one of the same second...
    int count = 1;
};

std::wstring VersionFileName(std::wstring_view noteFileName, const VersionStamp& when);
// True when name is a version of the note file noteFileName (same letter case rules as
// the file system: none), with its moment in when.
bool ParseVersionFileName(std::wstring_view name, std::wstring_view noteFileName, VersionStamp& when);

// Seconds of a local moment from 1 January 2000 by the proleptic Gregorian calendar: a
// scale to compare and bucket moments on, not a time zone's reading.
std::int64_t StampSeconds(const VersionStamp& when);

struct VersionFacts {
    std::int64_t seconds; // StampSeconds of the moment it was replaced
    std::uint64_t bytes;
};

// Of a note's versions, newest first, which to keep at now: every one of the last hour,
// the newest of each clock hour of the last day, the newest of each day of the last 30
// days, and, newest first, no more than maxBytes in all. Buckets go by the clock, not by
// age, so a version kept once is not dropped for its neighbour's sake an hour later.
std::vector<bool> VersionsToKeep(const std::vector<VersionFacts>& newestFirst, std::int64_t now,
                                 std::uint64_t maxBytes);

// "850 B", "1.2 KB", "3.4 MB": the size shown beside a version in its menu.
std::string SizeText(std::uint64_t bytes);
