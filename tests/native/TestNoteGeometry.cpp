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
    EXPECT_EQ(CaptionBox(300, 200), (Box{3, 3, 297, 24}));
    EXPECT_EQ(ButtonStripBox(300, 200), (Box{167, 3, 287, 23}));
    EXPECT_EQ(TitleBox(300, 200), (Box{7, 3, 177, 24}));
    EXPECT_EQ(TextBox(300, 200), (Box{3, 24, 297, 179}));
    EXPECT_EQ(InfoBox(300, 200), (Box{3, 179, 281, 197}));
    EXPECT_EQ(GripBox(300, 200), (Box{281, 179, 297, 197}));
    EXPECT_EQ(ButtonCell(300, 0), (Box{167, 3, 187, 23}));
    EXPECT_EQ(ButtonCell(300, 5), (Box{267, 3, 287, 23}));
    // Rolled up: no text area, the info band just under the caption.
    EXPECT_EQ(TextBox(225, 45).Height(), 0);
    EXPECT_EQ(InfoBox(225, 45), (Box{3, 24, 206, 42}));
}

TEST(NoteGeometry, HitTestZonesOnSeveralSizes)
{
    for (auto [w, h] : {std::pair{300, 200}, std::pair{225, 45}, std::pair{1024, 700}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        EXPECT_EQ(NoteHitTest(w, h, w - 10, h - 10), HitZone::BottomRight) << "grip";
        EXPECT_EQ(NoteHitTest(w, h, w - 19, h - 21), HitZone::BottomRight) << "grip corner";
        EXPECT_EQ(NoteHitTest(w, h, 3, 3), HitZone::Caption);
        EXPECT_EQ(NoteHitTest(w, h, w - 4, 23), HitZone::Caption);
        EXPECT_EQ(NoteHitTest(w, h, 0, 0), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(w, h, 2, 15), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(w, h, 15, 2), HitZone::TopLeft);
        EXPECT_EQ(NoteHitTest(w, h, 16, 0), HitZone::Top);
        EXPECT_EQ(NoteHitTest(w, h, w - 17, 2), HitZone::Top);
        EXPECT_EQ(NoteHitTest(w, h, w - 16, 0), HitZone::TopRight);
        EXPECT_EQ(NoteHitTest(w, h, w - 1, 15), HitZone::TopRight);
        EXPECT_EQ(NoteHitTest(w, h, 1, h - 1), HitZone::BottomLeft);
        EXPECT_EQ(NoteHitTest(w, h, 15, h - 2), HitZone::BottomLeft);
        EXPECT_EQ(NoteHitTest(w, h, 16, h - 1), HitZone::Bottom);
        EXPECT_EQ(NoteHitTest(w, h, w - 1, h - 1), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(w, h, w - 1, h - 16), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(w, h, w - 2, h - 2), HitZone::BottomRight);
        EXPECT_EQ(NoteHitTest(w, h, 3, h - 4), HitZone::Client) << "info band";
        if (h > 45) {
            EXPECT_EQ(NoteHitTest(w, h, 0, h / 2), HitZone::Left);
            EXPECT_EQ(NoteHitTest(w, h, w - 1, h / 2), HitZone::Right);
            EXPECT_EQ(NoteHitTest(w, h, w / 2, h / 2), HitZone::Client);
        }
    }
    // Outside the window nothing matches.
    EXPECT_EQ(NoteHitTest(300, 200, 300, 100), HitZone::Client);
}

TEST(RollSteps, UpAndBackThroughTheStatedSizes)
{
    const Box open{40, 60, 340, 260};
    const auto up = RollSteps(open, 0, 0);
    EXPECT_EQ(Sizes(up), (std::vector<std::pair<int, int>>{{225, 125}, {225, 69}, {225, 45}}));
    for (const Box& b : up) {
        EXPECT_EQ(b.left, 40);
        EXPECT_EQ(b.top, 60);
    }
    const auto back = RollSteps(up.back(), 300, 200);
    EXPECT_EQ(Sizes(back), (std::vector<std::pair<int, int>>{{275, 95}, {300, 195}, {300, 200}}));
    EXPECT_EQ(back.back(), open);
}

TEST(RollSteps, EdgeSizes)
{
    // Narrower than a rolled-up note: it widens while it shrinks in height.
    EXPECT_EQ(Sizes(RollSteps({0, 0, 150, 100}, 0, 0)), (std::vector<std::pair<int, int>>{{225, 50}, {225, 45}}));
    // Exactly 45 high counts as rolled up, so the command rolls back.
    EXPECT_EQ(RollSteps({0, 0, 225, 45}, 341, 256).back(), (Box{0, 0, 341, 256}));
    // Nothing to do when the window has the target size already.
    EXPECT_TRUE(RollSteps({5, 5, 230, 50}, 225, 45).empty());
    // A rolled-up window wider than its unrolled size comes back in steps that end exactly.
    EXPECT_EQ(RollSteps({0, 0, 500, 40}, 300, 200).back(), (Box{0, 0, 300, 200}));
}

} // namespace
