#pragma once
#include <vector>

// The fixed layout of a note window, in window coordinates of a W x H window whose
// whole area is client area. Left and top edges are inside, right and bottom outside.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Box& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

constexpr int kButtonCount = 6;
constexpr int kButtonSize = 20;
// Smallest size by the mouse, and the size of a rolled-up note.
constexpr int kRolledWidth = 225;
constexpr int kRolledHeight = 45;

Box CaptionBox(int w, int h);
Box ButtonStripBox(int w, int h);
Box ButtonCell(int w, int index);
Box TitleBox(int w, int h);
Box TextBox(int w, int h);
Box InfoBox(int w, int h);
Box GripBox(int w, int h);

// What a point of the window does for the mouse.
enum class HitZone { Client, Caption, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// Grip and caption first, then 3-pixel edges whose corner zones reach 16 pixels along
// both edges; the rest is client area.
HitZone NoteHitTest(int w, int h, int x, int y);

// A note counts as rolled up exactly when it is no taller than its caption band.
inline bool IsRolledUp(const Box& window)
{
    return window.Height() <= kRolledHeight;
}

// The rectangles a roll passes through, in order, ending at the target; empty when the
// window already has the target size. The top-left corner never moves.
// Rolling up shrinks by a quarter of the current width (at least 50) per step; rolling
// back grows by 50, 100, 150, ... per step.
std::vector<Box> RollSteps(const Box& current, int unrolledWidth, int unrolledHeight);
