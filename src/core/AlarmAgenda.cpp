#include "AlarmAgenda.h"

#include <algorithm>

namespace {

constexpr double kMinute = 1.0 / 1440.0;

// The clock times the enabled slots ask for: every firing falls on one of them.
template <typename Slots>
void AddTimes(const Slots& slots, std::vector<int>& minutesOfDay)
{
    for (const auto& slot : slots) {
        if (slot.enabled && slot.when.HasFields())
            minutesOfDay.push_back(slot.when.Hour() * 60 + slot.when.Minute());
    }
}

} // namespace

std::vector<DateTime> UpcomingAlarmMinutes(const AlarmSet& alarms, const DateTime& now, int days)
{
    std::vector<DateTime> firings;
    if (!now.HasFields() || days <= 0)
        return firings;
    const DateTime start = DateTime::FromFields(now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(), 0);
    const DateTime midnight = DateTime::FromFields(now.Year(), now.Month(), now.Day(), 0, 0, 0);
    // Before 1900 a date's value counts the other way within the day: not a clock's date.
    if (!start.IsValid() || midnight.Value() < 0)
        return firings;

    std::vector<int> times;
    AddTimes(alarms.general, times);
    AddTimes(alarms.daily, times);
    AddTimes(alarms.weekly, times);
    AddTimes(alarms.monthly, times);
    AddTimes(alarms.yearly, times);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());

    // Half a minute either side keeps the rounding of the values out of the comparison.
    const double first = start.Value() + kMinute / 2;
    const double last = start.Value() + days + kMinute / 2;
    for (int d = 0; d <= days; ++d) {
        const DateTime day = DateTime::FromValue(midnight.Value() + d);
        if (!day.HasFields())
            break;
        for (int time : times) {
            const DateTime at = DateTime::FromFields(day.Year(), day.Month(), day.Day(), time / 60, time % 60, 0);
            if (at.Value() > first && at.Value() < last && FindDueAlarm(alarms, at) != 0)
                firings.push_back(at);
        }
    }
    return firings;
}
