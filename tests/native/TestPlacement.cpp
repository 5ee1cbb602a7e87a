#include "core/Placement.h"

#include <gtest/gtest.h>

#include <ostream>

bool operator==(const NoteRect& a, const NoteRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PrintTo(const NoteRect& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

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

// Primary, a taller screen to its right, and one to the upper left of the primary.
const WorkAreas kScreens = {{0, 0, 1280, 770}, {1280, 0, 2560, 1024}, {-1024, -300, 0, 468}};

TEST(OpeningNoteRect, KeptOnAnyScreenByEitherCorner)
{
    // On the second screen, on the one at negative coordinates, across two, and shown
    // only by its lower corner.
    for (const NoteRect kept : {NoteRect{1500, 200, 1800, 400}, NoteRect{-900, -250, -600, -50},
                                NoteRect{1100, 600, 1400, 900}, NoteRect{-1100, -400, -800, -200}}) {
        SCOPED_TRACE(kept.left);
        EXPECT_EQ(OpeningNoteRect(kept, kScreens, 7), kept);
    }
    EXPECT_EQ(OpeningNoteRect({2560, 0, 2900, 300}, kScreens, 7), RandomNoteRect(1280, 770, 7))
        << "a right edge is outside";
    EXPECT_EQ(OpeningNoteRect({3000, 2000, 3300, 2200}, {{0, 40, 1280, 800}}, 9), RandomNoteRect(1280, 760, 9));
    EXPECT_TRUE(IsLostNote({0, 770, 300, 1000}, kScreens));
    EXPECT_FALSE(IsLostNote({1279, 769, 1500, 1000}, kScreens));
}

TEST(OpeningNoteRect, SizesAreFittedToTheScreenOfTheCornerFound)
{
    EXPECT_EQ(OpeningNoteRect({1300, 10, 2581, 500}, kScreens, 1), (NoteRect{1280, 10, 2560, 500}))
        << "one pixel too wide";
    EXPECT_EQ(OpeningNoteRect({1300, 10, 1600, 1100}, kScreens, 1), (NoteRect{1300, 0, 1600, 1024}))
        << "the taller screen";
    EXPECT_EQ(OpeningNoteRect({-2000, 100, 300, 300}, kScreens, 1), (NoteRect{0, 100, 1280, 300}))
        << "by the lower corner";
    EXPECT_EQ(OpeningNoteRect({100, 100, 102, 102}, kScreens, 1), (NoteRect{100, 100, 325, 145}));
    EXPECT_EQ(OpeningNoteRect({500, 400, 100, 50}, kScreens, 1), (NoteRect{500, 400, 725, 445})) << "upside down";
    EXPECT_EQ(OpeningNoteRect({5000, 5000, 100, 50}, kScreens, 1), RandomNoteRect(1280, 770, 1))
        << "grown from a corner no screen shows";
}

TEST(OpeningNoteRect, CornersAtTheEndsOfTheRange)
{
    const int low = -2147483647 - 1, high = 2147483647;
    EXPECT_EQ(OpeningNoteRect({low, low, high, high}, kScreens, 3), RandomNoteRect(1280, 770, 3));
    EXPECT_EQ(OpeningNoteRect({0, 0, high, high}, kScreens, 3), (NoteRect{0, 0, 1280, 770}));
    EXPECT_EQ(OpeningNoteRect({low, low, 10, 10}, kScreens, 3), (NoteRect{0, 0, 1280, 770}));
    EXPECT_EQ(OpeningNoteRect({high, high, low, low}, kScreens, 3), RandomNoteRect(1280, 770, 3));
}

} // namespace
