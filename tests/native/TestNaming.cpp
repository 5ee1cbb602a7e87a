#include "core/Naming.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Naming, FileStemIsTwoDigitYearMonthDay)
{
    EXPECT_EQ(NoteFileStem(2002, 12, 15), "N021215");
    EXPECT_EQ(NoteFileStem(2026, 1, 7), "N260107");
    EXPECT_EQ(NoteFileStem(2100, 2, 1), "N000201");
}

TEST(Naming, FileCandidatesCountUpAndReuseGaps)
{
    std::set<std::string> taken;
    auto isTaken = [&](const std::string& c) { return taken.count(c) != 0; };
    for (int i = 0; i < 3; ++i)
        taken.insert(NextFileCandidate("N021215", isTaken));
    EXPECT_EQ(taken, (std::set<std::string>{"N021215 (1)", "N021215 (2)", "N021215 (3)"}));
    taken.erase("N021215 (2)");
    EXPECT_EQ(NextFileCandidate("N021215", isTaken), "N021215 (2)");
}

TEST(Naming, AMovedFileKeepsItsNameOrIsRenumbered)
{
    std::set<std::wstring> taken{L"N021215 (3).pvl", L"N021215 (1).pvl", L"good.pvl", L"a (b).pvl", L"x (2) (3)"};
    auto isTaken = [&](const std::wstring& c) { return taken.count(c) != 0; };
    EXPECT_EQ(FreeFileName(L"N021215 (2).pvl", isTaken), L"N021215 (2).pvl");
    EXPECT_EQ(FreeFileName(L"N021215 (3).pvl", isTaken), L"N021215 (2).pvl") << "not N021215 (3) (1)";
    EXPECT_EQ(FreeFileName(L"good.pvl", isTaken), L"good (1).pvl");
    EXPECT_EQ(FreeFileName(L"a (b).pvl", isTaken), L"a (b) (1).pvl") << "only a number is dropped";
    EXPECT_EQ(FreeFileName(L"x (2) (3)", isTaken), L"x (2) (1)") << "no extension; one number dropped";
}

TEST(Naming, TitlesSkipTakenOnesAndNeverRepeatInARun)
{
    int counter = 1;
    std::set<std::string> taken{"T 2"};
    auto isTaken = [&](const std::string& c) { return taken.count(c) != 0; };
    EXPECT_EQ(NextTitleCandidate("T", counter, isTaken), "T 1");
    EXPECT_EQ(NextTitleCandidate("T", counter, isTaken), "T 3");
    // "T 1" was deleted: the counter has moved on, so the number is not used again.
    EXPECT_EQ(NextTitleCandidate("T", counter, isTaken), "T 4");
    EXPECT_EQ(counter, 5);
}

} // namespace
