#include "FontSize.h"

#include <cstdlib>

int FontDialogHeight(int twips, int dpi)
{
    // Rounded to the nearest pixel, as the system's MulDiv does.
    const long long scaled = static_cast<long long>(std::abs(twips)) * dpi;
    return -static_cast<int>((scaled + 720) / 1440);
}

int ChosenFontTwips(int twips, int startHeight, int chosenHeight, int chosenTenths)
{
    if (chosenHeight == startHeight)
        return std::abs(twips);
    return 2 * std::abs(chosenTenths);
}
