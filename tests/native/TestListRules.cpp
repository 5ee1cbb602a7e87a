#include "core/ListRules.h"

#include <gtest/gtest.h>

namespace {

TEST(ListRules, MarksLeaveAsBracketsAndDashesAndBracketsComeBackAsBoxesOnlyAtParagraphStarts)
{
    const std::wstring marked = L"\u2610 milk\r\n\u2611 eggs [ ] not here\r\u2022 bread\n- dash\rx\u2610 y";
    const std::wstring plain = PlainFromMarks(marked);
    EXPECT_EQ(plain, L"[ ] milk\r\n[x] eggs [ ] not here\r- bread\n- dash\rx\u2610 y");
    // Bullets stay dashes: a dash typed in a text file is no bullet.
    EXPECT_EQ(MarksFromPlain(plain + L"\r[X] caps"),
              L"\u2610 milk\r\n\u2611 eggs [ ] not here\r- bread\n- dash\rx\u2610 y\r\u2611 caps");
    EXPECT_EQ(MarksFromPlain(L"[ ]no space\r\n\r\n[ ] "), L"[ ]no space\r\n\r\n\u2610 ");
}

TEST(ListRules, ATypedSpaceMakesAMarkOnlyAfterTheWholeStartOfAParagraph)
{
    EXPECT_EQ(MarkTypedAs(L"[]"), ListMark::Open);
    EXPECT_EQ(MarkTypedAs(L"[ ]"), ListMark::Open);
    EXPECT_EQ(MarkTypedAs(L"-"), ListMark::Bullet);
    EXPECT_EQ(MarkTypedAs(L"*"), ListMark::Bullet);
    for (const wchar_t* other : {L"", L"a[]", L"[x]", L"--", L" -"})
        EXPECT_EQ(MarkTypedAs(other), ListMark::None) << other;
    EXPECT_EQ(MarkOf(L"\u2611 done"), ListMark::Done);
    EXPECT_EQ(MarkOf(L"\u2610"), ListMark::None) << "a box without its space is a character";
    EXPECT_EQ(MarkOf(L"\u2022x"), ListMark::None);
}

} // namespace
