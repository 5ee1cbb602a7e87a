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
