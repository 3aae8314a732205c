// Computes a workbook's formulas stored without a result, as the application recalculates
// such a book on opening: each sheet's uncalculated cells in row order when the sheet is
// read, the cells they refer to first, on any sheet; a chain of references deeper than
// MaxChain is taken up from where it stopped, and the cells before computed after. A sheet
// read by a formula is calculated once that formula is done. A formula that cannot be computed (a
// function not covered, a circular reference, a budget spent) keeps its empty value. Bounded: the
// work of one open is limited in steps and time, its texts by what a cell holds.
#pragma once

#include "engine/calc/FormulaContext.h"
#include "engine/model/BookCalculation.h"

#include <QDateTime>
#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace engine {

class Workbook;

// What one open may spend on its formulas.
struct CalculationBudget {
    int64_t steps = 50'000'000;
    std::chrono::milliseconds time{5000};
};

class WorkbookCalculator : public BookCalculation {
public:
    static constexpr int MaxChain = 128;

    // `unknownNamesAreErrors`: the file cannot define names (a .csv), so an unknown one is
    // #NAME? as the application shows.
    explicit WorkbookCalculator(bool unknownNamesAreErrors, CalculationBudget budget = {});
    ~WorkbookCalculator() override;

    void Calculate(Workbook& book, int index) override;

private:
    enum class State : uint8_t { Pending, Running, Done, Failed };
    class Context;
    friend class Context;

    State& StateOf(int sheet, size_t cell);
    // Computes a cell from the top: the far end of a chain too deep for one pass first.
    void ResolveChain(Workbook& book, int sheet, size_t cell);
    // Computes one uncalculated cell; throws Unevaluated when it cannot be and it was asked
    // for by another formula.
    void Resolve(Workbook& book, int sheet, size_t cell);
    FormulaValue ValueOf(Workbook& book, int sheet, size_t cell);
    void Store(Workbook& book, Cell& cell, const FormulaValue& value) const;
    void Step();

    bool unknownNamesAreErrors_;
    CalculationBudget budget_;
    QDateTime opened_;
    std::vector<std::vector<State>> states_;  // per sheet, per cell, once it is calculated
    int chain_ = 0;
    // The cell at which the current chain reached MaxChain: left pending, computed first.
    std::optional<std::pair<int, size_t>> tooDeepAt_;
    std::vector<int> deferred_;  // sheets read by a formula, calculated after it
    int64_t steps_ = 0;
    bool started_ = false;
    std::chrono::steady_clock::time_point deadline_;
};

}  // namespace engine
