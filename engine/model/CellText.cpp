#include "engine/model/CellText.h"

#include "engine/format/GeneralNumber.h"
#include "engine/format/NumberFormatter.h"
#include "engine/model/Workbook.h"

#include <cmath>

namespace engine {
namespace {

// Largest serial a date format can show (9999-12-31 23:59:59).
constexpr double MaxDateSerial = 2958465.99999;

// Whether the first section of a format code shows a percentage (`%` outside quotes,
// brackets and escapes).
bool ShowsPercent(QStringView code) {
    for (qsizetype i = 0; i < code.size(); ++i) {
        switch (code[i].unicode()) {
            case u';':
                return false;
            case u'%':
                return true;
            case u'"':
                i = code.indexOf(u'"', i + 1);
                break;
            case u'[':
                i = code.indexOf(u']', i + 1);
                break;
            case u'\\':
            case u'_':
            case u'*':
                ++i;  // the next character is shown (or spaced, or repeated), not read
                break;
            default:
                break;
        }
        if (i < 0) {
            return false;
        }
    }
    return false;
}

// A date/time constant in the form of `dateCode` / `timeCode`, or null text when the value
// cannot be shown as a date.
QString DateConstant(double value, bool date1904, const QString& dateCode,
                     const QString& timeCode) {
    if (value < 0 || value > MaxDateSerial) {
        return {};
    }
    double whole = 0;
    const double fraction = std::modf(value, &whole);
    if (whole == 0 && fraction > 0) {
        return NumberFormatter::Format(value, timeCode, date1904);
    }
    // Seconds that round to zero do not make a date show a time.
    if (std::round(fraction * 86400) == 0) {
        return NumberFormatter::Format(value, dateCode, date1904);
    }
    return NumberFormatter::Format(value, dateCode + u' ' + timeCode, date1904);
}

QString NumberConstant(const Workbook& book, const Cell& cell, bool localDates) {
    if (!CellText::HasGeneralFormat(book, cell)) {
        const QString& code = book.Format(cell.format);
        if (NumberFormatter::IsDateFormat(code)) {
            const QString text =
                localDates ? DateConstant(cell.number, book.Date1904(), QStringLiteral("yyyy/m/d"),
                                          QStringLiteral("h:mm:ss"))
                           : DateConstant(cell.number, book.Date1904(), QStringLiteral("m/d/yyyy"),
                                          QStringLiteral("h:mm:ss AM/PM"));
            if (!text.isNull()) {
                return text;
            }
        } else if (ShowsPercent(code)) {
            return GeneralNumber::Edit(cell.number * 100) + u'%';
        }
    }
    return GeneralNumber::Edit(cell.number);
}

QString BooleanText(const Cell& cell) {
    return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString Constant(const Workbook& book, const Cell& cell, bool localDates) {
    switch (cell.type) {
        case CellType::Blank:
            return {};
        case CellType::Number:
            return NumberConstant(book, cell, localDates);
        case CellType::Text:
        case CellType::Error:
            return book.String(cell.text);
        case CellType::Boolean:
            return BooleanText(cell);
    }
    return {};
}

QString FormulaOrConstant(const Workbook& book, const Cell& cell, bool localDates) {
    if (cell.formula != NoString) {
        return u'=' + book.String(cell.formula);
    }
    return Constant(book, cell, localDates);
}

}  // namespace

QString CellText::Text(const Workbook& book, const Cell& cell) {
    switch (cell.type) {
        case CellType::Blank:
            return {};
        case CellType::Number:
            return CellText::HasGeneralFormat(book, cell)
                       ? GeneralNumber::Display(cell.number)
                       : NumberFormatter::Format(cell.number, book.Format(cell.format),
                                                 book.Date1904());
        case CellType::Text:
            return CellText::HasGeneralFormat(book, cell)
                       ? book.String(cell.text)
                       : NumberFormatter::FormatText(book.String(cell.text),
                                                     book.Format(cell.format));
        case CellType::Boolean:
            return BooleanText(cell);
        case CellType::Error:
            return book.String(cell.text);
    }
    return {};
}

bool CellText::HasGeneralFormat(const Workbook& book, const Cell& cell) {
    return cell.format == 0 ||
           book.Format(cell.format).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
}

QString CellText::Formula(const Workbook& book, const Cell& cell) {
    return FormulaOrConstant(book, cell, false);
}

QString CellText::EditText(const Workbook& book, const Cell& cell) {
    return FormulaOrConstant(book, cell, true);
}

void CellText::CutLong(QString& text) {
    const bool splitsPair = text[MaxTextLength - 1].isHighSurrogate();
    text.truncate(splitsPair ? MaxTextLength - 1 : MaxTextLength);
}

}  // namespace engine
