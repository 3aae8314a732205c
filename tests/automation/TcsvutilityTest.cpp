#include "automation/Tcsvutility.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct ColumnCase {
    int index;
    const char* name;
};

class ColumnNames : public testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnNames, ConvertBothWays) {
    EXPECT_EQ(TCsvUtility::ColumnIndexToName(GetParam().index), GetParam().name);
    EXPECT_EQ(TCsvUtility::ColumnNameToIndex(GetParam().name), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ColumnNames,
                         testing::Values(ColumnCase{0, "A"}, ColumnCase{25, "Z"},
                                         ColumnCase{26, "AA"}, ColumnCase{27, "AB"},
                                         ColumnCase{51, "AZ"}, ColumnCase{52, "BA"},
                                         ColumnCase{701, "ZZ"}, ColumnCase{702, "AAA"},
                                         ColumnCase{728, "ABA"}, ColumnCase{16383, "XFD"}));

TEST(ColumnIndexToName, OutOfRangeGivesEmpty) {
    for (int index : {-1, 16384, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(TCsvUtility::ColumnIndexToName(index), QString()) << index;
    }
}

class ColumnNameRejected : public testing::TestWithParam<QString> {};

TEST_P(ColumnNameRejected, GivesMinusOne) {
    EXPECT_EQ(TCsvUtility::ColumnNameToIndex(GetParam()), -1);
}

INSTANTIATE_TEST_SUITE_P(Names, ColumnNameRejected,
                         testing::Values(QString(), QStringLiteral("XFE"), QStringLiteral("ZZZ"),
                                         QStringLiteral("A1"), QStringLiteral("AAAAAAAAAA"),
                                         QStringLiteral("Ａ"), QStringLiteral("ａ"),
                                         QStringLiteral("A B"), QStringLiteral("$A"),
                                         QString(200, u'Z')));

TEST(ColumnNameToIndex, AcceptsLowerCase) {
    EXPECT_EQ(TCsvUtility::ColumnNameToIndex(QStringLiteral("a")), 0);
    EXPECT_EQ(TCsvUtility::ColumnNameToIndex(QStringLiteral("zz")), 701);
    EXPECT_EQ(TCsvUtility::ColumnNameToIndex(QStringLiteral("xFd")), 16383);
}

TEST(ColumnNames, EveryIndexRoundTripsThroughDistinctNames) {
    std::set<QString> names;
    for (int index = 0; index <= TCsvUtility::MaxColumnIndex; ++index) {
        const QString name = TCsvUtility::ColumnIndexToName(index);
        ASSERT_EQ(TCsvUtility::ColumnNameToIndex(name), index) << name.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), size_t(TCsvUtility::MaxColumnIndex + 1));
}

}  // namespace
