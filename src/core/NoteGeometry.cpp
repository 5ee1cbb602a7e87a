#include "NoteGeometry.h"

#include <algorithm>

namespace {

constexpr int kEdge = 3;
constexpr int kCaptionBottom = 24;
constexpr int kInfoHeight = 21;
constexpr int kInfoFontHeight = 18;
constexpr int kInfoIndent = 4;
constexpr int kCorner = 16;
constexpr int kGripWidth = 16;
constexpr int kStripRightFromRight = 13;
constexpr int kTitleIndent = 4;
constexpr int kMinShrink = 50;
constexpr int kGrowStep = 50;

int Edge(int dpi)
{
    return ScaleForDpi(kEdge, dpi);
}

int CaptionBottom(int dpi)
{
    return ScaleForDpi(kCaptionBottom, dpi);
}

int InfoHeight(int dpi)
{
    return ScaleForDpi(kInfoHeight, dpi);
}

// The strip is six whole cells, so its left edge follows from its right one.
int StripLeftFromRight(int dpi)
{
    return ScaleForDpi(kStripRightFromRight, dpi) + kButtonCount * ButtonSize(dpi);
}

} // namespace

int ButtonSize(int dpi)
{
    return ScaleForDpi(kButtonSize, dpi);
}

int RolledWidth(int dpi)
{
    return ScaleForDpi(kRolledWidth, dpi);
}

int RolledHeight(int dpi)
{
    return ScaleForDpi(kRolledHeight, dpi);
}

int LineWidth(int dpi)
{
    return ScaleForDpi(1, dpi);
}

int InfoFontHeight(int dpi)
{
    return ScaleForDpi(kInfoFontHeight, dpi);
}

int InfoIndent(int dpi)
{
    return ScaleForDpi(kInfoIndent, dpi);
}

int GripLineReach(int line, int dpi)
{
    return ScaleForDpi(4 * (line + 1), dpi);
}

Box CaptionBox(int w, int, int dpi)
{
    return {Edge(dpi), Edge(dpi), w - Edge(dpi), CaptionBottom(dpi)};
}

Box ButtonStripBox(int w, int, int dpi)
{
    const int edge = Edge(dpi);
    return {w - StripLeftFromRight(dpi), edge, w - ScaleForDpi(kStripRightFromRight, dpi), edge + ButtonSize(dpi)};
}

Box ButtonCell(int w, int index, int dpi)
{
    const int size = ButtonSize(dpi);
    const int left = w - StripLeftFromRight(dpi) + size * index;
    return {left, Edge(dpi), left + size, Edge(dpi) + size};
}

Box TitleBox(int w, int h, int dpi)
{
    // The title may run under the first button, which paints over it.
    const Box caption = CaptionBox(w, h, dpi);
    return {caption.left + ScaleForDpi(kTitleIndent, dpi), caption.top, caption.right - ButtonStripBox(w, h, dpi).Width(),
            caption.bottom};
}

Box TextBox(int w, int h, int dpi)
{
    return {Edge(dpi), CaptionBottom(dpi), w - Edge(dpi), h - InfoHeight(dpi)};
}

Box InfoBox(int w, int h, int dpi)
{
    const int edge = Edge(dpi);
    return {edge, h - InfoHeight(dpi), w - edge - ScaleForDpi(kGripWidth, dpi), h - edge};
}

Box GripBox(int w, int h, int dpi)
{
    const int edge = Edge(dpi);
    return {w - edge - ScaleForDpi(kGripWidth, dpi), h - InfoHeight(dpi), w - edge, h - edge};
}

HitZone NoteHitTest(int w, int h, int x, int y, int dpi)
{
    const int edge = Edge(dpi);
    const int corner = ScaleForDpi(kCorner, dpi);
    struct Row {
        Box box;
        HitZone zone;
    };
    const Row rows[] = {
        {GripBox(w, h, dpi), HitZone::BottomRight},
        {CaptionBox(w, h, dpi), HitZone::Caption},
        {{0, 0, edge, corner}, HitZone::TopLeft},
        {{0, corner, edge, h - corner}, HitZone::Left},
        {{0, h - corner, edge, h}, HitZone::BottomLeft},
        {{0, 0, corner, edge}, HitZone::TopLeft},
        {{corner, 0, w - corner, edge}, HitZone::Top},
        {{w - corner, 0, w, edge}, HitZone::TopRight},
        {{w - edge, 0, w, corner}, HitZone::TopRight},
        {{w - edge, corner, w, h - corner}, HitZone::Right},
        {{w - edge, h - corner, w, h}, HitZone::BottomRight},
        {{0, h - edge, corner, h}, HitZone::BottomLeft},
        {{corner, h - edge, w - corner, h}, HitZone::Bottom},
        {{w - corner, h - edge, w, h}, HitZone::BottomRight},
    };
    for (const Row& row : rows) {
        if (row.box.Contains(x, y))
            return row.zone;
    }
    return HitZone::Client;
}

std::vector<Box> RollSteps(const Box& current, int unrolledWidth, int unrolledHeight, int dpi)
{
    const bool rollingUp = !IsRolledUp(current, dpi);
    const int minShrink = ScaleForDpi(kMinShrink, dpi);
    const int growStep = ScaleForDpi(kGrowStep, dpi);
    const Box target = rollingUp ? Box{current.left, current.top, current.left + RolledWidth(dpi), current.top + RolledHeight(dpi)}
                                 : Box{current.left, current.top, current.left + unrolledWidth, current.top + unrolledHeight};
    std::vector<Box> steps;
    Box now = current;
    int step = growStep;
    while (!(now == target)) {
        if (rollingUp) {
            const int shrink = std::max(now.Width() / 4, minShrink);
            now.right = std::max(now.right - shrink, target.right);
            now.bottom = std::max(now.bottom - shrink, target.bottom);
        } else {
            // A target smaller than the window is reached in one step.
            now.right = now.right < target.right ? std::min(now.right + step, target.right) : target.right;
            now.bottom = now.bottom < target.bottom ? std::min(now.bottom + step, target.bottom) : target.bottom;
            step += growStep;
        }
        steps.push_back(now);
    }
    return steps;
}
