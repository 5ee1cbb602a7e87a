#include "AlarmSet.h"

namespace {

struct Now {
    int year, month, day, hour, minute, weekday;
};

bool SameTime(const DateTime& when, const Now& now)
{
    // An invalid or out-of-range when gives -1 here, which no clock reading has.
    return when.Hour() == now.hour && when.Minute() == now.minute;
}

template <typename Slots, typename Matches>
int FirstDue(const Slots& slots, const Now& now, Matches matches)
{
    for (const auto& slot : slots) {
        if (slot.enabled && SameTime(slot.when, now) && matches(slot))
            return slot.sound ? 1 : -1;
    }
    return 0;
}

} // namespace

int FindDueAlarm(const AlarmSet& alarms, const DateTime& now)
{
    if (!now.HasFields())
        return 0;
    const Now n{now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(), now.DayOfWeek()};
    if (int due = FirstDue(alarms.general, n, [&](const GeneralAlarm& s) {
            return s.when.Year() == n.year && s.when.Month() == n.month && s.when.Day() == n.day;
        }))
        return due;
    if (int due = FirstDue(alarms.daily, n, [](const DailyAlarm&) { return true; }))
        return due;
    if (int due = FirstDue(alarms.weekly, n, [&](const WeeklyAlarm& s) { return s.weekday == n.weekday; }))
        return due;
    if (int due = FirstDue(alarms.monthly, n, [&](const MonthlyAlarm& s) { return s.day == n.day; }))
        return due;
    return FirstDue(alarms.yearly, n, [&](const YearlyAlarm& s) { return s.month == n.month && s.day == n.day; });
}
