#include "core/MinuteGate.h"
#include "core/SliceReading.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Drives the gate the way the logic window's one-second timer does and records which
// notes were checked, in order.
struct GateRun {
    int lastMinute;
    std::vector<int> notes{1, 2, 3};
    std::vector<int> checked;

    explicit GateRun(int startMinute) : lastMinute(startMinute) {}

    bool Tick(int minute)
    {
        return RunMinuteGate(lastMinute, minute, notes, [this](int note) { checked.push_back(note); });
    }
};

TEST(MinuteGate, StartMinuteIsNeverChecked)
{
    GateRun run(17);
    for (int second = 0; second < 59; ++second)
        EXPECT_FALSE(run.Tick(17));
    EXPECT_TRUE(run.checked.empty());
}

TEST(MinuteGate, NewMinuteChecksEveryNoteOnceInListOrder)
{
    GateRun run(17);
    EXPECT_TRUE(run.Tick(18));
    EXPECT_EQ(run.checked, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(run.lastMinute, 18);

    // The remaining ticks of the same minute run nothing more.
    EXPECT_FALSE(run.Tick(18));
    EXPECT_FALSE(run.Tick(18));
    EXPECT_EQ(run.checked.size(), 3u);

    EXPECT_TRUE(run.Tick(19));
    EXPECT_EQ(run.checked, (std::vector<int>{1, 2, 3, 1, 2, 3}));
}

TEST(MinuteGate, HourWrapIsANewMinute)
{
    GateRun run(59);
    EXPECT_TRUE(run.Tick(0));
    EXPECT_EQ(run.lastMinute, 0);
}

TEST(MinuteGate, ClockJumpThatKeepsTheMinuteRunsNothing)
{
    // 10:42 -> 11:42 (a one-hour change between two ticks): only the minute is compared.
    GateRun run(42);
    EXPECT_FALSE(run.Tick(42));
    EXPECT_TRUE(run.checked.empty());
}

TEST(MinuteGate, ClockSetBackToAnEarlierMinuteIsANewMinute)
{
    GateRun run(42);
    EXPECT_TRUE(run.Tick(40));
    EXPECT_EQ(run.lastMinute, 40);
}

TEST(MinuteGate, NoNotesStillAdvancesTheMinute)
{
    int last = 5;
    std::vector<int> none;
    int calls = 0;
    EXPECT_TRUE(RunMinuteGate(last, 6, none, [&](int) { ++calls; }));
    EXPECT_EQ(last, 6);
    EXPECT_EQ(calls, 0);
}

TEST(SliceReading, EachSliceReadsOneAtLeastAndOnlyTheOneThatReadsTheLastSaysSo)
{
    SliceReading reading;
    std::vector<std::wstring> read;
    std::vector<int> counted;
    const auto readOne = [&](const std::wstring& path) {
        read.push_back(path);
        counted.push_back(reading.Read());
    };
    reading.Begin({L"a", L"b", L"c", L"d"});
    EXPECT_FALSE(reading.ReadSlice(readOne, [] { return true; }));
    EXPECT_FALSE(reading.ReadSlice(readOne, [&] { return read.size() == 3; }));
    EXPECT_EQ(reading.Total(), 4);
    EXPECT_TRUE(reading.ReadSlice(readOne, [] { return true; }));
    EXPECT_EQ(read, (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(counted, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(reading.IsReading());
    EXPECT_FALSE(reading.ReadSlice(readOne, [] { return false; }));

    // Nothing waiting: the rest in one slice. An empty folder has no last slice.
    reading.Begin({L"e", L"f"});
    EXPECT_TRUE(reading.ReadSlice(readOne, [] { return false; }));
    reading.Begin({});
    EXPECT_FALSE(reading.ReadSlice(readOne, [] { return false; }));
    EXPECT_EQ(read.size(), 6u);
}

} // namespace
