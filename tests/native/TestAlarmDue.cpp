#include "core/AlarmSet.h"

#include <gtest/gtest.h>

namespace {

DateTime At(int y, int mo, int d, int h, int mi, int s = 0)
{
    return DateTime::FromFields(y, mo, d, h, mi, s);
}

TEST(FindDueAlarm, NothingEnabledNothingDue)
{
    AlarmSet alarms;
    alarms.daily[0].when = At(2000, 1, 1, 10, 30);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 10, 30)), 0);
    EXPECT_EQ(FindDueAlarm(alarms, DateTime::Invalid()), 0);
}

TEST(FindDueAlarm, GeneralSlotOnlyAtItsMinuteSecondsIgnored)
{
    AlarmSet alarms;
    alarms.general[3].enabled = true;
    alarms.general[3].when = At(2026, 12, 7, 8, 15, 42);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 8, 15, 0)), 1);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 8, 15, 59)), 1);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 8, 16)), 0);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 8, 8, 15)), 0) << "a passed general slot never again";
    EXPECT_EQ(FindDueAlarm(alarms, At(2025, 12, 7, 8, 15)), 0);
    alarms.general[3].when = DateTime::Invalid();
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 8, 15)), 0) << "no fields, no match";
}

TEST(FindDueAlarm, DailyAndWeeklyRepeat)
{
    AlarmSet alarms;
    alarms.daily[5].enabled = true;
    alarms.daily[5].sound = false;
    alarms.daily[5].when = At(1999, 3, 3, 8, 15);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 8, 15)), -1);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 8, 8, 15)), -1) << "again the next day";
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 8, 20, 15)), 0);

    AlarmSet weekly;
    weekly.weekly[0].enabled = true;
    weekly.weekly[0].weekday = 2; // Monday
    weekly.weekly[0].when = At(2000, 1, 1, 9, 0);
    EXPECT_EQ(FindDueAlarm(weekly, At(2026, 12, 7, 9, 0)), 1) << "7 December 2026 is a Monday";
    EXPECT_EQ(FindDueAlarm(weekly, At(2026, 12, 8, 9, 0)), 0);
    for (int bad : {0, 8, -1}) {
        weekly.weekly[0].weekday = bad;
        EXPECT_EQ(FindDueAlarm(weekly, At(2026, 12, 7, 9, 0)), 0) << bad;
    }
}

TEST(FindDueAlarm, MonthlyAndYearlyDaysAreNeverClamped)
{
    AlarmSet alarms;
    alarms.monthly[0].enabled = true;
    alarms.monthly[0].day = 31;
    alarms.monthly[0].when = At(2000, 1, 1, 7, 0);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 31, 7, 0)), 1);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 11, 30, 7, 0)), 0) << "no last-day rule";
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 2, 28, 7, 0)), 0);
    alarms.monthly[0].day = 32;
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 31, 7, 0)), 0);

    AlarmSet leap;
    leap.yearly[4].enabled = true;
    leap.yearly[4].month = 2;
    leap.yearly[4].day = 29;
    leap.yearly[4].when = At(2000, 1, 1, 12, 0);
    EXPECT_EQ(FindDueAlarm(leap, At(2028, 2, 29, 12, 0)), 1);
    EXPECT_EQ(FindDueAlarm(leap, At(2027, 3, 1, 12, 0)), 0);
    EXPECT_EQ(FindDueAlarm(leap, At(2027, 2, 28, 12, 0)), 0);
    leap.yearly[4].day = 30;
    for (int year = 2024; year < 2032; ++year) {
        for (int day = 28; day <= 29; ++day) {
            if (DateTime::FromFields(year, 2, day, 12, 0, 0).IsValid()) {
                EXPECT_EQ(FindDueAlarm(leap, At(year, 2, day, 12, 0)), 0);
            }
        }
    }
    leap.yearly[4].month = 13;
    leap.yearly[4].day = 1;
    EXPECT_EQ(FindDueAlarm(leap, At(2027, 1, 1, 12, 0)), 0);
}

TEST(FindDueAlarm, FirstDueSlotInKindOrderDecidesTheSound)
{
    AlarmSet alarms;
    alarms.daily[0].enabled = true;
    alarms.daily[0].when = At(2000, 1, 1, 6, 30);
    alarms.general[5].enabled = true;
    alarms.general[5].sound = false;
    alarms.general[5].when = At(2026, 12, 7, 6, 30);
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 7, 6, 30)), -1) << "a silent general slot comes first";
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 8, 6, 30)), 1);
    alarms.daily[0].sound = false;
    alarms.daily[1] = alarms.daily[0];
    alarms.daily[1].sound = true;
    EXPECT_EQ(FindDueAlarm(alarms, At(2026, 12, 8, 6, 30)), -1) << "slot 1 before slot 2";
}

} // namespace
