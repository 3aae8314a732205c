// The worksheet functions the evaluator computes, by their upper-case names: SUM, AVERAGE,
// COUNT, COUNTA, MIN, MAX, ROUND, ROUNDUP, ROUNDDOWN, INT, ABS, MOD, AND, OR, NOT,
// CONCATENATE, CONCAT, LEFT, RIGHT, MID, LEN, TRIM, UPPER, LOWER, TEXT, VALUE, DATE, YEAR,
// MONTH, DAY, TODAY, NOW, VLOOKUP, HLOOKUP, INDEX, MATCH, SUMIF and COUNTIF (IF and
// IFERROR are the evaluator's own, as they compute one branch only). Each follows the
// application: which arguments count in a range and which directly, its error values, its
// defaults. A wrong number of arguments, which the application would not have saved, is
// Unevaluated.
#pragma once

#include "engine/calc/FormulaOperand.h"

#include <QStringView>
#include <vector>

namespace engine {

class FormulaFunctions {
public:
    static bool Knows(QStringView name);
    static FormulaValue Call(QStringView name, const std::vector<FormulaOperand>& args,
                             FormulaContext& context);
};

}  // namespace engine
