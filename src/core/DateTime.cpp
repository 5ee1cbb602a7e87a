#include "core/DateTime.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kSecondsPerDay = 86400;

// Day numbers of 0100-01-01 and 9999-12-31.
constexpr std::int64_t kFirstDay = -657434;
constexpr std::int64_t kLastDay = 2958465;

// Days from 1970-01-01 to 1899-12-30, the day numbered 0.
constexpr std::int64_t kEpochShift = -25569;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Proleptic Gregorian day count from 1970-01-01, counted in 400-year eras that start
// on 1 March so that the leap day falls at the end of each year.
std::int64_t DaysFromCivil(int year, int month, int day)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Nearest whole second of a day fraction in [0, 1), halves rounding up. Worked in
// integers: the x87 unit of the 32-bit build keeps excess precision in registers, and a
// floating product could land on either side of a half second depending on where the
// compiler spills it. Returns 0..86400.
int RoundToSecond(double fraction)
{
    if (!(fraction > 0.0))
        return 0;
    int exponent = 0;
    const double mantissa = std::frexp(fraction, &exponent);  // [0.5, 1), exponent <= 0
    // fraction = m / 2^k exactly, with m below 2^53.
    const std::uint64_t m = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const int k = 53 - exponent;
    // seconds + 1/2 = (m * 86400 + 2^(k-1)) / 2^k = (m * 675 + 2^(k-8)) / 2^(k-7), since
    // 86400 = 675 * 2^7. Below 2^-18 of a day (a third of a second) it is always 0;
    // this also keeps every shift under 64 and the sum under 2^64.
    if (k > 70)
        return 0;
    return static_cast<int>((m * 675 + (std::uint64_t{1} << (k - 8))) >> (k - 7));
}

} // namespace

DateTime DateTime::FromValue(double value)
{
    return DateTime(value, true);
}

DateTime DateTime::Invalid()
{
    return DateTime(0.0, false);
}

DateTime DateTime::FromFields(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12)
        return Invalid();
    if (day < 1 || day > DaysInMonth(year, month))
        return Invalid();
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return Invalid();

    const std::int64_t dayNumber = DaysFromCivil(year, month, day) - kEpochShift;
    const std::int64_t timeOfDay = (hour * 60 + minute) * 60 + second;
    // Before 1899-12-30 the time of day adds to the magnitude: 1899-12-29 06:00 is -1.25.
    // One division of two exact integers gives the nearest double; it stays the nearest
    // even on the x87, whose wider quotient can never sit on a halfway point of a double
    // when the divisor is 86400.
    const std::int64_t magnitude = (dayNumber < 0 ? -dayNumber : dayNumber) * kSecondsPerDay + timeOfDay;
    const double value = static_cast<double>(magnitude) / kSecondsPerDay;
    return DateTime(dayNumber < 0 ? -value : value, true);
}

bool DateTime::Split(Fields& f) const
{
    // Written so that NaN fails too. The bounds are whole days: 9999-12-31 23:59 still
    // has fields, 0100-01-01 12:00 is -657434.5.
    if (!m_valid || !(m_value > static_cast<double>(kFirstDay - 1) && m_value < static_cast<double>(kLastDay + 1)))
        return false;

    const double whole = std::trunc(m_value);
    std::int64_t dayNumber = static_cast<std::int64_t>(whole);
    int seconds = RoundToSecond(std::fabs(m_value - whole));  // the subtraction is exact
    if (seconds == kSecondsPerDay) {
        // Rounded up to midnight: the next day, whichever side of 1899-12-30 it is on.
        seconds = 0;
        ++dayNumber;
        if (dayNumber > kLastDay)
            return false;
    }

    CivilFromDays(dayNumber + kEpochShift, f.year, f.month, f.day);
    f.hour = seconds / 3600;
    f.minute = seconds / 60 % 60;
    f.second = seconds % 60;
    // Day 0 was a Saturday.
    f.dayOfWeek = static_cast<int>(((dayNumber % 7) + 13) % 7) + 1;
    return true;
}

int DateTime::FieldOr(int Fields::*field) const
{
    Fields f{};
    return Split(f) ? f.*field : -1;
}

bool DateTime::HasFields() const
{
    Fields f{};
    return Split(f);
}

int DateTime::Year() const { return FieldOr(&Fields::year); }
int DateTime::Month() const { return FieldOr(&Fields::month); }
int DateTime::Day() const { return FieldOr(&Fields::day); }
int DateTime::Hour() const { return FieldOr(&Fields::hour); }
int DateTime::Minute() const { return FieldOr(&Fields::minute); }
int DateTime::Second() const { return FieldOr(&Fields::second); }
int DateTime::DayOfWeek() const { return FieldOr(&Fields::dayOfWeek); }

bool DateTime::operator==(const DateTime& other) const
{
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::memcpy(&a, &m_value, sizeof a);
    std::memcpy(&b, &other.m_value, sizeof b);
    return a == b && m_valid == other.m_valid;
}
