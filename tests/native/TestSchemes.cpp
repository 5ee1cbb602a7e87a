#include "core/NoteLook.h"
#include "core/Schemes.h"

#include <gtest/gtest.h>

#include <cmath>
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

// The contrast of black text on a colour, by the relative luminance of sRGB.
double ContrastWithBlack(Colour colour)
{
    const auto linear = [](unsigned channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(colour & 0xFF) + 0.7152 * linear((colour >> 8) & 0xFF) +
                             0.0722 * linear((colour >> 16) & 0xFF);
    return (luminance + 0.05) / 0.05;
}

TEST(Schemes, DarkOnesAreNeverStoredByTheirPlace)
{
    // Older copies know sixteen schemes: a number past them would be written into a note.
    for (int listed = -1; listed <= kListedSchemeCount; ++listed) {
        const int stored = StoredScheme(listed);
        EXPECT_TRUE(stored == -1 || FindScheme(stored) != nullptr) << listed;
        EXPECT_EQ(stored, listed < kSchemeCount ? listed : -1) << listed;
    }
}

TEST(Schemes, ANoteOfADarkSchemeIsKnownByItsThreeColours)
{
    for (int i = 0; i < kDarkSchemeCount; ++i) {
        const ColorScheme& dark = kDarkSchemes[i];
        EXPECT_EQ(ListedSchemeOf(-1, dark.background, dark.edge, dark.border), kSchemeCount + i);
        EXPECT_EQ(ListedScheme(kSchemeCount + i), &dark);
        // One colour changed by hand is a look of the user's own.
        EXPECT_EQ(ListedSchemeOf(-1, dark.background, dark.edge ^ 1, dark.border), -1) << i;
        EXPECT_EQ(ListedSchemeOf(-1, dark.background, dark.edge, dark.border ^ 1), -1) << i;
        // A stored number wins as it always did, and one no copy knows shows none.
        EXPECT_EQ(ListedSchemeOf(5, dark.background, dark.edge, dark.border), 5);
        EXPECT_EQ(ListedSchemeOf(kSchemeCount + i, dark.background, dark.edge, dark.border), -1);
    }
    const NoteLook look;
    EXPECT_EQ(ListedSchemeOf(-1, look.background, look.edge, look.border), -1) << "the sixteen keep their numbers";
}

TEST(Schemes, DarkOnesKeepBlackTextReadable)
{
    // Notes' text is black unless coloured: both the text and the title on the caption
    // must stay legible (4.5:1), and the caption must stand out lighter than the text.
    for (int i = 0; i < kDarkSchemeCount; ++i) {
        const ColorScheme& dark = kDarkSchemes[i];
        EXPECT_GE(ContrastWithBlack(dark.background), 4.5) << i;
        EXPECT_LT(ContrastWithBlack(dark.background), 5.5) << i << " is no longer dark";
        EXPECT_GT(ContrastWithBlack(dark.edge), ContrastWithBlack(dark.background)) << i;
        EXPECT_LT(ContrastWithBlack(dark.border), 2.0) << i;
    }
}

} // namespace
