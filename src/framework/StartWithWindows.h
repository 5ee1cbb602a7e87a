#pragma once

// Whether Windows starts this program when the user logs on: the value "Pinvel" of the
// user's Run key holding the program's full path in quotes. A value naming another path
// (the program was moved) does not count.
bool IsStartingWithWindows();
// Writes that value with the current path, or removes it. False when the registry
// refused.
bool SetStartWithWindows(bool start);
