#include "engine/readers/xlsx/WorksheetPart.h"

#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/CellReference.h"
#include "engine/readers/xlsx/NumberText.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>

namespace engine {
namespace {

// A rough lower bound of the XML one stored cell takes, to bound the reservation a
// `<dimension>` asks for by what the part can actually hold.
constexpr uint64_t MinBytesPerCell = 24;

[[noreturn]] void TooManyCells() {
    throw ReadError(ReadErrorCode::TooManyCells, {.expected = int64_t(WorksheetPart::MaxCells)});
}

bool IsTrue(std::string_view text) {
    return text == "1" || text == "true";
}

// Adds rows or columns to spans kept in reading order, joining one that continues the last.
void AddToSpans(auto& spans, int first, int last) {
    if (!spans.empty() && spans.back().last + 1 == first) {
        spans.back().last = last;
    } else {
        spans.push_back({first, last});
    }
}

// An ISO 8601 date-time as a serial of the workbook's date system; false if unreadable.
bool IsoToSerial(const std::string& text, bool date1904, double& serial) {
    const QString iso = QString::fromStdString(text).trimmed();
    QDateTime moment = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!moment.isValid()) {
        const QDate date = QDate::fromString(iso, Qt::ISODate);
        if (!date.isValid()) {
            return false;
        }
        moment = QDateTime(date, QTime(0, 0));
    }
    const QDate date = moment.date();
    qint64 days = date1904 ? QDate(1904, 1, 1).daysTo(date) : QDate(1899, 12, 30).daysTo(date);
    if (!date1904 && days < 61) {
        --days;  // before the 1900 system's 29 February
    }
    serial = static_cast<double>(days) + moment.time().msecsSinceStartOfDay() / 86400000.0;
    return true;
}

char TypeCode(std::string_view type) {
    if (type == "s" || type == "b" || type == "e" || type == "d" || type == "n") {
        return type[0];
    }
    if (type == "str") {
        return 'r';
    }
    if (type == "inlineStr") {
        return 'i';
    }
    return 'n';
}

}  // namespace

WorksheetPart::WorksheetPart(Workbook& book, Worksheet& sheet, const Context& context,
                             QString partName)
    : book_(book),
      sheet_(sheet),
      context_(context),
      scanner_(std::move(partName)),
      formulas_(strings_) {}

void WorksheetPart::Feed(std::string_view chunk) {
    scanner_.Feed(chunk);
    Scan();
}

void WorksheetPart::FeedInPieces(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size(); at += Piece) {
        Feed(bytes.substr(at, Piece));
    }
}

void WorksheetPart::Scan() {
    XmlScanner::Token token;
    while (true) {
        if (TakePlainCell() || TakePlainRow()) {
            continue;
        }
        if (!scanner_.Next(token)) {
            return;
        }
        switch (token.kind) {
            case XmlScanner::Kind::StartTag:
                StartElement(token);
                if (token.selfClosing) {
                    EndElement(token.name);
                }
                break;
            case XmlScanner::Kind::EndTag:
                EndElement(token.name);
                break;
            case XmlScanner::Kind::Text:
                Characters(token);
                break;
        }
    }
}

void WorksheetPart::StartElement(const XmlScanner::Token& tag) {
    const std::string_view name = tag.name;
    if (capture_ == Capture::Inline) {
        inlineText_.Start(name);
    } else if (name == "c" && inSheetData_) {
        StartCell(tag.attributes);
        if (!tag.selfClosing) {
            TakeSimpleContent();
        }
    } else if (name == "v" && inCell_) {
        capture_ = Capture::Value;
        hasValue_ = true;
        value_.clear();
    } else if (name == "f" && inCell_) {
        StartFormula(tag.attributes);
    } else if (name == "is" && inCell_) {
        capture_ = Capture::Inline;
        hasInline_ = true;
        inlineText_.Take();
    } else if (name == "row" && inSheetData_) {
        StartRow(tag.attributes);
    } else if (name == "col") {
        StartColumns(tag.attributes);
    } else if (name == "autoFilter") {
        StartAutoFilter(tag.attributes);
    } else if (name == "sheetData") {
        inSheetData_ = true;
    } else if (name == "dimension") {
        StartDimension(tag.attributes);
    }
}

void WorksheetPart::EndElement(std::string_view name) {
    if (capture_ == Capture::Inline) {
        if (name == "is") {
            capture_ = Capture::None;
        } else {
            inlineText_.End(name);
        }
    } else if (name == "v" || name == "f") {
        capture_ = Capture::None;
    } else if (name == "c" && inCell_) {
        EndCell();
    } else if (name == "sheetData") {
        inSheetData_ = false;
    }
}

void WorksheetPart::Characters(const XmlScanner::Token& text) {
    // A value or formula longer than any cell holds is read no further; the pool cuts it.
    switch (capture_) {
        case Capture::Value:
            if (value_.size() < MaxTextBytes) {
                scanner_.DecodeText(text, value_);
            }
            break;
        case Capture::Formula:
            if (formula_.size() < MaxTextBytes) {
                scanner_.DecodeText(text, formula_);
            }
            break;
        case Capture::Inline:
            scratch_.clear();
            scanner_.DecodeText(text, scratch_);
            inlineText_.Characters(scratch_);
            break;
        case Capture::None:
            break;
    }
}

void WorksheetPart::StartDimension(std::string_view attributes) {
    scanner_.ForEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        CellRect rect;
        if (name == "ref" &&
            CellReference::ParseRange(scanner_.DecodeAttribute(value, scratch_), rect)) {
            const uint64_t declared =
                uint64_t(rect.bottom - rect.top + 1) * uint64_t(rect.right - rect.left + 1);
            cells_.reserve(static_cast<size_t>(
                std::min({declared, context_.partSize / MinBytesPerCell, uint64_t{MaxCells}})));
        }
    });
}

// The same as the token loop's StartElement and EndElement for these tags, which it reads
// as rows and cells only inside the sheet data and outside inline text.
bool WorksheetPart::TakePlainRow() {
    if (!TakesPlainTags() || !scanner_.NextPlainStartTag("row", plain_)) {
        return false;
    }
    StartRow(plain_);
    return true;
}

bool WorksheetPart::TakePlainCell() {
    if (!TakesPlainTags() || !scanner_.NextPlainStartTag("c", plain_)) {
        return false;
    }
    StartCell(plain_);
    if (plain_.selfClosing) {
        EndElement("c");
    } else {
        TakeSimpleContent();
    }
    return true;
}

template <typename Attributes>
void WorksheetPart::StartRow(const Attributes& attributes) {
    int row = row_ + 1;
    bool numbered = false;
    bool hidden = false;
    bool customFormat = false;
    int style = 0;
    scanner_.ForEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        if (name == "hidden") {
            hidden = IsTrue(scanner_.DecodeAttribute(value, scratch_));
        } else if (name == "customFormat") {
            customFormat = IsTrue(scanner_.DecodeAttribute(value, scratch_));
        } else if (name == "s") {
            NumberText::ParseLeadingInt(scanner_.DecodeAttribute(value, scratch_), style);
        }
        if (name != "r") {
            return;
        }
        const std::string_view r = scanner_.DecodeAttribute(value, scratch_);
        if (!NumberText::ParseLeadingInt(r, row) || row < 1 || row > MaxRows) {
            throw ReadError(ReadErrorCode::RowOutsideSheet, {.found = row});
        }
        numbered = true;
    });
    if (row <= MaxRows) {
        if (hidden) {
            AddToSpans(hiddenRows_, row, row);
        }
        if (customFormat && style > 0) {
            AddToSpans(formattedRows_, row, row);
        }
    }
    if (!numbered && row > MaxRows) {
        throw ReadError(ReadErrorCode::TooManyRows);
    }
    if (rowCount_++ == 0) {
        firstRowNumbered_ = numbered;
    }
    row_ = row;
    column_ = 0;
}

void WorksheetPart::StartColumns(std::string_view attributes) {
    int first = 0;
    int last = 0;
    bool hidden = false;
    int style = 0;
    scanner_.ForEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        const std::string_view text = scanner_.DecodeAttribute(value, scratch_);
        if (name == "min") {
            NumberText::ParseLeadingInt(text, first);
        } else if (name == "max") {
            NumberText::ParseLeadingInt(text, last);
        } else if (name == "hidden") {
            hidden = IsTrue(text);
        } else if (name == "style") {
            NumberText::ParseLeadingInt(text, style);
        }
    });
    if (first < 1 || last < first || last > MaxColumns) {
        return;  // a column entry the application would not write; it hides nothing
    }
    if (hidden) {
        AddToSpans(hiddenColumns_, first, last);
    }
    if (style > 0) {
        AddToSpans(formattedColumns_, first, last);
    }
}

void WorksheetPart::StartAutoFilter(std::string_view attributes) {
    scanner_.ForEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        CellRect rect;
        if (name == "ref" &&
            CellReference::ParseRange(scanner_.DecodeAttribute(value, scratch_), rect)) {
            filterRange_ = rect;
        }
    });
}

void WorksheetPart::PassLayout() {
    for (const Span& span : hiddenRows_) {
        sheet_.HideRows(span.first, span.last);
    }
    for (const Span& span : hiddenColumns_) {
        sheet_.HideColumns(span.first, span.last);
    }
    for (const Span& span : formattedRows_) {
        sheet_.AddFormattedRows(span.first, span.last);
    }
    for (const Span& span : formattedColumns_) {
        sheet_.AddFormattedColumns(span.first, span.last);
    }
    if (filterRange_) {
        sheet_.SetFilterRange(*filterRange_);
    }
}

template <typename Attributes>
void WorksheetPart::StartCell(const Attributes& attributes) {
    bool positioned = false;
    type_ = 'n';
    int xf = 0;
    styled_ = false;
    dynamicArray_ = false;
    scanner_.ForEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        if (name == "r") {
            const std::string_view r = scanner_.DecodeAttribute(value, scratch_);
            if (!CellReference::Parse(r, row_, column_)) {
                throw ReadError(ReadErrorCode::CellOutsideSheet);
            }
            positioned = true;
        } else if (name == "t") {
            type_ = TypeCode(scanner_.DecodeAttribute(value, scratch_));
        } else if (name == "s") {
            styled_ = NumberText::ParseLeadingInt(scanner_.DecodeAttribute(value, scratch_), xf) &&
                      xf != 0;
        } else if (name == "cm") {
            dynamicArray_ = true;
        }
    });
    if (!positioned) {
        row_ = std::max(row_, 1);
        if (++column_ > MaxColumns) {
            throw ReadError(ReadErrorCode::TooManyColumns, {.expected = row_});
        }
    }
    // An unknown cell format shows as General, as a missing one does.
    format_ = styled_ && xf > 0 && static_cast<size_t>(xf) < context_.cellFormats.size()
                  ? context_.cellFormats[static_cast<size_t>(xf)]
                  : 0;
    inCell_ = true;
    hasValue_ = hasFormula_ = hasInline_ = false;
    value_.clear();
    formula_.clear();
}

// Most cells are `<c …><v>…</v></c>` or `<c …><f>…</f><v>…</v></c>`: those are read here
// without a token per element; anything else is left to the token loop.
void WorksheetPart::TakeSimpleContent() {
    std::string_view text;
    if (scanner_.NextSimpleElement("f", text)) {
        StartFormula(std::string_view());
        capture_ = Capture::None;
        formula_.assign(text);
    } else if (scanner_.NextPlainStartTag("f", plain_)) {
        StartFormula(plain_);
        if (!plain_.selfClosing) {
            if (scanner_.NextPlainText(text)) {
                formula_.assign(text);
            }
            if (!scanner_.NextEndTag("f")) {
                return;  // the token loop reads the rest of the formula
            }
        }
        capture_ = Capture::None;
    }
    if (scanner_.NextSimpleElement("v", text)) {
        hasValue_ = true;
        value_.assign(text);
    }
    if (scanner_.NextEndTag("c")) {
        EndCell();
    }
}

template <typename Attributes>
void WorksheetPart::StartFormula(const Attributes& attributes) {
    capture_ = Capture::Formula;
    hasFormula_ = true;
    formula_.clear();
    formulaType_ = "normal";
    sharedIndex_ = -1;
    formulaRef_.clear();
    tableInput1_.clear();
    tableInput2_.clear();
    scanner_.ForEachAttribute(attributes, [&](std::string_view name, std::string_view value) {
        if (name == "t") {
            formulaType_ = scanner_.DecodeAttribute(value, scratch_);
        } else if (name == "si") {
            if (!NumberText::ParseLeadingInt(scanner_.DecodeAttribute(value, scratch_),
                                             sharedIndex_)) {
                sharedIndex_ = -1;
            }
        } else if (name == "ref") {
            formulaRef_ = scanner_.DecodeAttribute(value, scratch_);
        } else if (name == "r1") {
            tableInput1_ = scanner_.DecodeAttribute(value, scratch_);
        } else if (name == "r2") {
            tableInput2_ = scanner_.DecodeAttribute(value, scratch_);
        }
    });
}

void WorksheetPart::EndCell() {
    inCell_ = false;
    Cell cell;
    cell.row = row_;
    cell.column = column_;
    cell.format = format_;
    SetValue(cell);
    if (hasFormula_) {
        SetFormula(cell);
        // A result the writer put there without calculating is calculated again; should
        // that fail, it stays.
        cell.uncalculated =
            cell.uncalculated ||
            (context_.fullCalcOnLoad && (formulaType_ == "normal" || formulaType_ == "shared"));
    } else if (!dynamicArray_) {
        cell.formula = formulas_.ArrayAt(row_, column_);
    }
    if (hasFormula_ && cell.formula == NoString && formulaType_ == "shared") {
        pending_.push_back({cell, sharedIndex_});
        return;
    }
    if (cell.type == CellType::Blank && cell.formula == NoString && !styled_) {
        return;
    }
    AddCell(cell);
}

void WorksheetPart::SetValue(Cell& cell) {
    if (type_ == 'i') {
        cell.type = CellType::Text;
        cell.text = hasInline_ ? strings_.Add(inlineText_.Take()) : EmptyText();
        return;
    }
    if (!hasValue_) {
        // A formula without a cached result: nothing to show until recalculated.
        if (hasFormula_) {
            cell.type = CellType::Text;
            cell.text = EmptyText();
            cell.uncalculated = true;
        }
        return;
    }
    switch (type_) {
        case 's': {
            int index = -1;
            if (!NumberText::ParseLeadingInt(value_, index) || index < 0 ||
                static_cast<size_t>(index) >= context_.sharedStrings.size()) {
                throw ReadError(
                    ReadErrorCode::SharedStringMissing,
                    {.expected = int64_t(context_.sharedStrings.size()), .found = index});
            }
            cell.type = CellType::Text;
            cell.text = context_.sharedStrings[static_cast<size_t>(index)];
            return;
        }
        case 'r':
            cell.type = CellType::Text;
            cell.text = strings_.Add(RichText::DecodeEscapes(value_));
            return;
        case 'b':
            cell.type = CellType::Boolean;
            cell.number = (value_ == "1" || value_ == "true" || value_ == "TRUE") ? 1 : 0;
            return;
        case 'e':
            cell.type = CellType::Error;
            cell.text = strings_.Add(QString::fromStdString(value_));
            return;
        case 'd':
            if (IsoToSerial(value_, context_.date1904, cell.number)) {
                cell.type = CellType::Number;
                return;
            }
            break;
        default:
            if (NumberText::Parse(value_, cell.number)) {
                cell.type = CellType::Number;
                return;
            }
            break;
    }
    // A value that does not read as its type is kept as the text the file holds.
    cell.type = CellType::Text;
    cell.text = strings_.Add(QString::fromStdString(value_));
}

void WorksheetPart::SetFormula(Cell& cell) {
    if (formulaType_ == "shared" && sharedIndex_ >= 0) {
        cell.formula = formula_.empty()
                           ? formulas_.SharedMember(sharedIndex_, row_, column_)
                           : formulas_.SharedMaster(
                                 sharedIndex_, row_, column_,
                                 QString::fromUtf8(formula_.data(), qsizetype(formula_.size())));
        return;
    }
    if (formulaType_ == "dataTable") {
        cell.formula = strings_.Add(
            QStringLiteral("TABLE(%1,%2)")
                .arg(QString::fromStdString(tableInput1_), QString::fromStdString(tableInput2_)));
        return;
    }
    if (formula_.empty()) {
        return;
    }
    // As the token path reads it: no more than any cell shows, which the pool cuts.
    cell.formula = formulas_.Plain(std::string_view(formula_).substr(0, MaxTextBytes));
    CellRect range;
    if (formulaType_ == "array" && !dynamicArray_ &&
        CellReference::ParseRange(formulaRef_, range)) {
        formulas_.AddArray(range, cell.formula);
    }
}

void WorksheetPart::AddCell(const Cell& cell) {
    CountCell();
    cells_.push_back(cell);
}

void WorksheetPart::CountCell() {
    if (++cellCount_ > MaxCells) {
        TooManyCells();
    }
}

uint32_t WorksheetPart::EmptyText() {
    if (emptyText_ == NoString) {
        emptyText_ = strings_.Add(QString());
    }
    return emptyText_;
}

void WorksheetPart::Finish() {
    FinishRows();
    ResolvePending(formulas_, formulas_);
    PoolStrings();
    sheet_.AddCells(std::move(cells_));
    sheet_.AddCells(std::move(resolved_));
    PassLayout();
}

void WorksheetPart::ResumeInSheetData(const XmlScanner& head) {
    scanner_.ResumeFrom(head);
    inSheetData_ = true;
}

void WorksheetPart::ReserveFor(uint64_t bytes) {
    cells_.reserve(static_cast<size_t>(std::min(bytes / MinBytesPerCell, uint64_t{MaxCells})));
}

void WorksheetPart::FinishRows() {
    scanner_.Finish();
    Scan();
}

bool WorksheetPart::BetweenRows() const {
    return scanner_.Depth() == 2 && scanner_.OnlySpacePending() && inSheetData_ && !inCell_ &&
           capture_ == Capture::None;
}

void WorksheetPart::ShareMastersWith(WorksheetPart& later, MasterBoard& board) {
    formulas_.PostTo(board);
    later.formulas_.BorrowFrom(board);
}

bool WorksheetPart::MastersAgreeWith(const WorksheetPart& earlier) const {
    return formulas_.BorrowedLatest() &&
           std::none_of(pending_.begin(), pending_.end(), [&](const PendingMember& member) {
               return earlier.formulas_.HasMaster(member.si);
           });
}

void WorksheetPart::FinishJoined(WorksheetPart& rest) {
    // Read in order, a member before its master takes the last master of the whole sheet.
    // (Members of the later rows whose master is in the earlier ones took it while reading.)
    ResolvePending(rest.formulas_, formulas_);
    rest.ResolvePending(rest.formulas_, rest.formulas_);
    if (cellCount_ + rest.cellCount_ > MaxCells) {
        TooManyCells();
    }
    PoolStrings();
    rest.PoolStrings();
    // The order of reading in one pass: cells, then members resolved at the end.
    sheet_.AddCells(std::move(cells_));
    sheet_.AddCells(std::move(rest.cells_));
    sheet_.AddCells(std::move(resolved_));
    sheet_.AddCells(std::move(rest.resolved_));
    PassLayout();
    rest.PassLayout();
}

void WorksheetPart::ResolvePending(const FormulaGroups& first, const FormulaGroups& second) {
    for (PendingMember& member : pending_) {
        Cell& cell = member.cell;
        std::optional<QString> text = first.MemberText(member.si, cell.row, cell.column);
        if (!text) {
            text = second.MemberText(member.si, cell.row, cell.column);
        }
        cell.formula = text ? strings_.Add(std::move(*text)) : NoString;
        if (cell.formula != NoString || cell.type != CellType::Blank) {
            CountCell();
            resolved_.push_back(cell);
        }
    }
    pending_.clear();
}

void WorksheetPart::PoolStrings() {
    strings_.MoveInto(book_);
    strings_.Remap(cells_);
    strings_.Remap(resolved_);
}

}  // namespace engine
