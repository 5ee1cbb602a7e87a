#pragma once
#include "AlarmSet.h"

#include <vector>

// The minutes in which the set's alarms will fire, from the minute after now's up to
// and including the same minute `days` days later, in time order. They follow the due
// rule exactly (that rule decides each minute), so a note fires at most once a minute,
// a monthly day 31 skips the shorter months and a yearly 29 February waits for a leap
// year. Empty when now has no fields or lies before 1900.
std::vector<DateTime> UpcomingAlarmMinutes(const AlarmSet& alarms, const DateTime& now, int days);
