// The condition of SUMIF and COUNTIF ("東京", ">=10", "<>", "A*"), and the exact match of
// MATCH and VLOOKUP: texts compare without case, `*` and `?` are wildcards in an equality
// with text and `~` takes the next character literally.
#pragma once

#include "engine/calc/FormulaValue.h"

#include <QString>
#include <QStringView>

namespace engine {

class FormulaCriteria {
public:
    // A criterion argument as given: a number or boolean matches equal values; a text may
    // start with a comparison operator.
    FormulaCriteria(const FormulaValue& criterion, bool date1904);

    bool Matches(const FormulaValue& value) const;

    // Whether `text` matches `pattern` with its wildcards, without case.
    static bool WildcardMatch(QStringView pattern, QStringView text);
    // Whether `value` equals `wanted` for an exact lookup (wildcards when `wanted` is text).
    static bool LookupEquals(const FormulaValue& wanted, const FormulaValue& value);

private:
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

    Op op_ = Op::Equal;
    FormulaValue operand_;  // a number, a boolean or a text (a pattern for = and <>)
};

}  // namespace engine
