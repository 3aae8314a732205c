#include "search/ConditionArguments.h"
#include "search/Tfoundresult.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchConditionsTest, MapsIndexesToFindArguments) {
    // look-in index, order index, whole cell -> LookIn, SearchOrder, LookAt
    const std::vector<std::array<int, 6>> table = {{0, 0, 0, -4123, 1, 2},
                                                   {1, 1, 1, -4163, 2, 1},
                                                   {2, 0, 0, -4144, 1, 2},
                                                   {3, -1, 1, -4123, 1, 1}};  // out of range
    for (const auto& [lookIn, order, whole, lookInArg, orderArg, lookAtArg] : table) {
        SearchConditions conditions;
        conditions.FindLookIn = lookIn;
        conditions.SearchOrder = order;
        conditions.LookAt = whole != 0;
        EXPECT_EQ(LookInArgument(conditions), lookInArg) << lookIn;
        EXPECT_EQ(SearchOrderArgument(conditions), orderArg) << order;
        EXPECT_EQ(LookAtArgument(conditions), lookAtArg) << whole;
    }
}

TEST(TFoundResultTest, OrdersByColumnThenRow) {
    const std::vector<TFoundResult> ascending = {{-1, 5}, {1, 100}, {2, -3}, {2, 1},
                                                 {3, 1},  {3, 2},   {4, 1}};
    for (size_t i = 0; i + 1 < ascending.size(); ++i) {
        EXPECT_TRUE(ascending[i] < ascending[i + 1]) << i;
        EXPECT_FALSE(ascending[i + 1] < ascending[i]) << i;
    }
    std::set<TFoundResult> reported = {{2, 3}};
    EXPECT_FALSE(reported.insert({2, 3}).second);
}

}  // namespace
