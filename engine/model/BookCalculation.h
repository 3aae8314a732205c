// What computes the formulas a file stores without a result, as the spreadsheet application
// recalculates such a workbook when it opens it. The workbook calls it once for each sheet
// it reads that holds such cells; it may read other sheets meanwhile.
#pragma once

namespace engine {

class Workbook;

class BookCalculation {
public:
    virtual ~BookCalculation() = default;
    // Gives every uncalculated cell of sheet `index` its result where it can be computed.
    // Raises nothing but std::bad_alloc.
    virtual void Calculate(Workbook& book, int index) = 0;
};

}  // namespace engine
