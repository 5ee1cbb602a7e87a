#include "core/Placement.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomNoteRect, ThirdOfTheAreaWithinBounds)
{
    for (unsigned seed = 0; seed < 1000; ++seed) {
        const NoteRect r = RandomNoteRect(1280, 770, seed);
        ASSERT_GE(r.left, 64);
        ASSERT_LE(r.left, 1280 - 426);
        ASSERT_GE(r.top, 38);
        ASSERT_LE(r.top, 770 - 256);
        ASSERT_EQ(r.right - r.left, 426);
        ASSERT_EQ(r.bottom - r.top, 256);
    }
}

TEST(RandomNoteRect, SameMillisecondSamePlace)
{
    const NoteRect a = RandomNoteRect(1024, 738, 417);
    const NoteRect b = RandomNoteRect(1024, 738, 417);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    int differ = 0;
    for (unsigned seed = 0; seed < 50; ++seed)
        differ += RandomNoteRect(1024, 738, seed).left != a.left;
    EXPECT_GT(differ, 40) << "the seed moves the note";
}

TEST(RandomNoteRect, OddWorkAreasEndWithoutDrawingForever)
{
    // No work area at all, a negative one, and one wider than any draw reaches.
    EXPECT_EQ(RandomNoteRect(0, 0, 1).left, 0);
    const NoteRect negative = RandomNoteRect(-30, -30, 1);
    EXPECT_EQ(negative.left, -1);
    const NoteRect huge = RandomNoteRect(2000000, 600, 5);
    EXPECT_EQ(huge.left, 32767);
    EXPECT_GE(huge.top, 30);
}

TEST(IsUsableNoteSize, PositiveAndNoLargerThanTheWorkArea)
{
    EXPECT_TRUE(IsUsableNoteSize({10, 10, 310, 210}, 1280, 770));
    EXPECT_TRUE(IsUsableNoteSize({0, 0, 1280, 770}, 1280, 770)) << "maximised";
    EXPECT_FALSE(IsUsableNoteSize({0, 0, 1281, 200}, 1280, 770));
    EXPECT_FALSE(IsUsableNoteSize({500, 400, 100, 50}, 1280, 770)) << "upside down";
    EXPECT_FALSE(IsUsableNoteSize({5, 5, 5, 100}, 1280, 770));
    EXPECT_FALSE(IsUsableNoteSize({-2147483647 - 1, 0, 2147483647, 100}, 1280, 770));
}

} // namespace
