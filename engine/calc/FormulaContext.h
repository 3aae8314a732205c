// What a formula reads while it is evaluated: the cells of the workbook's sheets, found by
// name, and the settings of the open. The evaluator throws Unevaluated, and so may the
// context, for whatever it cannot answer truly (a circular reference, a sheet that does not
// read, a budget spent): the cell then keeps no value rather than a wrong one.
#pragma once

#include "engine/calc/FormulaValue.h"
#include "engine/model/Worksheet.h"

#include <QStringView>
#include <functional>
#include <optional>

namespace engine {

struct Unevaluated {};

// A rectangle of cells on one sheet (a 0-based sheet index).
struct RangeRef {
    int sheet = 0;
    CellRect rect;

    bool IsSingleCell() const { return rect.top == rect.bottom && rect.left == rect.right; }
};

class FormulaContext {
public:
    // Returns false to stop the walk.
    using CellVisitor = std::function<bool(int32_t row, int32_t column, const FormulaValue&)>;

    virtual ~FormulaContext() = default;
    // The index of the sheet of this name (compared without case), if the book has one.
    virtual std::optional<int> SheetNamed(QStringView name) = 0;
    virtual FormulaValue Value(int sheet, int32_t row, int32_t column) = 0;
    // Calls `visit` for every stored, non-empty cell of `range`, row by row, until it
    // returns false.
    virtual void ForEach(const RangeRef& range, const CellVisitor& visit) = 0;
    // A name that is no function, cell or sheet: #NAME? where the file cannot define names,
    // else left unevaluated (it may be a defined name).
    virtual bool UnknownNamesAreErrors() const = 0;
    virtual bool Date1904() const = 0;
    // The serial of the moment the workbook was opened (TODAY and NOW).
    virtual double Now() const = 0;
    // Counts a unit of work; throws Unevaluated when the open's budget is spent.
    virtual void Step() = 0;
};

}  // namespace engine
