// One argument or intermediate result of a formula: a value, or a range not yet read, so that
// functions such as SUM can walk a range and skip its text while a direct text argument
// counts. A missing argument (ROUND(2.5,)) is marked, for the functions that default it.
#pragma once

#include "engine/calc/FormulaContext.h"

#include <optional>

namespace engine {

struct FormulaOperand {
    FormulaValue value;
    std::optional<RangeRef> range;
    bool missing = false;

    // The one value it stands for: a one-cell range reads its cell. A larger range would
    // need the intersection with the formula's own row or column: not computed.
    FormulaValue Scalar(FormulaContext& context) const {
        if (!range) {
            return value;
        }
        if (!range->IsSingleCell()) {
            throw Unevaluated{};
        }
        return context.Value(range->sheet, range->rect.top, range->rect.left);
    }
};

}  // namespace engine
