#include "core/FontSize.h"

#include <gtest/gtest.h>

namespace {

// What the font dialog reports for a character height it starts from, as the system
// works it out: tenths of a point, rounded.
int DialogTenths(int height, int dpi)
{
    return static_cast<int>((static_cast<long long>(-height) * 720 + dpi / 2) / dpi);
}

TEST(FontSize, OkWithoutAChangeKeepsEverySizeAt96And120Dpi)
{
    for (int dpi : {96, 120}) {
        for (int twips = 120; twips <= 1440; twips += 10) {
            const int start = FontDialogHeight(twips, dpi);
            ASSERT_LT(start, 0) << "a character height, not a cell height";
            EXPECT_EQ(ChosenFontTwips(twips, start, start, DialogTenths(start, dpi)), twips) << twips << " at " << dpi;
        }
    }
    EXPECT_EQ(FontDialogHeight(240, 96), -16) << "12 points";
    EXPECT_EQ(FontDialogHeight(220, 96), -15) << "11 points, rounded";
    EXPECT_EQ(FontDialogHeight(240, 120), -20);
}

TEST(FontSize, AChosenSizeComesFromTheDialogsTenths)
{
    const int start = FontDialogHeight(240, 96);
    EXPECT_EQ(ChosenFontTwips(240, start, -24, 180), 360) << "18 points chosen";
    EXPECT_EQ(ChosenFontTwips(-240, start, start, 120), 240);
}

} // namespace
