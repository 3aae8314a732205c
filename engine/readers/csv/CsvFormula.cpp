#include "engine/readers/csv/CsvFormula.h"

#include "engine/model/Workbook.h"
#include "engine/readers/csv/FormulaExpression.h"

#include <QHash>

namespace engine {
namespace {

using Unevaluated = FormulaExpression::Unevaluated;

// References leading through more formulas than this are left unevaluated.
constexpr int MaxDepth = 64;

class Evaluator {
public:
    Evaluator(Workbook& book, std::vector<Cell>& cells) : book_(book), cells_(cells) {
        for (size_t i = 0; i < cells_.size(); ++i) {
            index_.insert(Key(cells_[i].row, cells_[i].column), i);
        }
        state_.assign(cells_.size(), Pending);
    }

    void Run() {
        for (size_t i = 0; i < cells_.size(); ++i) {
            if (cells_[i].formula != NoString) {
                Resolve(i, 0);
            }
        }
    }

private:
    enum State : uint8_t { Pending, Running, Done, Failed };

    static quint64 Key(int32_t row, int32_t column) {
        return (quint64(uint32_t(row)) << 32) | uint32_t(column);
    }

    // Evaluates formula cell `i` once and stores the result in the cell.
    void Resolve(size_t i, int depth) {
        if (state_[i] == Done || state_[i] == Failed) {
            return;
        }
        if (state_[i] == Running || depth > MaxDepth) {
            throw Unevaluated{};  // a circular reference
        }
        state_[i] = Running;
        const QString formula = book_.String(cells_[i].formula);
        try {
            Store(cells_[i], FormulaExpression::Evaluate(formula, [&](int32_t row, int32_t column) {
                      return CellValue(row, column, depth);
                  }));
            state_[i] = Done;
        } catch (const Unevaluated&) {
            state_[i] = Failed;
            if (depth > 0) {
                throw;
            }
        }
    }

    void Store(Cell& cell, const FormulaValue& v) {
        switch (v.kind) {
            case FormulaValue::Empty:
            case FormulaValue::Number:
                cell.type = CellType::Number;
                cell.number = v.number;
                break;
            case FormulaValue::Text:
                cell.type = CellType::Text;
                cell.text = book_.AddString(v.text);
                break;
            case FormulaValue::Boolean:
                cell.type = CellType::Boolean;
                cell.number = v.number;
                break;
            case FormulaValue::Error:
                cell.type = CellType::Error;
                cell.text = book_.AddString(v.text);
                break;
        }
    }

    FormulaValue CellValue(int32_t row, int32_t column, int depth) {
        const auto it = index_.constFind(Key(row, column));
        if (it == index_.constEnd()) {
            return {};
        }
        if (cells_[*it].formula != NoString) {
            Resolve(*it, depth + 1);
            if (state_[*it] != Done) {
                throw Unevaluated{};
            }
        }
        const Cell& cell = cells_[*it];
        switch (cell.type) {
            case CellType::Number:
                return {FormulaValue::Number, cell.number, {}};
            case CellType::Text:
                return {FormulaValue::Text, 0, book_.String(cell.text)};
            case CellType::Boolean:
                return {FormulaValue::Boolean, cell.number, {}};
            case CellType::Error:
                return {FormulaValue::Error, 0, book_.String(cell.text)};
            case CellType::Blank:
                break;
        }
        return {};
    }

    Workbook& book_;
    std::vector<Cell>& cells_;
    QHash<quint64, size_t> index_;
    std::vector<State> state_;
};

}  // namespace

void CsvFormula::EvaluateAll(Workbook& book, std::vector<Cell>& cells) {
    Evaluator(book, cells).Run();
}

}  // namespace engine
