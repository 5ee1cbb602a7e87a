#pragma once

// The alarm check runs once per minute, on the first timer tick whose UTC minute differs
// from the last one seen. Comparing only the minute field means a clock change that
// keeps the minute (a whole hour, a time-zone switch) runs nothing for that tick.
//
// Returns true, and remembers the minute, when the tick starts a new minute.
inline bool TakeNewMinute(int& lastMinute, int minute)
{
    if (minute == lastMinute)
        return false;
    lastMinute = minute;
    return true;
}

// Runs check on every item of notes, in order, when the tick starts a new minute.
template <class Notes, class Check>
bool RunMinuteGate(int& lastMinute, int minute, Notes& notes, Check check)
{
    if (!TakeNewMinute(lastMinute, minute))
        return false;
    for (auto& note : notes)
        check(note);
    return true;
}
