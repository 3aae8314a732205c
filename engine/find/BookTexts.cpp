#include "engine/find/BookTexts.h"

#include "engine/find/NumberAlphabets.h"
#include "engine/find/TextFolder.h"
#include "engine/format/NumberFormatter.h"
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"

#include <QSet>
#include <bit>
#include <unordered_map>
#include <unordered_set>

namespace engine {
namespace {

// Gathers the folded texts once each, and the alphabets that stand in for numbers past the
// limit.
class TextList {
public:
    explicit TextList(const Workbook& book) : book_(book) {}

    void Add(QStringView text) {
        if (text.isEmpty()) {
            return;
        }
        folded_.clear();
        TextFolder::AppendForIndex(text, folded_);
        if (!seen_.contains(folded_)) {
            seen_.insert(folded_);
            list_.texts += folded_;
            list_.texts += BookTexts::Separator;
        }
    }

    void AddPooled(uint32_t index) {
        if (FirstTime(poolSeen_, index)) {
            Add(book_.String(index));
        }
    }

    void AddFormula(uint32_t index) {
        if (FirstTime(formulaSeen_, index)) {
            Add(QStringLiteral("=") + book_.String(index));
        }
    }

    // A number or truth value shown as `render` makes it, once per value and format; past
    // the limit, through `alphabet` instead.
    template <typename Render, typename Alphabet>
    void AddNumber(const Cell& cell, const Render& render, const Alphabet& alphabet) {
        const uint32_t key = cell.format << 1 | (cell.type == CellType::Boolean ? 1 : 0);
        if (numberCount_ >= BookTexts::MaxNumberTexts) {
            if (alphabetKeys_.insert(key).second) {
                AddAlphabet(alphabet(cell));
            }
            return;
        }
        if (numbers_[key].insert(std::bit_cast<uint64_t>(cell.number)).second) {
            ++numberCount_;
            Add(render(cell));
        }
    }

    bool TooLong() const { return list_.texts.size() > BookTexts::MaxCharacters; }
    BookTextList Take() { return std::move(list_); }

private:
    bool FirstTime(std::vector<bool>& seen, uint32_t index) const {
        if (index >= book_.StringCount()) {
            return false;
        }
        if (index >= seen.size()) {
            seen.resize(book_.StringCount());  // the pool grows as sheets are read
        }
        if (seen[index]) {
            return false;
        }
        seen[index] = true;
        return true;
    }

    void AddAlphabet(QStringView alphabet) {
        folded_.clear();
        TextFolder::AppendForIndex(alphabet, folded_);
        for (const QChar c : folded_) {
            if (!list_.numberAlphabet.contains(c)) {
                list_.numberAlphabet += c;
            }
        }
    }

    const Workbook& book_;
    BookTextList list_;
    QSet<QString> seen_;
    QString folded_;
    std::vector<bool> poolSeen_;  // by pool index, as a text and as a formula
    std::vector<bool> formulaSeen_;
    // Values seen, by format and kind.
    std::unordered_map<uint32_t, std::unordered_set<uint64_t>> numbers_;
    size_t numberCount_ = 0;
    std::unordered_set<uint32_t> alphabetKeys_;
};

void AddFormulaTexts(const Workbook& book, const Worksheet& sheet, TextList& list) {
    const auto editText = [&](const Cell& cell) { return CellText::EditText(book, cell); };
    const auto alphabet = [](const Cell&) { return NumberConstantAlphabet; };
    for (const Cell& cell : sheet.Cells()) {
        if (cell.formula != NoString) {
            list.AddFormula(cell.formula);
        } else if (cell.type == CellType::Text || cell.type == CellType::Error) {
            list.AddPooled(cell.text);
        } else if (cell.type != CellType::Blank) {
            list.AddNumber(cell, editText, alphabet);
        }
    }
}

void AddValueTexts(const Workbook& book, const Worksheet& sheet, TextList& list,
                   std::unordered_map<uint32_t, bool>& formatsText) {
    const auto text = [&](const Cell& cell) { return CellText::Text(book, cell); };
    const auto alphabet = [&](const Cell& cell) {
        return CellText::HasGeneralFormat(book, cell)
                   ? GeneralNumberAlphabet.toString()
                   : NumberFormatter::NumberAlphabet(book.Format(cell.format));
    };
    for (const Cell& cell : sheet.Cells()) {
        switch (cell.type) {
            case CellType::Blank:
                break;
            case CellType::Error:
                list.AddPooled(cell.text);
                break;
            case CellType::Text: {
                const auto known = formatsText.try_emplace(cell.format, false);
                if (known.second) {
                    known.first->second = NumberFormatter::FormatsText(book.Format(cell.format));
                }
                if (known.first->second) {
                    list.Add(CellText::Text(book, cell));
                } else {
                    list.AddPooled(cell.text);
                }
                break;
            }
            case CellType::Number:
            case CellType::Boolean:
                list.AddNumber(cell, text, alphabet);
                break;
        }
    }
}

}  // namespace

std::optional<BookTextList> BookTexts::Collect(Workbook& book, LookIn lookIn) {
    TextList list(book);
    std::unordered_map<uint32_t, bool> formatsText;
    for (int index = 0; index < book.SheetCount(); ++index) {
        const Worksheet& sheet = book.Sheet(index);
        switch (lookIn) {
            case LookIn::Formulas:
                AddFormulaTexts(book, sheet, list);
                break;
            case LookIn::Values:
                // Computed on opening, a value may differ the next time (today's date).
                if (sheet.HasUncalculated()) {
                    return std::nullopt;
                }
                AddValueTexts(book, sheet, list, formatsText);
                break;
            case LookIn::Comments:
                for (const CellNote& note : sheet.Notes()) {
                    list.Add(note.text);
                }
                break;
        }
        if (list.TooLong()) {
            return std::nullopt;
        }
    }
    return list.Take();
}

}  // namespace engine
