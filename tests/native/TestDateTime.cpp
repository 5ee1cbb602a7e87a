#include "core/DateTime.h"
#include "../common/DateSweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// All seven fields in one comparable string; "none" when the date-time has no fields.
std::string FieldsOf(const DateTime& dt)
{
    if (!dt.HasFields()) {
        const bool allMinusOne = dt.Year() == -1 && dt.Month() == -1 && dt.Day() == -1 && dt.Hour() == -1 &&
                                 dt.Minute() == -1 && dt.Second() == -1 && dt.DayOfWeek() == -1;
        return allMinusOne ? "none" : "none, but a field query is not -1";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d w%d", dt.Year(), dt.Month(), dt.Day(), dt.Hour(),
                  dt.Minute(), dt.Second(), dt.DayOfWeek());
    return text;
}

std::string FieldsAt(double value)
{
    return FieldsOf(DateTime::FromValue(value));
}

TEST(DateTime, DefaultIsTheValidStampOfApril1974)
{
    const DateTime dt;
    EXPECT_TRUE(dt.IsValid());
    EXPECT_EQ(dt.Value(), kDefaultStampValue);
    EXPECT_EQ(FieldsOf(dt), "1974-04-15 10:30:00 w2");
    EXPECT_EQ(DateTime::FromFields(1974, 4, 15, 10, 30, 0), dt);
}

TEST(DateTime, FieldsAtTheEndsOfTheRange)
{
    EXPECT_EQ(FieldsAt(-657434), "0100-01-01 00:00:00 w6");
    EXPECT_EQ(FieldsAt(-657434.5), "0100-01-01 12:00:00 w6");
    EXPECT_EQ(FieldsAt(2958465), "9999-12-31 00:00:00 w6");
    EXPECT_EQ(FieldsAt(2958465.99998), "9999-12-31 23:59:58 w6");
    EXPECT_EQ(FieldsAt(-657435), "none");
    EXPECT_EQ(FieldsAt(2958466), "none");
    // Rounds up into the year 10000.
    EXPECT_EQ(FieldsAt(2958465.99999999), "none");
}

TEST(DateTime, NegativeValuesCountTheFractionForwardInTheDay)
{
    EXPECT_EQ(FieldsAt(0), "1899-12-30 00:00:00 w7");
    EXPECT_EQ(FieldsAt(-0.0), "1899-12-30 00:00:00 w7");
    EXPECT_EQ(FieldsAt(-0.5), "1899-12-30 12:00:00 w7");
    EXPECT_EQ(FieldsAt(-1.25), "1899-12-29 06:00:00 w6");
    EXPECT_EQ(FieldsAt(-2.75), "1899-12-28 18:00:00 w5");
}

TEST(DateTime, RoundsToTheNearestSecondAcrossDaysAndYears)
{
    EXPECT_EQ(FieldsAt(5.9999999), "1900-01-05 00:00:00 w6");
    EXPECT_EQ(FieldsAt(36525.99999999), "2000-01-01 00:00:00 w7");
    // Past midnight of a day before 1899-12-30 is the next day, not the one before.
    EXPECT_EQ(FieldsAt(-1.9999999), "1899-12-30 00:00:00 w7");
    EXPECT_EQ(FieldsAt(-0.9999999), "1899-12-31 00:00:00 w1");
    EXPECT_EQ(FieldsAt(-657434.99999999), "0100-01-02 00:00:00 w7");

    // 1/256 of a day is exactly 5 min 37.5 s: a true half second rounds up, later in the
    // day on both sides of 1899-12-30, and the double just below it rounds down.
    const double half = 1.0 / 256;
    EXPECT_EQ(FieldsAt(half), "1899-12-30 00:05:38 w7");
    EXPECT_EQ(FieldsAt(std::nextafter(half, 0.0)), "1899-12-30 00:05:37 w7");
    EXPECT_EQ(FieldsAt(1 + half), "1899-12-31 00:05:38 w1");
    EXPECT_EQ(FieldsAt(-1 - half), "1899-12-29 00:05:38 w6");
    EXPECT_EQ(FieldsAt(std::nextafter(-1 - half, 0.0)), "1899-12-29 00:05:37 w6");
    EXPECT_EQ(FieldsAt(std::numeric_limits<double>::denorm_min()), "1899-12-30 00:00:00 w7");
}

TEST(DateTime, NonFiniteAndHugeValuesAreValidButHaveNoFields)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double value : {std::nan(""), -std::nan(""), inf, -inf, 1e300, -1e300, 9.3e18, -9.3e18,
                         std::numeric_limits<double>::max()}) {
        const DateTime dt = DateTime::FromValue(value);
        EXPECT_TRUE(dt.IsValid()) << value;
        EXPECT_EQ(FieldsOf(dt), "none") << value;
    }
}

TEST(DateTime, LeapDaysFollowTheGregorianRule)
{
    EXPECT_EQ(DateTime::FromFields(2000, 2, 29, 0, 0, 0).Value(), 36585.0);
    EXPECT_EQ(FieldsAt(36585), "2000-02-29 00:00:00 w3");
    EXPECT_FALSE(DateTime::FromFields(1900, 2, 29, 0, 0, 0).IsValid());
    EXPECT_FALSE(DateTime::FromFields(2100, 2, 29, 0, 0, 0).IsValid());
    EXPECT_EQ(FieldsAt(61), "1900-03-01 00:00:00 w5");
    EXPECT_EQ(FieldsAt(60), "1900-02-28 00:00:00 w4");
}

TEST(DateTime, FieldsThatAreNoRealDateTimeGiveAnInvalidOne)
{
    const int cases[][6] = {
        {2001, 0, 1, 0, 0, 0},   {2001, 13, 1, 0, 0, 0},   {2001, 1, 0, 0, 0, 0},   {2001, 1, 32, 0, 0, 0},
        {2004, 2, 30, 0, 0, 0},  {2003, 2, 29, 0, 0, 0},   {2001, 4, 31, 0, 0, 0},  {2001, 1, 1, 24, 0, 0},
        {2001, 1, 1, -1, 0, 0},  {2001, 1, 1, 0, 60, 0},   {2001, 1, 1, 0, 0, 60},  {2001, 1, 1, 0, 0, -1},
        {99, 12, 31, 23, 59, 59}, {10000, 1, 1, 0, 0, 0}, {-2001, 1, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const DateTime dt = DateTime::FromFields(c[0], c[1], c[2], c[3], c[4], c[5]);
        EXPECT_FALSE(dt.IsValid()) << c[0] << '-' << c[1] << '-' << c[2] << ' ' << c[3] << ':' << c[4] << ':' << c[5];
        EXPECT_EQ(FieldsOf(dt), "none");
        EXPECT_EQ(dt, DateTime::Invalid());
    }
}

TEST(DateTime, FieldsToValueKeepsTheMagnitudeRuleBefore1899)
{
    EXPECT_EQ(DateTime::FromFields(1899, 12, 29, 6, 0, 0).Value(), -1.25);
    EXPECT_EQ(DateTime::FromFields(1899, 12, 30, 12, 0, 0).Value(), 0.5);
    EXPECT_EQ(DateTime::FromFields(100, 1, 1, 0, 0, 0).Value(), -657434.0);
    EXPECT_EQ(DateTime::FromFields(9999, 12, 31, 0, 0, 0).Value(), 2958465.0);
}

// Every second of the days around 1899-12-30 and of the first and last day, and one
// second of every day in between, comes back unchanged from its value.
TEST(DateTime, FieldsRoundTripAtSecondResolution)
{
    auto roundTrips = [](int y, int mo, int d, int secondOfDay) {
        const int h = secondOfDay / 3600, mi = secondOfDay / 60 % 60, s = secondOfDay % 60;
        const DateTime dt = DateTime::FromFields(y, mo, d, h, mi, s);
        const DateTime back = DateTime::FromValue(dt.Value());
        return dt.IsValid() && back.Year() == y && back.Month() == mo && back.Day() == d && back.Hour() == h &&
               back.Minute() == mi && back.Second() == s;
    };
    const int days[][3] = {{100, 1, 1}, {1899, 12, 28}, {1899, 12, 29}, {1899, 12, 30}, {1899, 12, 31}, {9999, 12, 31}};
    for (const auto& d : days)
        for (int t = 0; t < 86400; ++t)
            ASSERT_TRUE(roundTrips(d[0], d[1], d[2], t)) << d[0] << '-' << d[1] << '-' << d[2] << " second " << t;

    int count = 0;
    for (int y = 100; y <= 9999; ++y)
        for (int mo = 1; mo <= 12; ++mo)
            for (int d = 1; d <= 31; ++d) {
                if (!DateTime::FromFields(y, mo, d, 0, 0, 0).IsValid())
                    continue;
                ++count;
                ASSERT_TRUE(roundTrips(y, mo, d, static_cast<int>(count * 7919LL % 86400))) << y << '-' << mo << '-' << d;
            }
    EXPECT_EQ(count, 2958465 + 657434 + 1);
}

TEST(DateTime, FieldsGiveTheValuesEveryBuildStores)
{
    EXPECT_EQ(testutil::DateSweepFingerprint(), testutil::kDateSweepFingerprint);
}

TEST(DateTime, EqualityComparesBitsAndStatus)
{
    EXPECT_NE(DateTime::FromValue(0.0), DateTime::FromValue(-0.0));
    EXPECT_EQ(DateTime::FromValue(std::nan("")), DateTime::FromValue(std::nan("")));
    EXPECT_NE(DateTime::FromValue(DateTime::Invalid().Value()), DateTime::Invalid());
    EXPECT_EQ(DateTime::FromValue(27134.4375), DateTime());
}

} // namespace
