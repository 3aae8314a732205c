#include "automation/Tcsvutility.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ColumnNames, BoundariesConvertBothWays) {
    const std::pair<int, const char*> cases[] = {
        {0, "A"},   {25, "Z"},   {26, "AA"},   {27, "AB"},   {51, "AZ"},
        {52, "BA"}, {701, "ZZ"}, {702, "AAA"}, {728, "ABA"}, {16383, "XFD"}};
    for (const auto& [index, name] : cases) {
        EXPECT_EQ(TCsvUtility::ColumnIndexToName(index), name);
        EXPECT_EQ(TCsvUtility::ColumnNameToIndex(name), index) << name;
    }
}

TEST(ColumnNames, RejectedInputs) {
    for (int index : {-1, 16384, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(TCsvUtility::ColumnIndexToName(index), QString()) << index;
    }
    for (const QString& name : {QString(), QStringLiteral("XFE"), QStringLiteral("ZZZ"),
                                QStringLiteral("A1"), QStringLiteral("AAAAAAAAAA"),
                                QStringLiteral("Ａ"), QStringLiteral("ａ"), QString(200, u'Z')}) {
        EXPECT_EQ(TCsvUtility::ColumnNameToIndex(name), -1) << qPrintable(name);
    }
}

TEST(ColumnNames, EveryIndexRoundTripsAndLowerCaseIsAccepted) {
    std::set<QString> names;
    for (int index = 0; index <= TCsvUtility::MaxColumnIndex; ++index) {
        const QString name = TCsvUtility::ColumnIndexToName(index);
        ASSERT_EQ(TCsvUtility::ColumnNameToIndex(name), index) << qPrintable(name);
        ASSERT_EQ(TCsvUtility::ColumnNameToIndex(name.toLower()), index) << qPrintable(name);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), size_t(TCsvUtility::MaxColumnIndex + 1));
}

}  // namespace
