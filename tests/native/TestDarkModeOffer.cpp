#include "core/DarkModeOffer.h"

#include <gtest/gtest.h>

namespace {

TEST(DarkModeOffer, FollowsTheBuildsWhereEachPieceMeansWhatItIsCalledFor)
{
    // Before 1809 and on any other major version: nothing, the light look the system draws.
    for (const auto& [major, build] : {std::pair{6u, 9600u}, {10u, 17134u}, {10u, 17762u}, {11u, 22000u}}) {
        const DarkModeOffer none = DarkModeOfferFor(major, build);
        EXPECT_EQ(none.titleBarAttribute, 0u) << major << "." << build;
        EXPECT_FALSE(none.undocumented) << major << "." << build;
    }
    const DarkModeOffer first = DarkModeOfferFor(10, 17763);
    EXPECT_EQ(first.titleBarAttribute, 19u);
    EXPECT_TRUE(first.undocumented);
    EXPECT_FALSE(first.appModeByNumber) << "1809's ordinal 135 takes a flag";
    EXPECT_TRUE(DarkModeOfferFor(10, 18362).appModeByNumber);
    EXPECT_EQ(DarkModeOfferFor(10, 18984).titleBarAttribute, 19u);
    EXPECT_EQ(DarkModeOfferFor(10, 18985).titleBarAttribute, 20u);
    EXPECT_EQ(DarkModeOfferFor(10, 22631).titleBarAttribute, 20u);
    // The documented attribute outlives the ordinals: a build not yet checked keeps only it.
    EXPECT_TRUE(DarkModeOfferFor(10, kNewestDarkModeBuild).undocumented);
    const DarkModeOffer later = DarkModeOfferFor(10, kNewestDarkModeBuild + 1);
    EXPECT_FALSE(later.undocumented);
    EXPECT_EQ(later.titleBarAttribute, 20u);
}

} // namespace
