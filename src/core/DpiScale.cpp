#include "DpiScale.h"

#include <algorithm>

namespace {

constexpr int kMaxDpi = 960;

} // namespace

int ScaleForDpi(int pixels, int dpi)
{
    dpi = std::clamp(dpi, kBaseDpi, kMaxDpi);
    // Halves round away from zero, as the system's own scaling does.
    const long long scaled = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kBaseDpi / 2) / kBaseDpi : -((-scaled + kBaseDpi / 2) / kBaseDpi));
}

int ArtSize(int base, int step)
{
    return base * (4 + std::clamp(step, 0, kLastArtStep)) / 4;
}

int ArtStep(int wanted, int base)
{
    int step = 0;
    while (step < kLastArtStep && ArtSize(base, step + 1) <= wanted)
        ++step;
    return step;
}

int ArtResourceId(int baseId, int step)
{
    return baseId + 1000 * std::clamp(step, 0, kLastArtStep);
}
