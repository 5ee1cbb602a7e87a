#pragma once
#include "DpiScale.h"

#include <vector>

// The fixed layout of a note window, in window coordinates of a W x H window whose
// whole area is client area. Left and top edges are inside, right and bottom outside.
// Every length is designed at 96 dpi and scaled to the window's DPI.
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
// Smallest size by the mouse, and the size of a rolled-up note, at 96 dpi.
constexpr int kRolledWidth = 225;
constexpr int kRolledHeight = 45;

int ButtonSize(int dpi);
int RolledWidth(int dpi);
int RolledHeight(int dpi);
// Line widths of the frame: the border around the note and the separator of the info line.
int LineWidth(int dpi);
int InfoFontHeight(int dpi);
int InfoIndent(int dpi);
// The grip's three diagonal lines end this far from its bottom-right corner.
int GripLineReach(int line, int dpi);

Box CaptionBox(int w, int h, int dpi);
Box ButtonStripBox(int w, int h, int dpi);
Box ButtonCell(int w, int index, int dpi);
Box TitleBox(int w, int h, int dpi);
Box TextBox(int w, int h, int dpi);
Box InfoBox(int w, int h, int dpi);
Box GripBox(int w, int h, int dpi);

// What a point of the window does for the mouse.
enum class HitZone { Client, Caption, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// Grip and caption first, then edges (3 pixels at 96 dpi) whose corner zones reach 16
// pixels along both edges; the rest is client area.
HitZone NoteHitTest(int w, int h, int x, int y, int dpi);

// A note counts as rolled up exactly when it is no taller than its caption band.
inline bool IsRolledUp(const Box& window, int dpi)
{
    return window.Height() <= RolledHeight(dpi);
}

// The rectangles a roll passes through, in order, ending at the target; empty when the
// window already has the target size. The top-left corner never moves.
// Rolling up shrinks by a quarter of the current width (at least 50 at 96 dpi) per
// step; rolling back grows by 50, 100, 150, ... per step.
std::vector<Box> RollSteps(const Box& current, int unrolledWidth, int unrolledHeight, int dpi);
