// Types a .csv field as the spreadsheet application types text entered into a "General"
// cell when it opens a .csv file (Japanese locale): numbers (with grouping, percent,
// exponent and currency forms, which also choose a number format), dates and times, TRUE
// and FALSE, error codes, formulas ("=..." and signed expressions such as "+81-3"), and text.
// Quoting does not matter. Formula results are filled in later by CsvFormula.
#pragma once

#include "engine/Cell.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace engine {

class Workbook;

class CsvCellTyper {
public:
    // `currentYear` completes dates given as month and day only.
    CsvCellTyper(Workbook& book, int currentYear) : book_(book), year_(currentYear) {}

    // The cell for a field, or nothing for an empty field (it creates no cell).
    std::optional<Cell> Type(const QString& field, int32_t row, int32_t column);

private:
    bool TypeNumber(QStringView text, Cell& cell);
    bool TypeDateTime(QStringView text, Cell& cell);

    Workbook& book_;
    int year_;
};

}  // namespace engine
