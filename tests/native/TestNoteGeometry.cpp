#include "core/NoteGeometry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> Sizes(const std::vector<Box>& steps)
{
    std::vector<std::pair<int, int>> sizes;
    for (const Box& b : steps)
        sizes.emplace_back(b.Width(), b.Height());
    return sizes;
}

TEST(NoteGeometry, RectanglesOfA300By200Window)
{
    EXPECT_EQ(CaptionBox(300, 200, 96), (Box{3, 3, 297, 24}));
    EXPECT_EQ(ButtonStripBox(300, 200, 96), (Box{167, 3, 287, 23}));
    EXPECT_EQ(TitleBox(300, 200, 96), (Box{7, 3, 177, 24}));
    EXPECT_EQ(TextBox(300, 200, 96), (Box{3, 24, 297, 179}));
    EXPECT_EQ(InfoBox(300, 200, 96), (Box{3, 179, 281, 197}));
    EXPECT_EQ(GripBox(300, 200, 96), (Box{281, 179, 297, 197}));
    EXPECT_EQ(ButtonCell(300, 0, 96), (Box{167, 3, 187, 23}));
    EXPECT_EQ(ButtonCell(300, 5, 96), (Box{267, 3, 287, 23}));
    // Rolled up: no text area, the info band just under the caption.
    EXPECT_EQ(TextBox(225, 45, 96).Height(), 0);
    EXPECT_EQ(InfoBox(225, 45, 96), (Box{3, 24, 206, 42}));
}

TEST(NoteGeometry, HitTestZonesOnSeveralSizes)
{
    for (auto [w, h] : {std::pair{300, 200}, std::pair{225, 45}, std::pair{1024, 700}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        EXPECT_EQ(NoteHitTest(w, h, w - 10, h - 10, 96), HitZone::BottomRight) << "grip";
        EXPECT_EQ(NoteHitTest(w, h, w - 19, h - 21, 96), HitZone::BottomRight) << "grip corner";
        EXPECT_EQ(NoteHitTest(w, h, 3, 3, 96), HitZone::Caption);
        EXPECT_EQ(NoteHitTest(w, h, w - 4, 23, 96), HitZone::Caption);
        EXPECT_EQ(NoteHitTest(w, h, 0, 0, 96), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(w, h, 2, 15, 96), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(w, h, 15, 2, 96), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(w, h, 16, 0, 96), HitZone::Top);
        EXPECT_EQ(NoteHitTest(w, h, w - 17, 2, 96), HitZone::Top);
        EXPECT_EQ(NoteHitTest(w, h, w - 16, 0, 96), HitZone::TopRight);
        EXPECT_EQ(NoteHitTest(w, h, w - 1, 15, 96), HitZone::TopRight);
        EXPECT_EQ(NoteHitTest(w, h, 1, h - 1, 96), HitZone::BottomLeft);
        EXPECT_EQ(NoteHitTest(w, h, 15, h - 2, 96), HitZone::BottomLeft);
        EXPECT_EQ(NoteHitTest(w, h, 16, h - 1, 96), HitZone::Bottom);
        EXPECT_EQ(NoteHitTest(w, h, w - 1, h - 1, 96), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(w, h, w - 1, h - 16, 96), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(w, h, w - 2, h - 2, 96), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(w, h, 3, h - 4, 96), HitZone::Client) << "info band";
        if (h > 45) {
            EXPECT_EQ(NoteHitTest(w, h, 0, h / 2, 96), HitZone::Left);
            EXPECT_EQ(NoteHitTest(w, h, w - 1, h / 2, 96), HitZone::Right);
            EXPECT_EQ(NoteHitTest(w, h, w / 2, h / 2, 96), HitZone::Client);
        }
    }
    // Outside the window nothing matches.
    EXPECT_EQ(NoteHitTest(300, 200, 300, 100, 96), HitZone::Client);
}

TEST(RollSteps, UpAndBackThroughTheStatedSizes)
{
    const Box open{40, 60, 340, 260};
    const auto up = RollSteps(open, 0, 0, 96);
    EXPECT_EQ(Sizes(up), (std::vector<std::pair<int, int>>{{225, 125}, {225, 69}, {225, 45}}));
    for (const Box& b : up) {
        EXPECT_EQ(b.left, 40);
        EXPECT_EQ(b.top, 60);
    }
    const auto back = RollSteps(up.back(), 300, 200, 96);
    EXPECT_EQ(Sizes(back), (std::vector<std::pair<int, int>>{{275, 95}, {300, 195}, {300, 200}}));
    EXPECT_EQ(back.back(), open);
}

TEST(RollSteps, EdgeSizes)
{
    // Narrower than a rolled-up note: it widens while it shrinks in height.
    EXPECT_EQ(Sizes(RollSteps({0, 0, 150, 100}, 0, 0, 96)), (std::vector<std::pair<int, int>>{{225, 50}, {225, 45}}));
    // Exactly 45 high counts as rolled up, so the command rolls back.
    EXPECT_EQ(RollSteps({0, 0, 225, 45}, 341, 256, 96).back(), (Box{0, 0, 341, 256}));
    // Nothing to do when the window has the target size already.
    EXPECT_TRUE(RollSteps({5, 5, 230, 50}, 225, 45, 96).empty());
    // A rolled-up window wider than its unrolled size comes back in steps that end exactly.
    EXPECT_EQ(RollSteps({0, 0, 500, 40}, 300, 200, 96).back(), (Box{0, 0, 300, 200}));
}


TEST(NoteGeometry, ScaledLayoutsAt120And144And192Dpi)
{
    struct Case {
        int dpi, w, h;
        Box caption, firstCell, lastCell, text, info, grip;
        int rolledWidth, rolledHeight;
    };
    const Case cases[] = {
        {120, 375, 250, {4, 4, 371, 30}, {209, 4, 234, 29}, {334, 4, 359, 29}, {4, 30, 371, 224}, {4, 224, 351, 246},
         {351, 224, 371, 246}, 281, 56},
        {144, 450, 300, {5, 5, 445, 36}, {250, 5, 280, 35}, {400, 5, 430, 35}, {5, 36, 445, 268}, {5, 268, 421, 295},
         {421, 268, 445, 295}, 338, 68},
        {192, 600, 400, {6, 6, 594, 48}, {334, 6, 374, 46}, {534, 6, 574, 46}, {6, 48, 594, 358}, {6, 358, 562, 394},
         {562, 358, 594, 394}, 450, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(CaptionBox(c.w, c.h, c.dpi), c.caption);
        EXPECT_EQ(ButtonCell(c.w, 0, c.dpi), c.firstCell);
        EXPECT_EQ(ButtonCell(c.w, 5, c.dpi), c.lastCell);
        EXPECT_EQ(ButtonStripBox(c.w, c.h, c.dpi), (Box{c.firstCell.left, c.firstCell.top, c.lastCell.right, c.lastCell.bottom}));
        EXPECT_EQ(TextBox(c.w, c.h, c.dpi), c.text);
        EXPECT_EQ(InfoBox(c.w, c.h, c.dpi), c.info);
        EXPECT_EQ(GripBox(c.w, c.h, c.dpi), c.grip);
        EXPECT_EQ(RolledWidth(c.dpi), c.rolledWidth);
        EXPECT_EQ(RolledHeight(c.dpi), c.rolledHeight);
        // The edges and corners grow with the rest: the mouse finds them at their new size.
        const int edge = c.caption.left;
        EXPECT_EQ(NoteHitTest(c.w, c.h, edge - 1, c.h / 2, c.dpi), HitZone::Left);
        EXPECT_EQ(NoteHitTest(c.w, c.h, edge, c.h / 2, c.dpi), HitZone::Client);
        EXPECT_EQ(NoteHitTest(c.w, c.h, c.w / 2, c.caption.bottom - 1, c.dpi), HitZone::Caption);
        EXPECT_EQ(NoteHitTest(c.w, c.h, c.grip.left, c.grip.top, c.dpi), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(c.w, c.h, 0, ScaleForDpi(16, c.dpi) - 1, c.dpi), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(c.w, c.h, 0, ScaleForDpi(16, c.dpi), c.dpi), HitZone::Left);
    }
    // A note rolled up at 96 dpi and carried to a 144-dpi screen is still rolled up there.
    EXPECT_TRUE(IsRolledUp({0, 0, 338, 67}, 144));
    EXPECT_EQ(Sizes(RollSteps({0, 0, 450, 300}, 0, 0, 144)),
              (std::vector<std::pair<int, int>>{{338, 188}, {338, 104}, {338, 68}}));
}

TEST(NoteGeometry, DrawingSizesAreNeverStretchedByAFraction)
{
    EXPECT_EQ(ScaleForDpi(3, 144), 5) << "halves round up";
    EXPECT_EQ(ScaleForDpi(20, 72), 20) << "never below 96 dpi";
    EXPECT_EQ(ArtStep(ButtonSize(144), kButtonSize), 2);
    EXPECT_EQ(ArtStep(ButtonSize(106), kButtonSize), 0) << "22 px cell: the 20 px drawing";
    EXPECT_EQ(ArtStep(ButtonSize(240), kButtonSize), 4) << "past 200 %: the largest";
    EXPECT_EQ(ArtSize(16, ArtStep(ScaleForDpi(16, 168), 16)), 28);
    EXPECT_EQ(ArtResourceId(141, ArtStep(30, 20)), 2141);
}

} // namespace
