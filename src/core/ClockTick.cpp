#include "ClockTick.h"

#include <algorithm>

namespace {

// Timers may fire early by a tick of the system clock; this much past the change keeps
// the clock from reading the old time and waiting a whole minute more.
constexpr int kPastMs = 30;
// How late a tick may come and still be taken as on time: a clock is never this far
// behind the real one.
constexpr int kLateMs = 200;

} // namespace

int ClockDelayMs(bool showsSeconds, int second, int millisecond)
{
    second = std::clamp(second, 0, 59);
    millisecond = std::clamp(millisecond, 0, 999);
    const int toNextSecond = 1000 - millisecond;
    if (showsSeconds)
        return toNextSecond + kPastMs;
    return (59 - second) * 1000 + toNextSecond + kPastMs;
}

bool ClockTickCameOnTime(bool showsSeconds, int second, int millisecond)
{
    return millisecond >= 0 && millisecond < kLateMs && (showsSeconds || second == 0);
}

std::size_t SharedStart(std::u16string_view a, std::u16string_view b)
{
    const std::size_t most = std::min(a.size(), b.size());
    std::size_t shared = 0;
    while (shared < most && a[shared] == b[shared])
        ++shared;
    // A surrogate pair is drawn as one: never split it.
    if (shared > 0 && shared < most && a[shared - 1] >= 0xD800 && a[shared - 1] <= 0xDBFF)
        --shared;
    return shared;
}
