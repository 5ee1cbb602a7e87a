#include "core/ClockTick.h"

#include <gtest/gtest.h>

TEST(ClockTick, TicksJustPastTheNextSecondOrMinute)
{
    EXPECT_EQ(ClockDelayMs(true, 10, 0), 1030);
    EXPECT_EQ(ClockDelayMs(true, 10, 999), 31);
    EXPECT_EQ(ClockDelayMs(false, 59, 500), 530);
    EXPECT_EQ(ClockDelayMs(false, 0, 0), 60030);
    // A leap second or a wrong reading never makes a delay past a minute or below zero.
    EXPECT_EQ(ClockDelayMs(false, 60, 1200), 31);
    // A tick just before the change would show the old time for a whole period.
    EXPECT_TRUE(ClockTickCameOnTime(true, 10, 40));
    EXPECT_FALSE(ClockTickCameOnTime(true, 10, 990));
    EXPECT_FALSE(ClockTickCameOnTime(true, 10, 450));
    EXPECT_FALSE(ClockTickCameOnTime(false, 1, 40));
    EXPECT_EQ(ClockDelayMs(false, -1, -1), 60030);
    EXPECT_TRUE(ClockTickCameOnTime(false, 0, 0));
    EXPECT_TRUE(ClockTickCameOnTime(true, 59, 199));
    EXPECT_FALSE(ClockTickCameOnTime(true, 59, 200));
    EXPECT_FALSE(ClockTickCameOnTime(false, 59, 0));
    EXPECT_FALSE(ClockTickCameOnTime(true, 0, -1));
}

TEST(ClockTick, SharedStartStopsAtTheFirstDifferenceAndKeepsSurrogatePairsWhole)
{
    EXPECT_EQ(SharedStart(u"09:15:00", u"09:15:01"), 7u);
    EXPECT_EQ(SharedStart(u"9:59", u"10:00"), 0u);
    EXPECT_EQ(SharedStart(u"abc", u"abc"), 3u);
    EXPECT_EQ(SharedStart(u"x\xD83D\xDE00", u"x\xD83D\xDE01"), 1u);
    // The first and last high surrogates start a pair; a low one ends it.
    EXPECT_EQ(SharedStart(u"\xD800\xDC00", u"\xD800\xDC01"), 0u);
    EXPECT_EQ(SharedStart(u"\xDBFF\xDFFF", u"\xDBFF\xDC00"), 0u);
    EXPECT_EQ(SharedStart(u"\xD800\xDC00x", u"\xD800\xDC00y"), 2u);
}
