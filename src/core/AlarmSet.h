#pragma once
#include "DateTime.h"

#include <array>
#include <cstdint>

// The thirty alarm slots of a note: six of each kind. A new note has every slot at its
// default, none enabled.
struct AlarmSlot {
    bool enabled = false;
    bool sound = true;
    DateTime when;
};

struct GeneralAlarm : AlarmSlot {};
struct DailyAlarm : AlarmSlot {};

struct WeeklyAlarm : AlarmSlot {
    std::int32_t weekday = 1; // 1 = Sunday ... 7 = Saturday
};

struct MonthlyAlarm : AlarmSlot {
    std::int32_t day = 15;
};

struct YearlyAlarm : AlarmSlot {
    std::int32_t month = 4;
    std::int32_t day = 15;
};

// Slots are the same when every stored field is.
inline bool operator==(const AlarmSlot& a, const AlarmSlot& b)
{
    return a.enabled == b.enabled && a.sound == b.sound && a.when == b.when;
}
inline bool operator==(const WeeklyAlarm& a, const WeeklyAlarm& b)
{
    return static_cast<const AlarmSlot&>(a) == b && a.weekday == b.weekday;
}
inline bool operator==(const MonthlyAlarm& a, const MonthlyAlarm& b)
{
    return static_cast<const AlarmSlot&>(a) == b && a.day == b.day;
}
inline bool operator==(const YearlyAlarm& a, const YearlyAlarm& b)
{
    return static_cast<const AlarmSlot&>(a) == b && a.month == b.month && a.day == b.day;
}

constexpr int kAlarmSlotsPerKind = 6;
// The stored form of the whole set inside a note file.
constexpr std::size_t kAlarmBlockSize = 396;

struct AlarmSet {
    std::array<GeneralAlarm, kAlarmSlotsPerKind> general;
    std::array<DailyAlarm, kAlarmSlotsPerKind> daily;
    std::array<WeeklyAlarm, kAlarmSlotsPerKind> weekly;
    std::array<MonthlyAlarm, kAlarmSlotsPerKind> monthly;
    std::array<YearlyAlarm, kAlarmSlotsPerKind> yearly;
};

class ByteWriter;
class ByteReader;

// The 396-byte block: in every slot the sound byte comes before the enabled byte, and a
// yearly slot keeps its day before its month.
void WriteAlarmBlock(ByteWriter& out, const AlarmSet& alarms);
bool ReadAlarmBlock(ByteReader& in, AlarmSet& alarms);

// Which alarm of the set names the minute of now (its seconds are not compared): the
// first due slot in the order general, daily, weekly, monthly, yearly, slot 1 to 6
// decides. +1 when that slot asks for the sound, -1 when it does not, 0 when none is
// due. Stored numbers are taken as they are: a day 31 never matches a 30-day month,
// a weekday 0 never matches, and a when without calendar fields matches nothing.
int FindDueAlarm(const AlarmSet& alarms, const DateTime& now);
