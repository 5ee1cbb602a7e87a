#include "core/Versions.h"

#include <gtest/gtest.h>

namespace {

TEST(Versions, NamesCarryTheMomentAndReadBackOnlyForTheirOwnNote)
{
    const VersionStamp when{2026, 12, 7, 16, 5, 9, 1};
    EXPECT_EQ(VersionFileName(L"N021215 (1).pvl", when), L"N021215 (1) 2026-12-07 160509.pvl");
    VersionStamp second = when;
    second.count = 2;
    const std::wstring twice = VersionFileName(L"N021215 (1).pvl", second);
    EXPECT_EQ(twice, L"N021215 (1) 2026-12-07 160509 (2).pvl");

    VersionStamp read;
    ASSERT_TRUE(ParseVersionFileName(twice, L"n021215 (1).PVL", read));
    EXPECT_EQ(StampSeconds(read), StampSeconds(when));
    EXPECT_EQ(read.count, 2);
    // Another note whose name starts the same, and names that are no version.
    for (const wchar_t* other : {L"N021215 (1) 2026-12-07 160509.pvl"}) {
        EXPECT_FALSE(ParseVersionFileName(other, L"N021215 (11).pvl", read));
        EXPECT_FALSE(ParseVersionFileName(other, L"N021215.pvl", read));
    }
    for (const wchar_t* bad : {L"N021215 (1).pvl", L"N021215 (1) 2026-13-07 160509.pvl",
                               L"N021215 (1) 2026-12-07 160509 (1).pvl", L"N021215 (1) 2026-12-07 160509.txt"})
        EXPECT_FALSE(ParseVersionFileName(bad, L"N021215 (1).pvl", read)) << bad;
}

TEST(Versions, KeptByHourThenDayUpToThirtyDaysAndTheSizeCap)
{
    const std::int64_t now = StampSeconds({2026, 12, 7, 16, 30, 0, 1});
    const auto at = [&](std::int64_t ago) { return VersionFacts{now - ago, 100}; };
    const std::vector<VersionFacts> newestFirst = {
        at(60), at(1200), at(3000),          // the last hour: all three
        at(3 * 3600), at(3 * 3600 + 600),    // one clock hour (13:30, 13:20): the newer
        at(5 * 3600 + 60),                   // 11:29: another hour
        at(2 * 86400), at(2 * 86400 + 3600), // one day: the newer
        at(29 * 86400), at(31 * 86400),      // the last of the thirty days, and past them
    };
    const std::vector<bool> kept = VersionsToKeep(newestFirst, now, 1 << 20);
    EXPECT_EQ(kept, (std::vector<bool>{true, true, true, true, false, true, true, false, true, false}));

    // The cap counts from the newest; a version too large is dropped, not its neighbours.
    std::vector<VersionFacts> big = {at(60), {now - 120, 5000}, at(180)};
    EXPECT_EQ(VersionsToKeep(big, now, 1000), (std::vector<bool>{true, false, true}));
}

TEST(Versions, SizesReadAsInTheMenu)
{
    EXPECT_EQ(SizeText(850), "850 B");
    EXPECT_EQ(SizeText(1229), "1.2 KB");
    EXPECT_EQ(SizeText(3565158), "3.4 MB");
}

} // namespace
