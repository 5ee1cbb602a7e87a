#include "NoteGeometry.h"

#include <algorithm>

namespace {

constexpr int kEdge = 3;
constexpr int kCaptionBottom = 24;
constexpr int kInfoHeight = 21;
constexpr int kCorner = 16;
constexpr int kGripWidth = 16;
constexpr int kStripLeftFromRight = 133;
constexpr int kStripRightFromRight = 13;
constexpr int kTitleIndent = 4;
constexpr int kMinShrink = 50;
constexpr int kGrowStep = 50;

} // namespace

Box CaptionBox(int w, int)
{
    return {kEdge, kEdge, w - kEdge, kCaptionBottom};
}

Box ButtonStripBox(int w, int)
{
    return {w - kStripLeftFromRight, kEdge, w - kStripRightFromRight, kEdge + kButtonSize};
}

Box ButtonCell(int w, int index)
{
    const int left = w - kStripLeftFromRight + kButtonSize * index;
    return {left, kEdge, left + kButtonSize, kEdge + kButtonSize};
}

Box TitleBox(int w, int h)
{
    // The title may run under the first button, which paints over it.
    const Box caption = CaptionBox(w, h);
    return {caption.left + kTitleIndent, caption.top, caption.right - ButtonStripBox(w, h).Width(), caption.bottom};
}

Box TextBox(int w, int h)
{
    return {kEdge, kCaptionBottom, w - kEdge, h - kInfoHeight};
}

Box InfoBox(int w, int h)
{
    return {kEdge, h - kInfoHeight, w - kEdge - kGripWidth, h - kEdge};
}

Box GripBox(int w, int h)
{
    return {w - kEdge - kGripWidth, h - kInfoHeight, w - kEdge, h - kEdge};
}

HitZone NoteHitTest(int w, int h, int x, int y)
{
    struct Row {
        Box box;
        HitZone zone;
    };
    const Row rows[] = {
        {GripBox(w, h), HitZone::BottomRight},
        {CaptionBox(w, h), HitZone::Caption},
        {{0, 0, kEdge, kCorner}, HitZone::TopLeft},
        {{0, kCorner, kEdge, h - kCorner}, HitZone::Left},
        {{0, h - kCorner, kEdge, h}, HitZone::BottomLeft},
        {{0, 0, kCorner, kEdge}, HitZone::TopLeft},
        {{kCorner, 0, w - kCorner, kEdge}, HitZone::Top},
        {{w - kCorner, 0, w, kEdge}, HitZone::TopRight},
        {{w - kEdge, 0, w, kCorner}, HitZone::TopRight},
        {{w - kEdge, kCorner, w, h - kCorner}, HitZone::Right},
        {{w - kEdge, h - kCorner, w, h}, HitZone::BottomRight},
        {{0, h - kEdge, kCorner, h}, HitZone::BottomLeft},
        {{kCorner, h - kEdge, w - kCorner, h}, HitZone::Bottom},
        {{w - kCorner, h - kEdge, w, h}, HitZone::BottomRight},
    };
    for (const Row& row : rows) {
        if (row.box.Contains(x, y))
            return row.zone;
    }
    return HitZone::Client;
}

std::vector<Box> RollSteps(const Box& current, int unrolledWidth, int unrolledHeight)
{
    const bool rollingUp = !IsRolledUp(current);
    const Box target = rollingUp ? Box{current.left, current.top, current.left + kRolledWidth, current.top + kRolledHeight}
                                 : Box{current.left, current.top, current.left + unrolledWidth, current.top + unrolledHeight};
    std::vector<Box> steps;
    Box now = current;
    int step = kGrowStep;
    while (!(now == target)) {
        if (rollingUp) {
            const int shrink = std::max(now.Width() / 4, kMinShrink);
            now.right = std::max(now.right - shrink, target.right);
            now.bottom = std::max(now.bottom - shrink, target.bottom);
        } else {
            // A target smaller than the window is reached in one step.
            now.right = now.right < target.right ? std::min(now.right + step, target.right) : target.right;
            now.bottom = now.bottom < target.bottom ? std::min(now.bottom + step, target.bottom) : target.bottom;
            step += kGrowStep;
        }
        steps.push_back(now);
    }
    return steps;
}
