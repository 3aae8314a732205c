#include "engine/calc/WorkbookCalculator.h"

#include "engine/calc/FormulaEvaluator.h"
#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"

#include <algorithm>

namespace engine {
namespace {

bool CellBefore(const Cell& cell, std::pair<int32_t, int32_t> at) {
    return cell.row != at.first ? cell.row < at.first : cell.column < at.second;
}

FormulaValue StoredValue(const Workbook& book, const Cell& cell) {
    switch (cell.type) {
        case CellType::Number:
            return {FormulaValue::Number, cell.number, {}};
        case CellType::Text:
            return {FormulaValue::Text, 0, book.String(cell.text)};
        case CellType::Boolean:
            return {FormulaValue::Boolean, cell.number, {}};
        case CellType::Error:
            return {FormulaValue::Error, 0, book.String(cell.text)};
        case CellType::Blank:
            break;
    }
    return {};
}

}  // namespace

// The workbook as formulas see it, for one calculation.
class WorkbookCalculator::Context : public FormulaContext {
public:
    Context(WorkbookCalculator& calculator, Workbook& book)
        : calculator_(calculator), book_(book) {}

    std::optional<int> SheetNamed(QStringView name) override {
        for (int i = 0; i < book_.SheetCount(); ++i) {
            if (name.compare(book_.SheetName(i), Qt::CaseInsensitive) == 0) {
                return i;
            }
        }
        return std::nullopt;
    }
    FormulaValue Value(int sheet, int32_t row, int32_t column) override {
        Worksheet& ws = SheetAt(sheet);
        const Cell* cell = ws.FindCell(row, column);
        return cell ? calculator_.ValueOf(book_, sheet, size_t(cell - ws.Cells().data()))
                    : FormulaValue{};
    }
    void ForEach(const RangeRef& range, const CellVisitor& visit) override {
        Worksheet& ws = SheetAt(range.sheet);
        const std::vector<Cell>& cells = ws.Cells();
        const CellRect& r = range.rect;
        auto it =
            std::lower_bound(cells.begin(), cells.end(), std::pair(r.top, r.left), CellBefore);
        while (it != cells.end() && it->row <= r.bottom) {
            // Jump over the columns outside the range rather than walk them.
            if (it->column < r.left || it->column > r.right) {
                const auto next = it->column < r.left ? std::pair(it->row, r.left)
                                                      : std::pair(it->row + 1, r.left);
                it = std::lower_bound(it, cells.end(), next, CellBefore);
                continue;
            }
            const FormulaValue value =
                calculator_.ValueOf(book_, range.sheet, size_t(it - cells.begin()));
            if (value.kind != FormulaValue::Empty && !visit(it->row, it->column, value)) {
                return;
            }
            ++it;
        }
    }
    bool UnknownNamesAreErrors() const override { return calculator_.unknownNamesAreErrors_; }
    bool Date1904() const override { return book_.Date1904(); }
    double Now() const override {
        static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
        const QDateTime local = calculator_.opened_;
        const double days = double(epoch.date().daysTo(local.date())) +
                            local.time().msecsSinceStartOfDay() / 86400000.0;
        return book_.Date1904() ? days - 1462 : days;
    }
    void Step() override { calculator_.Step(); }

private:
    Worksheet& SheetAt(int sheet) {
        try {
            return book_.Sheet(sheet);
        } catch (const EngineError&) {
            throw Unevaluated{};  // the book's error shows when the search reaches that sheet
        }
    }

    WorkbookCalculator& calculator_;
    Workbook& book_;
};

WorkbookCalculator::WorkbookCalculator(bool unknownNamesAreErrors, CalculationBudget budget)
    : unknownNamesAreErrors_(unknownNamesAreErrors),
      budget_(budget),
      opened_(QDateTime::currentDateTime()) {}

WorkbookCalculator::~WorkbookCalculator() = default;

void WorkbookCalculator::Calculate(Workbook& book, int index) {
    if (chain_ > 0) {
        // Read for a formula being computed: its cells are computed as that one asks for
        // them, the rest after it, so that none sees a cell of the chain as circular.
        deferred_.push_back(index);
        return;
    }
    if (!started_) {
        started_ = true;
        deadline_ = std::chrono::steady_clock::now() + budget_.time;
    }
    std::vector<Cell>& cells = book.Sheet(index).CellsToCalculate();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].uncalculated) {
            ResolveChain(book, index, i);
        }
    }
    while (!deferred_.empty()) {
        const int sheet = deferred_.back();
        deferred_.pop_back();
        Calculate(book, sheet);
    }
}

void WorkbookCalculator::ResolveChain(Workbook& book, int sheet, size_t cell) {
    std::vector<std::pair<int, size_t>> pending{{sheet, cell}};
    while (!pending.empty()) {
        const auto [s, c] = pending.back();
        tooDeepAt_.reset();
        try {
            Resolve(book, s, c);
        } catch (const Unevaluated&) {
        }
        if (tooDeepAt_ && StateOf(tooDeepAt_->first, tooDeepAt_->second) == State::Pending &&
            pending.size() < size_t{1} << 20) {
            pending.push_back(*tooDeepAt_);
            continue;
        }
        if (StateOf(s, c) == State::Pending) {
            StateOf(s, c) = State::Failed;
        }
        pending.pop_back();
    }
    tooDeepAt_.reset();
}

WorkbookCalculator::State& WorkbookCalculator::StateOf(int sheet, size_t cell) {
    if (states_.size() <= size_t(sheet)) {
        states_.resize(size_t(sheet) + 1);
    }
    std::vector<State>& states = states_[size_t(sheet)];
    if (states.size() <= cell) {
        states.resize(cell + 1, State::Pending);
    }
    return states[cell];
}

void WorkbookCalculator::Resolve(Workbook& book, int sheet, size_t index) {
    State& state = StateOf(sheet, index);
    if (state == State::Done || state == State::Failed) {
        return;
    }
    if (state == State::Running) {
        throw Unevaluated{};  // a circular reference
    }
    if (chain_ >= MaxChain) {
        tooDeepAt_ = {sheet, index};
        throw Unevaluated{};
    }
    state = State::Running;
    ++chain_;
    std::vector<Cell>& cells = book.Sheet(sheet).CellsToCalculate();
    try {
        Step();
        Context context(*this, book);
        const FormulaValue value =
            FormulaEvaluator::Evaluate(book.String(cells[index].formula), sheet, context);
        Store(book, cells[index], value);
        StateOf(sheet, index) = State::Done;
        --chain_;
    } catch (const Unevaluated&) {
        StateOf(sheet, index) = tooDeepAt_ ? State::Pending : State::Failed;
        --chain_;
        if (chain_ > 0) {
            throw;
        }
    } catch (...) {
        StateOf(sheet, index) = State::Failed;
        --chain_;
        throw;
    }
}

FormulaValue WorkbookCalculator::ValueOf(Workbook& book, int sheet, size_t index) {
    const Cell& cell = book.Sheet(sheet).Cells()[index];
    if (cell.uncalculated) {
        Resolve(book, sheet, index);
        if (StateOf(sheet, index) != State::Done) {
            throw Unevaluated{};
        }
    }
    return StoredValue(book, book.Sheet(sheet).Cells()[index]);
}

void WorkbookCalculator::Store(Workbook& book, Cell& cell, const FormulaValue& value) const {
    cell.uncalculated = false;
    switch (value.kind) {
        case FormulaValue::Empty:
        case FormulaValue::Number:
            cell.type = CellType::Number;
            cell.number = value.number;
            break;
        case FormulaValue::Text:
            cell.type = CellType::Text;
            cell.text = book.AddString(value.text);
            break;
        case FormulaValue::Boolean:
            cell.type = CellType::Boolean;
            cell.number = value.number;
            break;
        case FormulaValue::Error:
            cell.type = CellType::Error;
            cell.text = book.AddString(value.text);
            break;
    }
}

void WorkbookCalculator::Step() {
    ++steps_;
    if (steps_ > budget_.steps ||
        (steps_ % 1024 == 0 && std::chrono::steady_clock::now() > deadline_)) {
        steps_ = budget_.steps + 1;  // spent: every formula left stays empty
        throw Unevaluated{};
    }
}

}  // namespace engine
