#include "Placement.h"

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

} // namespace

NoteRect RandomNoteRect(int workWidth, int workHeight, unsigned seed)
{
    NoteRandom random(seed);
    const int x = DrawBetween(random, workWidth / 20, workWidth - workWidth / 3);
    const int y = DrawBetween(random, workHeight / 20, workHeight - workHeight / 3);
    return NoteRect{x, y, x + workWidth / 3, y + workHeight / 3};
}

bool IsUsableNoteSize(const NoteRect& rect, int workWidth, int workHeight)
{
    // 64-bit differences: the corners may lie at the ends of the 32-bit range.
    const long long width = static_cast<long long>(rect.right) - rect.left;
    const long long height = static_cast<long long>(rect.bottom) - rect.top;
    return width > 0 && height > 0 && width <= workWidth && height <= workHeight;
}
