#include "Placement.h"

#include "NoteGeometry.h"

#include <cstdint>

namespace {

constexpr int kMaxDraw = 32767;

int DrawBetween(NoteRandom& random, int low, int high)
{
    if (low > high || low > kMaxDraw)
        return low > kMaxDraw ? kMaxDraw : low;
    int v = 0;
    while (v < low || v > high)
        v = random.Draw();
    return v;
}

// Corners of stored rectangles may lie at the ends of the 32-bit range, so sizes and
// corrected corners are worked out in 64 bits.
struct WideRect {
    long long left;
    long long top;
    long long right;
    long long bottom;
};

WideRect Widen(const NoteRect& r)
{
    return WideRect{r.left, r.top, r.right, r.bottom};
}

bool FitsInt32(const WideRect& r)
{
    for (long long v : {r.left, r.top, r.right, r.bottom})
        if (v < INT32_MIN || v > INT32_MAX)
            return false;
    return true;
}

int AreaAt(const WorkAreas& areas, long long x, long long y)
{
    for (int i = 0; i < static_cast<int>(areas.size()); ++i) {
        const NoteRect& a = areas[i];
        if (x >= a.left && x < a.right && y >= a.top && y < a.bottom)
            return i;
    }
    return -1;
}

bool IsLost(const WideRect& r, const WorkAreas& areas)
{
    return AreaAt(areas, r.left, r.top) < 0 && AreaAt(areas, r.right, r.bottom) < 0;
}

// One side of a kept note. Longer than its work area, it can only fit by covering the
// area exactly; shorter than a note can be sized by the mouse, it grows from its start.
void FitSide(long long& start, long long& end, long long areaStart, long long areaEnd, long long least)
{
    if (end - start > areaEnd - areaStart) {
        start = areaStart;
        end = areaEnd;
    }
    if (end - start < least)
        end = start + least;
}

} // namespace

NoteRect RandomNoteRect(int workWidth, int workHeight, unsigned seed)
{
    NoteRandom random(seed);
    const int x = DrawBetween(random, workWidth / 20, workWidth - workWidth / 3);
    const int y = DrawBetween(random, workHeight / 20, workHeight - workHeight / 3);
    return NoteRect{x, y, x + workWidth / 3, y + workHeight / 3};
}

bool IsLostNote(const NoteRect& rect, const WorkAreas& areas)
{
    return IsLost(Widen(rect), areas);
}

NoteRect OpeningNoteRect(const NoteRect& stored, const WorkAreas& areas, unsigned seed)
{
    if (areas.empty())
        return stored;
    WideRect rect = Widen(stored);
    int home = AreaAt(areas, rect.left, rect.top);
    if (home < 0)
        home = AreaAt(areas, rect.right, rect.bottom);
    if (home >= 0) {
        const NoteRect& area = areas[home];
        FitSide(rect.left, rect.right, area.left, area.right, kRolledWidth);
        FitSide(rect.top, rect.bottom, area.top, area.bottom, kRolledHeight);
        // An upside-down rectangle found by its lower corner can grow off every screen.
        if (!IsLost(rect, areas) && FitsInt32(rect))
            return NoteRect{static_cast<std::int32_t>(rect.left), static_cast<std::int32_t>(rect.top),
                            static_cast<std::int32_t>(rect.right), static_cast<std::int32_t>(rect.bottom)};
    }
    const NoteRect& primary = areas.front();
    return RandomNoteRect(primary.right - primary.left, primary.bottom - primary.top, seed);
}
