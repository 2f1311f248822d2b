#include <gtest/gtest.h>

#include "model/ozr_types.h"
#include "tests/model/model_session_fixture.h"

namespace {

// The properties dialog reorders the station lists through their TList base;
// the look-ups must still give the first station in the new order.
TEST_F(SessionTest, ReorderingThroughTheBaseListKeepsLookUpsInListOrder)
{
    auto* region = new TRegion(nullptr, rtCountry, "GR");
    auto* first = new TWell(region, "W-01");
    auto* second = new TWell(region, "w-01");
    TListOZR& wells = session().FWells;
    TEntity* found = nullptr;
    ASSERT_TRUE(FindStation("W-01", skWell, found));
    EXPECT_EQ(found, first);

    TList& asBase = wells;
    asBase.Move(1, 0);
    ASSERT_TRUE(FindStation("W-01", skWell, found));
    EXPECT_EQ(found, second);

    asBase.Remove(second);
    ASSERT_TRUE(FindStation("w-01", skWell, found));
    EXPECT_EQ(found, first);
    delete second;
}

}  // namespace
