#include "core/AlarmAgenda.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DateTime At(int y, int mo, int d, int h, int mi)
{
    return DateTime::FromFields(y, mo, d, h, mi, 0);
}

std::vector<std::string> Shown(const std::vector<DateTime>& firings)
{
    std::vector<std::string> out;
    for (const DateTime& t : firings) {
        char text[32];
        std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d", t.Year(), t.Month(), t.Day(), t.Hour(),
                      t.Minute());
        out.push_back(text);
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(UpcomingAlarmMinutes, TheWindowRunsFromTheNextMinuteToTheSameMinuteAWeekOn)
{
    AlarmSet alarms;
    alarms.daily[0].enabled = true;
    alarms.daily[0].when = At(2000, 1, 1, 9, 30);
    alarms.daily[1].enabled = true;
    alarms.daily[1].when = At(2000, 1, 1, 9, 31);
    const Lines firings = Shown(UpcomingAlarmMinutes(alarms, DateTime::FromFields(2026, 12, 7, 9, 30, 40), 7));
    ASSERT_EQ(firings.size(), 14u) << "not the minute of now, but the one a week on";
    EXPECT_EQ(firings.front(), "2026-12-07 09:31");
    EXPECT_EQ(firings[1], "2026-12-08 09:30");
    EXPECT_EQ(firings.back(), "2026-12-14 09:30");
    EXPECT_TRUE(UpcomingAlarmMinutes(alarms, DateTime::Invalid(), 7).empty());
    alarms.daily[0].enabled = alarms.daily[1].enabled = false;
    EXPECT_TRUE(UpcomingAlarmMinutes(alarms, At(2026, 12, 7, 9, 30), 7).empty());
}

TEST(UpcomingAlarmMinutes, MonthEndsAndLeapDaysAreNotClamped)
{
    AlarmSet alarms;
    alarms.monthly[0].enabled = true;
    alarms.monthly[0].day = 31;
    alarms.monthly[0].when = At(2000, 1, 1, 8, 0);
    EXPECT_EQ(Shown(UpcomingAlarmMinutes(alarms, At(2026, 4, 27, 12, 0), 7)), Lines{}) << "April has 30 days";
    EXPECT_EQ(Shown(UpcomingAlarmMinutes(alarms, At(2026, 12, 27, 12, 0), 7)), Lines{"2026-12-31 08:00"});

    AlarmSet leap;
    leap.yearly[0].enabled = true;
    leap.yearly[0].month = 2;
    leap.yearly[0].day = 29;
    leap.yearly[0].when = At(2000, 1, 1, 7, 0);
    EXPECT_EQ(Shown(UpcomingAlarmMinutes(leap, At(2027, 2, 25, 0, 0), 7)), Lines{});
    EXPECT_EQ(Shown(UpcomingAlarmMinutes(leap, At(2028, 2, 25, 0, 0), 7)), Lines{"2028-02-29 07:00"});
}

TEST(UpcomingAlarmMinutes, AcrossTheYearEndWithEveryKindOncePerMinute)
{
    AlarmSet alarms;
    alarms.general[0].enabled = true;
    alarms.general[0].when = At(2027, 1, 2, 10, 0);
    alarms.weekly[0].enabled = true;
    alarms.weekly[0].weekday = 6; // Friday
    alarms.weekly[0].when = At(2000, 1, 1, 10, 0);
    alarms.yearly[0].enabled = true;
    alarms.yearly[0].month = 1;
    alarms.yearly[0].day = 1;
    alarms.yearly[0].when = At(2000, 1, 1, 10, 0);
    alarms.general[1].enabled = true;
    alarms.general[1].when = At(2026, 12, 20, 10, 0); // passed
    EXPECT_EQ(Shown(UpcomingAlarmMinutes(alarms, At(2026, 12, 30, 23, 0), 7)),
              (Lines{"2027-01-01 10:00", "2027-01-02 10:00"}))
        << "1 January 2027 is a Friday: the weekly and yearly slots fire together, once";
}

} // namespace
