#pragma once
// Dates across the whole range, each at a time that changes from day to day, turned
// into stored values and folded into one fingerprint. Every build must store the very
// same doubles for the same fields: the 32-bit build computes on the x87, which keeps
// excess precision in its registers, the 64-bit build with SSE. The native tests and
// the Windows-side tests of each build check the one figure below.
#include "core/DateTime.h"

#include <cstdint>
#include <cstring>

namespace testutil {

constexpr std::uint64_t kDateSweepFingerprint = 15052748049401734793ull;

inline std::uint64_t DateSweepFingerprint()
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (std::int64_t day = -657434; day <= 2958465; ++day) {
        const DateTime date = DateTime::FromValue(static_cast<double>(day));
        const int second = static_cast<int>((day * 7919 % 86400 + 86400) % 86400);
        const double value = DateTime::FromFields(date.Year(), date.Month(), date.Day(), second / 3600,
                                                  second / 60 % 60, second % 60)
                                 .Value();
        unsigned char bytes[8];
        std::memcpy(bytes, &value, sizeof bytes);
        for (unsigned char b : bytes)
            hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

} // namespace testutil
