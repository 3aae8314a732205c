// Computes the results of the formulas in a .csv file, which the spreadsheet application
// evaluates when it opens one: each formula cell through FormulaExpression, references to
// other formula cells first. A formula it cannot compute (a function, a range, a circular
// reference) keeps its text and shows an empty value.
#pragma once

#include "engine/model/Cell.h"

#include <vector>

namespace engine {

class Workbook;

class CsvFormula {
public:
    // Replaces the value of every formula cell in `cells` by its result where it can.
    static void EvaluateAll(Workbook& book, std::vector<Cell>& cells);
};

}  // namespace engine
