// Computes the results of the formulas in a .csv file, which the spreadsheet application
// evaluates when it opens one. Covered: numbers, "text", TRUE/FALSE, references to single
// cells of the same sheet (A1, $B$2), parentheses, unary + and -, %, ^, * /, + -, & and the
// comparisons = <> < > <= >=, with the application's error values (#DIV/0!, #VALUE!,
// #NAME? for an unknown name). Not covered: functions, ranges, other sheets, arrays;
// such a formula keeps its text and shows an empty value.
#pragma once

#include "engine/Cell.h"

#include <vector>

namespace engine {

class Workbook;

class CsvFormula {
public:
    // Replaces the value of every formula cell in `cells` by its result where it can.
    static void EvaluateAll(Workbook& book, std::vector<Cell>& cells);
};

}  // namespace engine
