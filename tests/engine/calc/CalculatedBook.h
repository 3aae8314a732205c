// Books for calculation tests: sheets given as grids of fields, each typed as a .csv field
// is typed (numbers, dates, TRUE, error codes, "=..." formulas), in a workbook that computes
// its uncalculated formulas as the engine does on opening.
#pragma once

#include "engine/calc/WorkbookCalculator.h"
#include "engine/model/CellText.h"
#include "engine/readers/csv/CsvCellTyper.h"
#include "tests/engine/model/MemoryBook.h"

#include <string>
#include <vector>

namespace testcalc {

using Grid = std::vector<std::vector<std::u16string>>;

// Sheets named Sheet1, Sheet2, ...; `names`: whether an unknown name is #NAME? (a .csv).
inline std::shared_ptr<engine::Workbook> Book(std::vector<Grid> sheets, bool csvNames = true,
                                              engine::CalculationBudget budget = {}) {
    std::vector<testbook::Fill> fills;
    for (Grid& grid : sheets) {
        fills.push_back([grid = std::move(grid)](engine::Workbook& book, engine::Worksheet& sheet) {
            engine::CsvCellTyper typer(book, 2030);
            for (size_t r = 0; r < grid.size(); ++r) {
                for (size_t c = 0; c < grid[r].size(); ++c) {
                    const auto cell = typer.Type(QString::fromStdU16String(grid[r][c]),
                                                 int32_t(r) + 1, int32_t(c) + 1);
                    if (cell) {
                        sheet.AddCell(*cell);
                    }
                }
            }
        });
    }
    auto book = testbook::Make(std::move(fills));
    book->SetCalculation(std::make_unique<engine::WorkbookCalculator>(csvNames, budget));
    return book;
}

// The displayed text of a cell ("" when it is not stored).
inline QString TextAt(engine::Workbook& book, int sheet, int32_t row, int32_t column) {
    const engine::Cell* cell = book.Sheet(sheet).FindCell(row, column);
    return cell ? engine::CellText::Text(book, *cell) : QString();
}

}  // namespace testcalc
