#pragma once
#include <windows.h>

namespace testutil {

// Committed private memory of a process, counted region by region: not every system
// reports it through the process counters.
inline double PrivateBytes(HANDLE process = ::GetCurrentProcess())
{
    double total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (const char* address = nullptr;
         ::VirtualQueryEx(process, address, &info, sizeof(info)) == sizeof(info) && info.RegionSize != 0;
         address = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<double>(info.RegionSize);
    }
    return total;
}

} // namespace testutil
