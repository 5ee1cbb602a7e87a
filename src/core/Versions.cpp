#include "Versions.h"

#include <cstdio>
#include <cwchar>
#include <set>

namespace {

constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kDay = 24 * kHour;
constexpr std::size_t kHourGroups = 24;
constexpr std::size_t kDayGroups = 30;

// Days from 1 January 2000 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day)
{
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 730425; // 730425: 1 March 0000 to 1 January 2000
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Floor, also for moments before 2000.
std::int64_t FloorDiv(std::int64_t value, std::int64_t by)
{
    return value >= 0 ? value / by : (value - by + 1) / by;
}

std::wstring_view StemOf(std::wstring_view name, std::wstring_view& ext)
{
    const std::size_t dot = name.rfind(L'.');
    ext = dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
    return dot == std::wstring_view::npos ? name : name.substr(0, dot);
}

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

// Reads count digits at text[at...]; false if any is not one.
bool Digits(std::wstring_view text, std::size_t at, std::size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return false;
        value = value * 10 + (text[i] - L'0');
    }
    return true;
}

} // namespace

std::wstring VersionFileName(std::wstring_view noteFileName, const VersionStamp& when)
{
    std::wstring_view ext;
    const std::wstring_view stem = StemOf(noteFileName, ext);
    wchar_t moment[48];
    std::swprintf(moment, 48, L" %04d-%02d-%02d %02d%02d%02d%ls", when.year, when.month, when.day, when.hour,
                  when.minute, when.second, when.utc ? L"Z" : L"");
    std::wstring name = std::wstring(stem) + moment;
    if (when.count > 1)
        name += L" (" + std::to_wstring(when.count) + L")";
    return name + std::wstring(ext);
}

bool ParseVersionFileName(std::wstring_view name, std::wstring_view noteFileName, VersionStamp& when)
{
    std::wstring_view ext, ownExt;
    const std::wstring_view stem = StemOf(noteFileName, ext);
    std::wstring_view rest = StemOf(name, ownExt);
    // " YYYY-MM-DD HHMMSS" after the note's own stem.
    constexpr std::size_t kMoment = 18;
    if (!SameNoCase(ownExt, ext) || rest.size() < stem.size() + kMoment || !SameNoCase(rest.substr(0, stem.size()), stem))
        return false;
    rest.remove_prefix(stem.size());
    VersionStamp read;
    if (rest[0] != L' ' || rest[5] != L'-' || rest[8] != L'-' || rest[11] != L' ' || !Digits(rest, 1, 4, read.year) ||
        !Digits(rest, 6, 2, read.month) || !Digits(rest, 9, 2, read.day) || !Digits(rest, 12, 2, read.hour) ||
        !Digits(rest, 14, 2, read.minute) || !Digits(rest, 16, 2, read.second))
        return false;
    rest.remove_prefix(kMoment);
    read.utc = !rest.empty() && rest[0] == L'Z';
    if (read.utc)
        rest.remove_prefix(1);
    if (!rest.empty()) {
        // " (n)", n from 2.
        if (rest.size() < 4 || rest.substr(0, 2) != L" (" || rest.back() != L')' ||
            !Digits(rest, 2, rest.size() - 3, read.count) || read.count < 2)
            return false;
    }
    if (read.month < 1 || read.month > 12 || read.day < 1 || read.day > DaysInMonth(read.year, read.month) ||
        read.hour > 23 || read.minute > 59 || read.second > 59)
        return false;
    when = read;
    return true;
}

std::int64_t StampSeconds(const VersionStamp& when)
{
    return DaysFromCivil(when.year, when.month, when.day) * kDay + when.hour * kHour + when.minute * 60 + when.second;
}

bool NewerVersion(const VersionFacts& a, const VersionFacts& b)
{
    if (a.seconds != b.seconds)
        return a.seconds > b.seconds;
    if (a.utcName != b.utcName)
        return a.utcName;
    return a.count > b.count;
}

std::vector<bool> VersionsToKeep(const std::vector<VersionFacts>& newestFirst, std::size_t fresh,
                                 std::uint64_t maxBytes)
{
    std::vector<bool> keep(newestFirst.size(), false);
    std::uint64_t total = 0;
    if (fresh < newestFirst.size()) {
        keep[fresh] = true;
        total = newestFirst[fresh].bytes;
    }
    std::set<std::int64_t> hours, days;
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        const VersionFacts& v = newestFirst[i];
        const std::int64_t hour = FloorDiv(v.seconds, kHour);
        // The hour goes by UTC, so the hour the clocks repeat in autumn is two; the day is
        // the one the menu shows.
        const bool newestHour = i == 0 || hour == FloorDiv(newestFirst[0].seconds, kHour);
        const bool firstOfHour = hours.insert(hour).second;
        const bool firstOfDay = days.insert(FloorDiv(v.shownSeconds, kDay)).second;
        // A group is taken by its newest version even when that one is too large, so an
        // older one of the same hour does not step in.
        const bool wanted = newestHour || (firstOfHour && hours.size() <= kHourGroups) ||
                            (firstOfDay && days.size() <= kDayGroups);
        if (i == fresh || !wanted || total + v.bytes > maxBytes)
            continue;
        total += v.bytes;
        keep[i] = true;
    }
    return keep;
}

std::string SizeText(std::uint64_t bytes)
{
    char text[32];
    if (bytes < 1024)
        std::snprintf(text, sizeof(text), "%u B", static_cast<unsigned>(bytes));
    else if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof(text), "%.1f KB", static_cast<double>(bytes) / 1024);
    else
        std::snprintf(text, sizeof(text), "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    return text;
}
