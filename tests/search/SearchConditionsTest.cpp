#include "search/SearchConditions.h"
#include "search/TFoundResult.h"

#include <gtest/gtest.h>

namespace {

struct FindMapping {
    int findLookIn;
    int searchOrder;
    bool lookAt;
    int lookInArg;
    int orderArg;
    int lookAtArg;
};

class FindArgumentTest : public testing::TestWithParam<FindMapping> {};

TEST_P(FindArgumentTest, MapsIndexesToTheApplicationValues) {
    const FindMapping& m = GetParam();
    SearchConditions conditions;
    conditions.FindLookIn = m.findLookIn;
    conditions.SearchOrder = m.searchOrder;
    conditions.LookAt = m.lookAt;
    EXPECT_EQ(LookInArgument(conditions), m.lookInArg);
    EXPECT_EQ(SearchOrderArgument(conditions), m.orderArg);
    EXPECT_EQ(LookAtArgument(conditions), m.lookAtArg);
}

INSTANTIATE_TEST_SUITE_P(Table, FindArgumentTest,
                         testing::Values(FindMapping{0, 0, false, -4123, 1, 2},
                                         FindMapping{1, 1, true, -4163, 2, 1},
                                         FindMapping{2, 0, false, -4144, 1, 2},
                                         // out of range behaves as index 0
                                         FindMapping{3, 2, true, -4123, 1, 1},
                                         FindMapping{-1, -1, false, -4123, 1, 2}));

TEST(SearchConditionsTest, DefaultsAreThoseOfANewProject) {
    const SearchConditions conditions;
    EXPECT_TRUE(conditions.MatchByte);
    EXPECT_FALSE(conditions.MatchCase);
    EXPECT_FALSE(conditions.LookAt);
    EXPECT_EQ(conditions.Ext, (std::set<int>{0, 1, 2}));
}

struct ExtCase {
    std::set<int> ext;
    QStringList expected;
};

class ExtensionListTest : public testing::TestWithParam<ExtCase> {};

TEST_P(ExtensionListTest, FollowsTheCheckListOrderAndDropsUnknownTypes) {
    SearchConditions conditions;
    conditions.Ext = GetParam().ext;
    EXPECT_EQ(ExtensionList(conditions), GetParam().expected);
    EXPECT_EQ(HasFileType(conditions), !GetParam().expected.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, ExtensionListTest,
                         testing::Values(ExtCase{{0, 1, 2}, {"xls", "xlsx", "csv"}},
                                         ExtCase{{2, 0}, {"xls", "csv"}}, ExtCase{{1}, {"xlsx"}},
                                         ExtCase{{}, {}}, ExtCase{{7, -1}, {}},
                                         ExtCase{{7, 2}, {"csv"}}));

TEST(TFoundResultTest, OrdersByColumnThenRow) {
    const std::vector<std::pair<TFoundResult, TFoundResult>> ascending = {{{3, 1}, {3, 2}},
                                                                          {{3, 2}, {4, 1}},
                                                                          {{1, 100}, {2, 1}},
                                                                          {{-1, 5}, {0, 1}},
                                                                          {{2, -3}, {2, 0}}};
    for (const auto& [a, b] : ascending) {
        EXPECT_TRUE(a < b) << a.Column << "," << a.Row;
        EXPECT_FALSE(b < a) << a.Column << "," << a.Row;
    }
    const TFoundResult same{5, 5};
    EXPECT_FALSE(same < (TFoundResult{5, 5}));
}

TEST(TFoundResultTest, SetKeepsOneEntryPerCell) {
    std::set<TFoundResult> reported;
    EXPECT_TRUE(reported.insert({2, 3}).second);
    EXPECT_TRUE(reported.insert({3, 2}).second);
    EXPECT_FALSE(reported.insert({2, 3}).second);
    EXPECT_EQ(reported.size(), 2u);
}

}  // namespace
