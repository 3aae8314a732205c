// Computes one formula text (without its "="), as the spreadsheet application does on
// recalculation: numbers, "text", TRUE/FALSE, error values, references to cells and ranges of
// this and other sheets of the book ('Sheet 2'!A1:B3, A:A, 1:1), parentheses, the operators
// in the application's precedence (- % ^ * / + - & = <> < > <= >=, a leading sign binding
// tightest) and the functions of FormulaFunctions. IF and IFERROR compute only the branch
// they take. Throws Unevaluated for anything else (arrays, unions, intersections, names it
// cannot resolve) and for nesting deeper than MaxNesting.
#pragma once

#include "engine/calc/FormulaContext.h"

#include <QStringView>

namespace engine {

class FormulaEvaluator {
public:
    static constexpr int MaxNesting = 64;

    // The value of `formula` in a cell of sheet `sheet`.
    static FormulaValue Evaluate(QStringView formula, int sheet, FormulaContext& context);
};

}  // namespace engine
