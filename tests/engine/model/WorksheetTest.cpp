// Worksheet::Finish over cells in the orders readers deliver them: already row-major, out of
// order, and with a position written twice (the later one wins).
#include "engine/model/Worksheet.h"

#include <gtest/gtest.h>

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
