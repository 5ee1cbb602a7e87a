#include "AlarmNames.h"

#include "../core/TextRules.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <vector>

namespace {

std::string Name(UINT base, int count, int n)
{
    return n >= 1 && n <= count ? fw::LoadResString(base + static_cast<UINT>(n)) : std::string();
}

int FromName(UINT base, int count, const std::string& text)
{
    std::vector<std::string> names;
    for (int n = 1; n <= count; ++n)
        names.push_back(fw::LoadResString(base + static_cast<UINT>(n)));
    return FindNameIndex(names, text, &fw::IsAnsiLeadByte);
}

} // namespace

std::string WeekdayName(int weekday)
{
    return Name(IDS_WEEKDAY_BASE, 7, weekday);
}

int WeekdayFromName(const std::string& text)
{
    return FromName(IDS_WEEKDAY_BASE, 7, text);
}

std::string MonthName(int month)
{
    return Name(IDS_MONTH_BASE, 12, month);
}

int MonthFromName(const std::string& text)
{
    return FromName(IDS_MONTH_BASE, 12, text);
}

std::string DayName(int day)
{
    return Name(IDS_DAY_BASE, 31, day);
}

int DayFromName(const std::string& text)
{
    return FromName(IDS_DAY_BASE, 31, text);
}
