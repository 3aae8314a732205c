// A cell's place is read from every `r` attribute: the sheet's limits must hold and a bad
// reference must not move the cell it was read for.
#include "engine/readers/xlsx/CellReference.h"

#include <gtest/gtest.h>

namespace {

using engine::CellReference;

TEST(CellReference, ReadsRowsAndColumnsUpToTheSheetLimits) {
    const struct {
        const char* text;
        int32_t row, column;
    } cases[] = {{"A1", 1, 1},    {"b12", 12, 2},   {"$AB$7", 7, 28},
                 {"Z9", 9, 26},   {"AA10", 10, 27}, {"XFD1048576", 1048576, 16384},
                 {"$C40", 40, 3}, {"D$5", 5, 4}};
    for (const auto& c : cases) {
        int32_t row = 0, column = 0;
        EXPECT_TRUE(CellReference::Parse(c.text, row, column)) << c.text;
        EXPECT_EQ(row, c.row) << c.text;
        EXPECT_EQ(column, c.column) << c.text;
    }
}

TEST(CellReference, RefusesMalformedOrOutOfSheetAndLeavesThePlaceAlone) {
    for (const char* text : {"", "A", "12", "A0", "A01x", "XFE1", "A1048577", "$", "A$", "A1:B2",
                             "A-1", "A 1", "1A", "AAAAA1", "A99999999999"}) {
        int32_t row = 5, column = 6;
        EXPECT_FALSE(CellReference::Parse(text, row, column)) << text;
        EXPECT_EQ(row, 5) << text;
        EXPECT_EQ(column, 6) << text;
    }
}

TEST(CellReference, RangesAreOrderedWhicheverCornerComesFirst) {
    engine::CellRect rect;
    ASSERT_TRUE(CellReference::ParseRange("C5:A2", rect));
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 5);
    EXPECT_EQ(rect.right, 3);
    ASSERT_TRUE(CellReference::ParseRange("B3", rect));
    EXPECT_EQ(rect.top, 3);
    EXPECT_EQ(rect.bottom, 3);
    EXPECT_FALSE(CellReference::ParseRange("A1:", rect));
    EXPECT_FALSE(CellReference::ParseRange(":B2", rect));
}

}  // namespace
