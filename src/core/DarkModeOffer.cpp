#include "DarkModeOffer.h"

namespace {

// Windows 10 1809, the first to ask applications for a dark look.
constexpr unsigned kFirstDarkBuild = 17763;
// Windows 10 1903, where ordinal 135 became SetPreferredAppMode.
constexpr unsigned kAppModeBuild = 18362;
// The Insider build that gave the attribute its documented number, 20.
constexpr unsigned kAttributeTwentyBuild = 18985;

} // namespace

DarkModeOffer DarkModeOfferFor(unsigned major, unsigned build)
{
    DarkModeOffer offer;
    // Windows 11 still calls itself 10.
    if (major != 10 || build < kFirstDarkBuild)
        return offer;
    offer.titleBarAttribute = build >= kAttributeTwentyBuild ? 20 : 19;
    offer.undocumented = build <= kNewestDarkModeBuild;
    offer.appModeByNumber = build >= kAppModeBuild;
    return offer;
}
