#include "core/NoteLook.h"
#include "core/Schemes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Schemes, SixteenInOrderEndedByMinusOne)
{
    for (int i = 0; i < kSchemeCount; ++i)
        EXPECT_EQ(kColorSchemes[i].id, i);
    EXPECT_EQ(kColorSchemes[kSchemeCount].id, -1);
    EXPECT_STREQ(kColorSchemes[0].name, "\xBA\xDA\xC9\xAB");                 // 黑色
    EXPECT_STREQ(kColorSchemes[12].name, "\xB2\xDD\xDD\xAE\xB5\xB0\xB8\xE2"); // 草莓蛋糕
    EXPECT_EQ(kColorSchemes[0].border, 0x00000000u) << "the only black border";
    for (int i = 1; i < kSchemeCount; ++i)
        EXPECT_EQ(kColorSchemes[i].border, 0x00808080u) << i;
    EXPECT_EQ(kColorSchemes[14].edge, 0x00ECEC00u);
    EXPECT_EQ(kColorSchemes[9].background, kColorSchemes[11].background);
}

TEST(Schemes, DefaultLookIsSchemeNine)
{
    const NoteLook look;
    const ColorScheme* scheme = FindScheme(look.scheme);
    ASSERT_NE(scheme, nullptr);
    EXPECT_EQ(scheme->background, look.background);
    EXPECT_EQ(scheme->edge, look.edge);
    EXPECT_EQ(scheme->border, look.border);
    EXPECT_EQ(FindScheme(-1), nullptr);
    EXPECT_EQ(FindScheme(16), nullptr);
}

} // namespace
