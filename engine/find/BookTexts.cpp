#include "engine/find/BookTexts.h"

#include "engine/find/NumberAlphabets.h"
#include "engine/find/TextFolder.h"
#include "engine/format/NumberFormatter.h"
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"

#include <QHash>
#include <unordered_map>
#include <unordered_set>

namespace engine {
namespace {

// Gathers the folded texts once each, and the alphabets of the formats numbers are shown
// in: folded, a number's digits are all 0, so its text would tell little more.
class TextList {
public:
    explicit TextList(const Workbook& book)
        : book_(book), seen_(0, SpanHash{list_.texts}, SpanEqual{list_.texts}) {}

    // The folded form is written at the end of the list and taken back when it is there
    // already.
    void Add(QStringView text, QStringView prefix = {}) {
        if (text.isEmpty() && prefix.isEmpty()) {
            return;
        }
        const qsizetype start = list_.texts.size();
        TextFolder::AppendForIndex(prefix, list_.texts);
        TextFolder::AppendForIndex(text, list_.texts);
        if (seen_.insert({start, list_.texts.size() - start}).second) {
            list_.texts += BookTexts::Separator;
        } else {
            list_.texts.truncate(start);
        }
    }

    void AddPooled(uint32_t index) {
        if (FirstTime(poolSeen_, index)) {
            Add(book_.String(index));
        }
    }

    void AddFormula(uint32_t index) {
        if (FirstTime(formulaSeen_, index)) {
            Add(book_.String(index), u"=");
        }
    }

    // The characters numbers in `format` may show, once per format.
    template <typename Alphabet>
    void AddNumberFormat(uint32_t format, const Alphabet& alphabet) {
        if (format >= formatSeen_.size()) {
            formatSeen_.resize(size_t{format} + 1);
        }
        if (formatSeen_[format]) {
            return;
        }
        formatSeen_[format] = true;
        QString folded;
        TextFolder::AppendForIndex(alphabet(), folded);
        for (const QChar c : folded) {
            if (!list_.numberAlphabet.contains(c)) {
                list_.numberAlphabet += c;
            }
        }
    }

    // Whether `format` has a text section, so a text shows other than it is; once per format.
    bool FormatsText(uint32_t format) {
        const auto known = formatsText_.try_emplace(format, false);
        if (known.second) {
            known.first->second = NumberFormatter::FormatsText(book_.Format(format));
        }
        return known.first->second;
    }

    bool TooLong() const { return list_.texts.size() > BookTexts::MaxCharacters; }
    BookTextList Take() { return std::move(list_); }

private:
    // A text of the list, by where it stands in it.
    struct Span {
        qsizetype start;
        qsizetype length;
    };
    struct SpanHash {
        const QString& texts;
        size_t operator()(const Span& span) const {
            return qHash(QStringView(texts).sliced(span.start, span.length));
        }
    };
    struct SpanEqual {
        const QString& texts;
        bool operator()(const Span& a, const Span& b) const {
            const QStringView all(texts);
            return all.sliced(a.start, a.length) == all.sliced(b.start, b.length);
        }
    };

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

    const Workbook& book_;
    BookTextList list_;
    std::unordered_set<Span, SpanHash, SpanEqual> seen_;
    std::vector<bool> poolSeen_;  // by pool index, as a text and as a formula
    std::vector<bool> formulaSeen_;
    std::vector<bool> formatSeen_;  // by format index
    std::unordered_map<uint32_t, bool> formatsText_;
};

void AddFormulaTexts(const Workbook& book, const Worksheet& sheet, TextList& list) {
    for (const Cell& cell : sheet.Cells()) {
        if (cell.formula != NoString) {
            list.AddFormula(cell.formula);
        } else if (cell.type == CellType::Text || cell.type == CellType::Error) {
            list.AddPooled(cell.text);
        } else if (cell.type == CellType::Boolean) {
            list.Add(CellText::EditText(book, cell));
        } else if (cell.type == CellType::Number) {
            // The edit-bar form is the same for every format.
            list.AddNumberFormat(0, [] { return NumberConstantAlphabet; });
        }
    }
}

void AddValueTexts(const Workbook& book, const Worksheet& sheet, TextList& list) {
    for (const Cell& cell : sheet.Cells()) {
        switch (cell.type) {
            case CellType::Blank:
                break;
            case CellType::Error:
                list.AddPooled(cell.text);
                break;
            case CellType::Text:
                if (list.FormatsText(cell.format)) {
                    list.Add(CellText::Text(book, cell));
                } else {
                    list.AddPooled(cell.text);
                }
                break;
            case CellType::Boolean:
                list.Add(CellText::Text(book, cell));
                break;
            case CellType::Number:
                list.AddNumberFormat(cell.format,
                                     [&] { return DisplayedNumberAlphabet(book, cell); });
                break;
        }
    }
}

}  // namespace

std::optional<BookTextList> BookTexts::Collect(Workbook& book, LookIn lookIn) {
    TextList list(book);
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
                AddValueTexts(book, sheet, list);
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
