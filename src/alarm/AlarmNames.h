#pragma once
#include <string>

// The names the alarm pages show for weekdays, months and days, from the string table;
// empty for a number out of range. The reverse gives 0 for a text that is no name.
std::string WeekdayName(int weekday);
int WeekdayFromName(const std::string& text);
std::string MonthName(int month);
int MonthFromName(const std::string& text);
std::string DayName(int day);
int DayFromName(const std::string& text);
