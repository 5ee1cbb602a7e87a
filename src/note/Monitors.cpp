#include "Monitors.h"

namespace {

WorkAreas g_fakeAreas;

NoteRect ToNoteRect(const RECT& r)
{
    return NoteRect{r.left, r.top, r.right, r.bottom};
}

RECT ToRect(const NoteRect& r)
{
    return RECT{r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto& areas = *reinterpret_cast<WorkAreas*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info))
        return TRUE;
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        areas.insert(areas.begin(), ToNoteRect(info.rcWork));
    else
        areas.push_back(ToNoteRect(info.rcWork));
    return TRUE;
}

} // namespace

WorkAreas MonitorWorkAreas()
{
    if (!g_fakeAreas.empty())
        return g_fakeAreas;
    WorkAreas areas;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&areas));
    // Without a monitor the list says nothing; the desktop's work area still places notes.
    if (areas.empty()) {
        RECT work = {};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        areas.push_back(ToNoteRect(work));
    }
    return areas;
}

RECT PrimaryWorkArea()
{
    return ToRect(MonitorWorkAreas().front());
}

RECT WindowWorkArea(HWND hwnd)
{
    if (g_fakeAreas.empty()) {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info))
            return info.rcWork;
        return PrimaryWorkArea();
    }
    RECT window = {};
    ::GetWindowRect(hwnd, &window);
    const POINT centre = {window.left + (window.right - window.left) / 2,
                          window.top + (window.bottom - window.top) / 2};
    for (const NoteRect& area : g_fakeAreas) {
        const RECT work = ToRect(area);
        if (::PtInRect(&work, centre))
            return work;
    }
    return ToRect(g_fakeAreas.front());
}

void SetMonitorWorkAreas(const WorkAreas& areas)
{
    g_fakeAreas = areas;
}
