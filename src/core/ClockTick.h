#pragma once
#include <cstddef>
#include <string_view>

// Milliseconds from a time of day to the next change of a clock on a note's info line:
// the next second for a clock that shows seconds, else the next minute; a little past
// it, so that the clock then reads the new time.
int ClockDelayMs(bool showsSeconds, int second, int millisecond);

// Whether a clock's tick came soon after the change it waited for: a timer that keeps
// coming then goes on at its period, and one that drifted, or came early, is set again.
bool ClockTickCameOnTime(bool showsSeconds, int second, int millisecond);

// How many characters two texts of the info line share from their start: a clock's new
// text is drawn from the first one that differs.
std::size_t SharedStart(std::u16string_view a, std::u16string_view b);
