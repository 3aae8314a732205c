#include "engine/find/RangeFinder.h"

#include "engine/find/FindPattern.h"
#include "engine/find/NumberAlphabets.h"
#include "engine/format/NumberFormatter.h"
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"

#include <algorithm>

namespace engine {
namespace {

// Yes-or-no answers by index, remembered for one Find: each is decided once.
class Memo {
public:
    // Room for `size` answers up front, when the indexes to come are known.
    explicit Memo(size_t size = 0) : known_(size, Unknown) {}

    template <typename Decide>
    bool Get(size_t index, const Decide& decide) {
        if (index >= known_.size()) {
            known_.resize(index + 1, Unknown);
        }
        if (known_[index] == Unknown) {
            known_[index] = decide() ? Yes : No;
        }
        return known_[index] == Yes;
    }

private:
    enum : uint8_t { Unknown, Yes, No };
    std::vector<uint8_t> known_;
};

// Matches of pool strings, remembered for the one Find: shared strings repeat across cells,
// and each is folded and matched once.
class StringMatches {
public:
    StringMatches(const Workbook& book, const FindPattern& pattern)
        : book_(book), pattern_(pattern), known_(book.StringCount()) {}

    bool Matches(uint32_t index) {
        if (index >= book_.StringCount()) {
            return pattern_.Matches(QString());  // no text (NoString): the pool's empty string
        }
        return known_.Get(index, [&] { return pattern_.Matches(book_.String(index)); });
    }

private:
    const Workbook& book_;
    const FindPattern& pattern_;
    Memo known_;
};

bool Inside(const CellRect& rect, int32_t row, int32_t column) {
    return row >= rect.top && row <= rect.bottom && column >= rect.left && column <= rect.right;
}

// Which number cells the word cannot match without rendering them, decided once per Find:
// a number format shows only digits, separators, its own literals and the letters of the
// names it shows.
class NumberRejects {
public:
    NumberRejects(const Workbook& book, const FindPattern& pattern)
        : book_(book),
          pattern_(pattern),
          generalMayMatch_(pattern.CouldMatchWithin(GeneralNumberAlphabet)),
          constantMayMatch_(pattern.CouldMatchWithin(NumberConstantAlphabet)) {}

    // Whether the edit-bar text of a number constant can match.
    bool EditMayMatch(const Cell& cell) const {
        return constantMayMatch_ && (generalMayMatch_ || !CellText::HasGeneralFormat(book_, cell));
    }

    // Whether the displayed text of a number shown with the cell's format can match.
    bool DisplayMayMatch(const Cell& cell) {
        if (CellText::HasGeneralFormat(book_, cell)) {
            return generalMayMatch_;
        }
        return known_.Get(cell.format, [&] {
            return pattern_.CouldMatchWithin(DisplayedNumberAlphabet(book_, cell));
        });
    }

private:
    const Workbook& book_;
    const FindPattern& pattern_;
    bool generalMayMatch_;
    bool constantMayMatch_;
    Memo known_;  // by format index
};

// Which formats show a text value as it is (those without a text section), decided once per
// format: such texts are matched through the pool's memo.
class PlainTextFormats {
public:
    explicit PlainTextFormats(const Workbook& book) : book_(book) {}

    bool ShowsAsIs(uint32_t format) {
        return known_.Get(format,
                          [&] { return !NumberFormatter::FormatsText(book_.Format(format)); });
    }

private:
    const Workbook& book_;
    Memo known_;
};

bool CellMatches(const Workbook& book, const Cell& cell, LookIn lookIn, const FindPattern& pattern,
                 StringMatches& strings, NumberRejects& numbers, PlainTextFormats& texts) {
    if (cell.type == CellType::Number && lookIn == LookIn::Formulas && cell.formula == NoString &&
        !numbers.EditMayMatch(cell)) {
        return false;
    }
    if (cell.type == CellType::Number && lookIn == LookIn::Values &&
        !numbers.DisplayMayMatch(cell)) {
        return false;
    }
    if (lookIn == LookIn::Formulas) {
        if (cell.formula != NoString) {
            return pattern.Matches(u"=", book.String(cell.formula));
        }
        switch (cell.type) {
            case CellType::Blank:
                return false;
            case CellType::Text:
            case CellType::Error:
                return strings.Matches(cell.text);
            case CellType::Boolean:
            case CellType::Number:
                return pattern.Matches(CellText::EditText(book, cell));
        }
        return false;
    }
    if (cell.type == CellType::Blank) {
        return false;
    }
    if (cell.type == CellType::Error ||
        (cell.type == CellType::Text && texts.ShowsAsIs(cell.format))) {
        return strings.Matches(cell.text);
    }
    return pattern.Matches(CellText::Text(book, cell));
}

// Which cells the application's Find passes over: looking in values, those in hidden rows
// and columns (nothing is shown there); looking anywhere, rows an active filter hides.
class CellVisibility {
public:
    CellVisibility(const Worksheet& sheet, const FindOptions& options)
        : sheet_(sheet),
          active_(!options.hiddenCells && sheet.HasHiddenCells()),
          values_(options.lookIn == LookIn::Values) {}

    bool Shown(int32_t row, int32_t column) const {
        if (!active_) {
            return true;
        }
        if (values_) {
            return !sheet_.IsRowHidden(row) && !sheet_.IsColumnHidden(column);
        }
        return !sheet_.IsFilteredOut(row);
    }

private:
    const Worksheet& sheet_;
    bool active_;
    bool values_;
};

}  // namespace

RangeFinder::RangeFinder(const Workbook& book, const Worksheet& sheet, const CellRect& rect,
                         const FindOptions& options)
    : byColumns_(options.byColumns), previous_(options.previous) {
    const FindPattern pattern(options.what, options.whole,
                              TextFolder(options.matchCase, options.matchByte));
    const CellVisibility visibility(sheet, options);
    if (options.lookIn == LookIn::Comments) {
        for (const CellNote& note : sheet.Notes()) {
            if (Inside(rect, note.row, note.column) && visibility.Shown(note.row, note.column) &&
                pattern.Matches(note.text)) {
                matches_.push_back(Key({note.row, note.column}));
            }
        }
    } else {
        StringMatches strings(book, pattern);
        NumberRejects numbers(book, pattern);
        PlainTextFormats texts(book);
        const auto& cells = sheet.Cells();
        auto it = std::lower_bound(cells.begin(), cells.end(), rect.top,
                                   [](const Cell& cell, int32_t row) { return cell.row < row; });
        for (; it != cells.end() && it->row <= rect.bottom; ++it) {
            if (it->column >= rect.left && it->column <= rect.right &&
                visibility.Shown(it->row, it->column) &&
                CellMatches(book, *it, options.lookIn, pattern, strings, numbers, texts)) {
                matches_.push_back(Key({it->row, it->column}));
            }
        }
    }
    // Cells and notes are stored row-major; the column order needs a sort.
    if (byColumns_) {
        std::sort(matches_.begin(), matches_.end());
    }
}

uint64_t RangeFinder::Key(CellPosition position) const {
    const auto row = static_cast<uint32_t>(position.row);
    const auto column = static_cast<uint32_t>(position.column);
    return byColumns_ ? (uint64_t{column} << 32) | row : (uint64_t{row} << 32) | column;
}

std::optional<CellPosition> RangeFinder::Next(CellPosition after) const {
    if (matches_.empty()) {
        return std::nullopt;
    }
    const uint64_t key = Key(after);
    uint64_t found = 0;
    if (previous_) {
        auto it = std::lower_bound(matches_.begin(), matches_.end(), key);
        found = it == matches_.begin() ? matches_.back() : *std::prev(it);
    } else {
        auto it = std::upper_bound(matches_.begin(), matches_.end(), key);
        found = it == matches_.end() ? matches_.front() : *it;
    }
    const auto high = static_cast<int32_t>(found >> 32);
    const auto low = static_cast<int32_t>(found & 0xFFFFFFFFu);
    return byColumns_ ? CellPosition{low, high} : CellPosition{high, low};
}

}  // namespace engine
