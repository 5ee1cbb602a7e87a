#include "core/Versions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kDay = 24 * kHour;

// A version replaced at a UTC moment, in a zone shownAhead seconds ahead of UTC.
VersionFacts At(std::int64_t seconds, std::uint64_t bytes = 100, std::int64_t shownAhead = 0)
{
    VersionFacts facts;
    facts.seconds = seconds;
    facts.shownSeconds = seconds + shownAhead;
    facts.bytes = bytes;
    return facts;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

TEST(Versions, NamesCarryTheMomentAndReadBackOnlyForTheirOwnNote)
{
    const VersionStamp when{2026, 12, 7, 16, 5, 9, 1};
    EXPECT_EQ(VersionFileName(L"N021215 (1).pvl", when), L"N021215 (1) 2026-12-07 160509Z.pvl");
    VersionStamp second = when;
    second.count = 2;
    const std::wstring twice = VersionFileName(L"N021215 (1).pvl", second);
    EXPECT_EQ(twice, L"N021215 (1) 2026-12-07 160509Z (2).pvl");

    VersionStamp read;
    ASSERT_TRUE(ParseVersionFileName(twice, L"n021215 (1).PVL", read));
    EXPECT_EQ(StampSeconds(read), StampSeconds(when));
    EXPECT_EQ(read.count, 2);
    EXPECT_TRUE(read.utc);
    // A name of an earlier release: the local reading, and a renamed one keeps its form.
    for (const wchar_t* local : {L"N021215 (1) 2026-12-07 160509.pvl", L"N021215 (1) 2026-12-07 160509 (3).pvl"}) {
        ASSERT_TRUE(ParseVersionFileName(local, L"N021215 (1).pvl", read)) << local;
        EXPECT_FALSE(read.utc);
        EXPECT_EQ(StampSeconds(read), StampSeconds(when));
        EXPECT_EQ(VersionFileName(L"N021215 (1).pvl", read), local);
    }
    EXPECT_TRUE(ParseVersionFileName(L"N021215 (1) 2028-02-29 000000Z.pvl", L"N021215 (1).pvl", read)) << "leap day";
    // Another note whose name starts the same, and names that are no version.
    for (const wchar_t* other : {L"N021215 (1) 2026-12-07 160509.pvl", L"N021215 (1) 2026-12-07 160509Z.pvl"}) {
        EXPECT_FALSE(ParseVersionFileName(other, L"N021215 (11).pvl", read));
        EXPECT_FALSE(ParseVersionFileName(other, L"N021215.pvl", read));
    }
    for (const wchar_t* bad :
         {L"N021215 (1).pvl", L"N021215 (1) 2026-13-07 160509.pvl", L"N021215 (1) 2026-12-07 160509 (1).pvl",
          L"N021215 (1) 2026-12-07 160509.txt", L"N021215 (1) 2026-02-29 160509Z.pvl",
          L"N021215 (1) 2026-04-31 160509Z.pvl", L"N021215 (1) 2026-12-07 160509ZZ.pvl",
          L"N021215 (1) 2026-12-07 160509Z(2).pvl", L"N021215 (1) 2026-12-07 160509 Z.pvl",
          L"N021215 (1) 2026-12-07 160509z.pvl", L"N021215 (1) 2026-12-07 240000Z.pvl"})
        EXPECT_FALSE(ParseVersionFileName(bad, L"N021215 (1).pvl", read)) << bad;

    // Of one second, the later count first, and a UTC name before an earlier release's.
    std::vector<VersionFacts> same(3, At(StampSeconds(when)));
    same[0].utcName = false;
    same[2].count = 2;
    std::sort(same.begin(), same.end(), &NewerVersion);
    EXPECT_EQ(same[0].count, 2);
    EXPECT_TRUE(same[1].utcName);
    EXPECT_FALSE(same[2].utcName);

    // In autumn the clocks repeat an hour: 01:30 summer time and, an hour later, 01:30
    // winter time. The UTC names keep them apart and in order, a local reading cannot.
    const VersionStamp summer{2026, 10, 25, 0, 30, 0, 1}, winter{2026, 10, 25, 1, 30, 0, 1};
    const std::wstring first = VersionFileName(L"N1.pvl", summer), later = VersionFileName(L"N1.pvl", winter);
    EXPECT_LT(first, later) << "names sort as the moments";
    VersionFacts a = At(StampSeconds(summer), 100, kHour), b = At(StampSeconds(winter), 100, 0);
    EXPECT_EQ(a.shownSeconds, b.shownSeconds) << "both read 01:30";
    EXPECT_TRUE(NewerVersion(b, a));
    EXPECT_EQ(VersionsToKeep({b, a}, 0, 1000), (std::vector<bool>{true, true})) << "two hours, not one";
}

TEST(Versions, KeptByTheNewestHoursAndDaysThatHaveVersionsAndTheSizeCap)
{
    // Hours: two a day from 5 June back over ten more days (a month boundary inside), and
    // on the twelfth day back three, the 23rd, 24th and 25th hours that have versions.
    // The newest hour holds three versions; one more sits in the newest day's other hour.
    const std::int64_t june5 = StampSeconds({2026, 6, 5, 0, 0, 0, 1});
    std::vector<VersionFacts> hours = {At(june5 + 20 * kHour + 50 * 60), At(june5 + 20 * kHour + 30 * 60),
                                       At(june5 + 20 * kHour + 10 * 60), At(june5 + 10 * kHour + 40 * 60),
                                       At(june5 + 10 * kHour + 20 * 60)};
    std::vector<bool> expected = {true, true, true, true, false};
    for (int back = 1; back <= 11; ++back) {
        const int count = back < 11 ? 2 : 3;
        for (int i = 0; i < count; ++i) {
            hours.push_back(At(june5 - back * kDay + (20 - 5 * i) * kHour));
            expected.push_back(back < 11 || i < 2); // the 25th hour is past the 24
        }
    }
    EXPECT_EQ(VersionsToKeep(hours, kNone, 1 << 20), expected);

    // Days, in a zone eight hours ahead: 20:30 UTC shows as 04:30 the next day, so each
    // day shows a version from its own 10:30 UTC (18:30) and the evening before's. The
    // 24 hours are the newest twelve days; then the newest of each day up to the 30th.
    // 20 March back to 18 February, over the end of February.
    const std::int64_t march20 = StampSeconds({2026, 3, 20, 0, 0, 0, 1});
    std::vector<VersionFacts> days;
    expected.clear();
    for (int back = 0; back < 31; ++back) {
        days.push_back(At(march20 - back * kDay + 10 * kHour + 30 * 60, 100, 8 * kHour));
        days.push_back(At(march20 - (back + 1) * kDay + 20 * kHour + 30 * 60, 100, 8 * kHour));
        expected.push_back(back < 30);
        expected.push_back(back < 12);
    }
    EXPECT_EQ(VersionsToKeep(days, kNone, 1 << 20), expected);

    // The cap counts from the newest and holds exactly its bytes; a version too large is
    // dropped, not its neighbours, and takes its hour with it.
    const std::int64_t now = StampSeconds({2026, 12, 7, 16, 30, 0, 1});
    const std::vector<VersionFacts> capped = {At(now, 400), At(now - kHour, 300), At(now - 2 * kHour, 300)};
    EXPECT_EQ(VersionsToKeep(capped, kNone, 1000), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(VersionsToKeep(capped, kNone, 999), (std::vector<bool>{true, true, false}));
    const std::vector<VersionFacts> big = {At(now), At(now - kHour, 5000), At(now - kHour - 60), At(now - 2 * kHour)};
    EXPECT_EQ(VersionsToKeep(big, kNone, 1000), (std::vector<bool>{true, false, false, true}));

    // A clock set back: the version just written is the oldest, past the thirty days that
    // have versions, and is kept with its bytes counted first.
    std::vector<VersionFacts> setBack;
    for (int back = 0; back < 30; ++back)
        setBack.push_back(At(now - back * kDay));
    setBack.push_back(At(now - 400 * kDay, 250));
    std::vector<bool> kept = VersionsToKeep(setBack, setBack.size() - 1, 1 << 20);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), true), 31);
    kept = VersionsToKeep(setBack, setBack.size() - 1, 250 + 29 * 100);
    EXPECT_TRUE(kept.back());
    EXPECT_TRUE(kept[28]);
    EXPECT_FALSE(kept[29]) << "the cap is full one version earlier";
}

TEST(Versions, SizesReadAsInTheMenu)
{
    EXPECT_EQ(SizeText(850), "850 B");
    EXPECT_EQ(SizeText(1229), "1.2 KB");
    EXPECT_EQ(SizeText(3565158), "3.4 MB");
}

} // namespace
