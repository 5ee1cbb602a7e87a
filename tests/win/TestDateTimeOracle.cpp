// DateTime against the system's own conversions between these values and dates, in
// both directions.
//
// Where Wine's answers differ from a plain reading of the date, the check is narrowed
// to that case alone, and still checks what Wine does there:
//  - Rounding up past 9999-12-31 23:59:59 gives Wine the year 10000; we have no fields.
//  - Wine adds 1e-11 of a day (0.864 us) to the time before rounding, so a time that
//    short of a half second rounds up there; we round exact halves only.
//  - When rounding rolls into the next day, Wine keeps the weekday of the day before.
//  - Wine reads NaN as 1899-12-30 instead of refusing it, so NaN is left to the native
//    tests.
//  - 64-bit Wine turns fields before 1899-12-30 into a value one unit in the last place
//    away from the exact time now and then; there the rule is checked instead: ours is
//    the double nearest to the exact time, and the system's is its neighbour.
#include "core/DateTime.h"
#include "../common/DateSweep.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

constexpr long long kFirstDay = -657434;
constexpr long long kLastDay = 2958465;

std::string Text(int y, int mo, int d, int h, int mi, int s, int weekday)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d w%d", y, mo, d, h, mi, s, weekday);
    return text;
}

std::string Show(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// Seconds from 1899-12-30 00:00, forward in time. The day count is the whole number
// the system itself gives midnight of that date.
long long Timeline(int y, int mo, int d, int h, int mi, int s)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    double midnight = 0;
    ::SystemTimeToVariantTime(&st, &midnight);
    return static_cast<long long>(midnight) * 86400 + h * 3600 + mi * 60 + s;
}

// Wine's extra 1e-11 of a day lifts the time of v over a half second.
bool JustShortOfHalfSecond(double v)
{
    const double seconds = std::fabs(v - std::trunc(v)) * 86400;
    const double gap = std::floor(seconds) + 0.5 - seconds;
    return gap > 0 && gap < 1e-6;
}

// Empty when DateTime reads v the way the system does, else both readings.
std::string Disagreement(double v)
{
    const DateTime ours = DateTime::FromValue(v);
    const std::string oursText = ours.HasFields() ? Text(ours.Year(), ours.Month(), ours.Day(), ours.Hour(),
                                                         ours.Minute(), ours.Second(), ours.DayOfWeek())
                                                  : "none";
    SYSTEMTIME st{};
    if (!::VariantTimeToSystemTime(v, &st))
        return ours.HasFields() ? "system refuses, ours " + oursText : "";
    const std::string systemText =
        Text(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek + 1);
    const std::string both = "system " + systemText + ", ours " + oursText;
    if (st.wYear > 9999)
        return ours.HasFields() ? both : "";
    if (!ours.HasFields())
        return both;

    const long long system = Timeline(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    const long long mine = Timeline(ours.Year(), ours.Month(), ours.Day(), ours.Hour(), ours.Minute(), ours.Second());
    if (system != mine && !(system == mine + 1 && JustShortOfHalfSecond(v)))
        return both;

    // The weekday Wine gives is that of the unrounded day; ours must be that of our date.
    SYSTEMTIME unrounded{};
    SYSTEMTIME date{};
    ::VariantTimeToSystemTime(std::trunc(v), &unrounded);
    const bool rolled = ours.Day() != unrounded.wDay;
    ::VariantTimeToSystemTime(std::trunc(v) + (rolled ? 1 : 0), &date);
    if (st.wDayOfWeek != unrounded.wDayOfWeek || ours.DayOfWeek() != date.wDayOfWeek + 1)
        return both;
    return "";
}

TEST(DateTimeOracle, ValuesAtTheEdgesReadAsTheSystemReadsThem)
{
    const double values[] = {
        -657434, -657434.5, -657434.99999999, std::nextafter(-657435.0, 0.0), -657435,
        std::nextafter(-657435.0, -DBL_MAX), 2958465, 2958465.5, 2958465.99998, 2958465.99999999,
        std::nextafter(2958466.0, 0.0), 2958466, 0, -0.0, -0.5, -1.25, -1.9999999, -0.9999999, 0.9999999,
        27134.4375, 36525.99999999, 1.0 / 256, -1.0 / 256, 1e300, -1e300, DBL_MAX, HUGE_VAL, -HUGE_VAL};
    for (double v : values)
        EXPECT_EQ(Disagreement(v), "") << Show(v);
}

// A fixed mix of values: any fraction anywhere; whole and half seconds a few doubles
// either side, including the midnight that ends a day; the finer fractions near 0; and
// the first and last day of the range.
TEST(DateTimeOracle, RandomValuesReadAsTheSystemReadsThem)
{
    std::mt19937_64 rng(0x5EED1974);
    std::uniform_real_distribution<double> anyValue(-657435.0, 2958466.0);
    std::uniform_real_distribution<double> nearZero(-2.0, 2.0);
    std::uniform_int_distribution<long long> anyDay(kFirstDay, kLastDay);
    std::uniform_int_distribution<int> anySecond(0, 86400);
    std::uniform_int_distribution<int> steps(-8, 8);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    int failures = 0;
    const int kCount = 150000;
    for (int i = 0; i < kCount && failures < 20; ++i) {
        double v = 0;
        switch (i % 5) {
        case 0:
            v = anyValue(rng);
            break;
        case 1:
        case 2: {
            const long long day = anyDay(rng);
            const double half = i % 5 == 2 ? 0.5 : 0.0;
            const double fraction = (anySecond(rng) + half) / 86400;
            v = day < 0 || (day == 0 && rng() % 2) ? day - fraction : day + fraction;
            for (int k = steps(rng); k != 0; k += k > 0 ? -1 : 1)
                v = std::nextafter(v, k > 0 ? DBL_MAX : -DBL_MAX);
            break;
        }
        case 3:
            v = nearZero(rng);
            break;
        case 4: {
            const double day = rng() % 2 ? kFirstDay : kLastDay;
            const double fraction = rng() % 4 ? unit(rng) : 1 - unit(rng) * 1e-7;
            v = day < 0 ? day - fraction : day + fraction;
            break;
        }
        }
        const std::string disagreement = Disagreement(v);
        if (!disagreement.empty()) {
            ++failures;
            ADD_FAILURE() << "value " << Show(v) << ": " << disagreement;
        }
    }
}

// True when v is the double nearest to the exact time of seconds into the given day
// (before day 0, -(|day| + seconds / 86400)). Worked in integers: with |v| >= 1 the
// fraction of v is an exact multiple f of its last place 2^-k, k from 31 to 52, and
// |f / 2^k - seconds / 86400| <= 2^-k / 2 is, times 675 * 2^(k-7),
// |f * 675 - seconds * 2^(k-7)| <= 675 / 2.
bool IsNearest(double v, long long day, long long seconds)
{
    const double magnitude = std::fabs(v);
    const double whole = std::trunc(magnitude);
    if (magnitude < 1 || whole != static_cast<double>(std::llabs(day)))
        return false;
    int exponent = 0;
    std::frexp(magnitude, &exponent);
    const int k = 53 - exponent;
    const auto f = static_cast<long long>(std::ldexp(magnitude - whole, k));
    return 2 * std::llabs(f * 675 - (seconds << (k - 7))) <= 675;
}

// Every date of the range at a time that changes from day to day, and random fields,
// give the very double the system gives, and read back unchanged.
TEST(DateTimeOracle, FieldsGiveTheSystemsValue)
{
    std::mt19937_64 rng(0xDA7E);
    int checked = 0;
    int failures = 0;
    for (long long day = kFirstDay; day <= kLastDay && failures < 20; ++day) {
        SYSTEMTIME st{};
        ::VariantTimeToSystemTime(static_cast<double>(day), &st);
        const long long second = (day * 7919 % 86400 + 86400) % 86400;
        const bool random = day % 30 == 0;
        st.wHour = static_cast<WORD>(random ? rng() % 24 : second / 3600);
        st.wMinute = static_cast<WORD>(random ? rng() % 60 : second / 60 % 60);
        st.wSecond = static_cast<WORD>(random ? rng() % 60 : second % 60);

        double system = 0;
        ASSERT_TRUE(::SystemTimeToVariantTime(&st, &system));
        const DateTime ours = DateTime::FromFields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
        const DateTime back = DateTime::FromValue(ours.Value());
        const long long seconds = (st.wHour * 60 + st.wMinute) * 60 + st.wSecond;
        const bool systemNearest = IsNearest(system, day, seconds);
        const bool sameAsSystem = ours == DateTime::FromValue(system) ||
                                  (!systemNearest && IsNearest(ours.Value(), day, seconds) &&
                                   std::nextafter(system, ours.Value()) == ours.Value());
        ++checked;
        if (!ours.IsValid() || !sameAsSystem || back.Year() != st.wYear ||
            back.Month() != st.wMonth || back.Day() != st.wDay || back.Hour() != st.wHour ||
            back.Minute() != st.wMinute || back.Second() != st.wSecond || back.DayOfWeek() != st.wDayOfWeek + 1) {
            ++failures;
            ADD_FAILURE() << Text(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek + 1)
                          << ": system " << Show(system) << ", ours " << Show(ours.Value()) << " read back as "
                          << Text(back.Year(), back.Month(), back.Day(), back.Hour(), back.Minute(), back.Second(),
                                  back.DayOfWeek());
        }
    }
    EXPECT_EQ(checked, kLastDay - kFirstDay + 1);
}

// The doubles the native build stores for the same fields, on this build's arithmetic.
TEST(DateTimeOracle, FieldsGiveTheValuesEveryBuildStores)
{
    EXPECT_EQ(testutil::DateSweepFingerprint(), testutil::kDateSweepFingerprint);
}

} // namespace
