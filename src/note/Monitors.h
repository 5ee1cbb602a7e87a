#pragma once
#include "../core/Placement.h"

#include <windows.h>

// The work area of every monitor, the primary monitor's first; never empty.
WorkAreas MonitorWorkAreas();
// The primary monitor's work area.
RECT PrimaryWorkArea();
// The work area of the monitor a window is on, or of the one nearest to it (with a
// test's list: the one under the window's centre, else the primary's).
RECT WindowWorkArea(HWND hwnd);

// Seam for tests: the listed work areas stand for the monitors (a test display shows
// only one); an empty list gives back the real ones.
void SetMonitorWorkAreas(const WorkAreas& areas);
