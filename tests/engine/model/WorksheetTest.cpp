// Worksheet::Finish over cells in the orders readers deliver them: already row-major, out of
// order, and with a position written twice (the later one wins).
#include "engine/model/Worksheet.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct Placed {
    int32_t row;
    int32_t column;
    double tag;  // tells the two writes of one position apart

    bool operator==(const Placed&) const = default;
};

struct FinishCase {
    const char* name;
    std::vector<Placed> input;
    std::vector<Placed> expected;
    engine::CellRect used;
};

class WorksheetFinishTest : public testing::TestWithParam<FinishCase> {};

TEST_P(WorksheetFinishTest, LeavesOneCellPerPositionInRowMajorOrder) {
    engine::Worksheet sheet(QStringLiteral("S"));
    for (const Placed& p : GetParam().input) {
        engine::Cell cell;
        cell.row = p.row;
        cell.column = p.column;
        cell.type = engine::CellType::Number;
        cell.number = p.tag;
        sheet.AddCell(cell);
    }
    sheet.Finish();
    std::vector<Placed> got;
    for (const engine::Cell& cell : sheet.Cells()) {
        got.push_back({cell.row, cell.column, cell.number});
    }
    EXPECT_EQ(got, GetParam().expected);
    const engine::CellRect& used = sheet.UsedRange();
    const engine::CellRect& want = GetParam().used;
    EXPECT_EQ(std::vector<int32_t>({used.top, used.left, used.bottom, used.right}),
              std::vector<int32_t>({want.top, want.left, want.bottom, want.right}));
}

INSTANTIATE_TEST_SUITE_P(Orders, WorksheetFinishTest,
                         testing::Values(FinishCase{"Ordered",
                                                    {{1, 2, 1}, {1, 5, 2}, {3, 1, 3}},
                                                    {{1, 2, 1}, {1, 5, 2}, {3, 1, 3}},
                                                    {1, 1, 3, 5}},
                                         FinishCase{"ByColumns",
                                                    {{1, 1, 1}, {2, 1, 2}, {1, 2, 3}, {2, 2, 4}},
                                                    {{1, 1, 1}, {1, 2, 3}, {2, 1, 2}, {2, 2, 4}},
                                                    {1, 1, 2, 2}},
                                         FinishCase{"RepeatInOrder",
                                                    {{1, 1, 1}, {1, 1, 2}, {1, 2, 3}},
                                                    {{1, 1, 2}, {1, 2, 3}},
                                                    {1, 1, 1, 2}},
                                         FinishCase{"RepeatOutOfOrder",
                                                    {{2, 2, 1}, {1, 1, 2}, {2, 2, 3}, {1, 1, 4}},
                                                    {{1, 1, 4}, {2, 2, 3}},
                                                    {1, 1, 2, 2}},
                                         FinishCase{"Empty", {}, {}, {1, 1, 1, 1}}),
                         [](const testing::TestParamInfo<FinishCase>& info) {
                             return info.param.name;
                         });

}  // namespace

TEST(WorksheetLayout, HiddenSpansMergeAndAFilterHidesOnlyBelowItsHeader) {
    engine::Worksheet sheet(QStringLiteral("S"));
    sheet.HideRows(5, 6);
    sheet.HideRows(1, 1);
    sheet.HideRows(7, 9);
    sheet.HideColumns(3, 3);
    sheet.SetFilterRange({1, 1, 8, 4});
    sheet.Finish();
    std::vector<int32_t> hidden;
    std::vector<int32_t> filtered;
    for (int32_t row = 1; row <= 10; ++row) {
        if (sheet.IsRowHidden(row)) {
            hidden.push_back(row);
        }
        if (sheet.IsFilteredOut(row)) {
            filtered.push_back(row);
        }
    }
    EXPECT_EQ(hidden, (std::vector<int32_t>{1, 5, 6, 7, 8, 9}));
    EXPECT_EQ(filtered, (std::vector<int32_t>{5, 6, 7, 8}));
    EXPECT_TRUE(sheet.IsColumnHidden(3));
    EXPECT_FALSE(sheet.IsColumnHidden(2));
    EXPECT_FALSE(sheet.IsColumnHidden(4));
}

// Formatted rows widen the used range along the rows only, columns along the columns; with
// nothing else used they take column A or row 1.
TEST(WorksheetLayout, FormattedRowsAndColumnsWidenTheUsedRangeAlongTheirAxis) {
    const auto usedRange = [](bool withCell, bool rows, bool columns) {
        engine::Worksheet sheet(QStringLiteral("S"));
        if (withCell) {
            engine::Cell cell;
            cell.row = 5;
            cell.column = 5;
            cell.type = engine::CellType::Number;
            sheet.AddCell(cell);
        }
        if (rows) {
            sheet.AddFormattedRows(8, 9);
            sheet.AddFormattedRows(2, 2);
        }
        if (columns) {
            sheet.AddFormattedColumns(7, 10);
        }
        sheet.Finish();
        const engine::CellRect& r = sheet.UsedRange();
        return std::array{r.top, r.left, r.bottom, r.right};
    };
    EXPECT_EQ(usedRange(true, true, false), (std::array{2, 5, 9, 5}));
    EXPECT_EQ(usedRange(true, false, true), (std::array{5, 5, 5, 10}));
    EXPECT_EQ(usedRange(false, true, false), (std::array{2, 1, 9, 1}));
    EXPECT_EQ(usedRange(false, false, true), (std::array{1, 7, 1, 10}));
    EXPECT_EQ(usedRange(false, true, true), (std::array{2, 1, 9, 10}));
}
