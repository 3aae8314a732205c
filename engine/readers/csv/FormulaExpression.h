// Computes one formula text of a .csv cell: numbers, "text", TRUE/FALSE, references to
// single cells (A1, $B$2), parentheses, unary + and -, %, ^, * /, + -, & and the
// comparisons = <> < > <= >=, with the application's error values (#DIV/0!, #VALUE!,
// #NAME? for an unknown name). Functions, ranges, other sheets and arrays are not covered.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>

namespace engine {

struct FormulaValue {
    enum Kind { Empty, Number, Text, Boolean, Error } kind = Empty;
    double number = 0;  // Number, and Boolean as 1 or 0
    QString text;       // Text, or the code of an Error
};

class FormulaExpression {
public:
    // The value of a cell a formula refers to. May throw Unevaluated.
    using CellLookup = std::function<FormulaValue(int32_t row, int32_t column)>;
    // Thrown for what is not covered, and for nesting too deep to follow.
    struct Unevaluated {};

    // The value of `formula` (without its "="). Throws Unevaluated.
    static FormulaValue Evaluate(QStringView formula, const CellLookup& lookup);
};

}  // namespace engine
