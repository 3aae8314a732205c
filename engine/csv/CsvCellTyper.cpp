#include "engine/csv/CsvCellTyper.h"

#include "engine/Workbook.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>

namespace engine {
namespace {

// The application's cell limit; longer fields are cut as it cuts them.
constexpr qsizetype MaxCellText = 32767;

const QStringList& ErrorCodes() {
    static const QStringList codes = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                      "#NAME?", "#NUM!",   "#N/A"};
    return codes;
}

// Every character NumberPattern accepts: most fields hold some other one and skip the match.
bool OnlyNumberCharacters(QStringView text) {
    constexpr QStringView alphabet = u"0123456789,.+-eE%¥$";
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return alphabet.contains(c); });
}

// Every character DatePattern and TimePattern accept.
bool OnlyDateCharacters(QStringView text) {
    constexpr QStringView alphabet = u"0123456789/-: ";
    return std::all_of(text.begin(), text.end(), [&](QChar c) { return alphabet.contains(c); });
}

// Sign, currency, digits with optional grouping, fraction, exponent, percent.
const QRegularExpression& NumberPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^([+-]?)([¥$]?)([+-]?)([0-9]{1,3}(?:,[0-9]{3})+|[0-9]*)(\.[0-9]*)?([eE][+-]?[0-9]+)?(%?)$)"));
    return pattern;
}

// y/m/d, m/d or y/m with "/" or "-", optionally followed by a time; or a time alone.
const QRegularExpression& DatePattern() {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^([0-9]{1,4})([/-])([0-9]{1,2})(?:\2([0-9]{1,2}))?(?: +([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?$)"));
    return pattern;
}

const QRegularExpression& TimePattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$)"));
    return pattern;
}

// The date's serial in the 1900 date system (which counts a 29 February 1900).
double Serial(const QDate& date) {
    const QDate march1900(1900, 3, 1);
    return date < march1900 ? QDate(1899, 12, 31).daysTo(date) : QDate(1899, 12, 30).daysTo(date);
}

// The time of day as a fraction of a day, or -1 when the parts are out of range.
double TimeFraction(int hour, int minute, int second) {
    if (hour > 23 || minute > 59 || second > 59) {
        return -1;
    }
    return (hour * 3600 + minute * 60 + second) / 86400.0;
}

}  // namespace

std::optional<Cell> CsvCellTyper::Type(const QString& field, int32_t row, int32_t column) {
    if (field.isEmpty()) {
        return std::nullopt;
    }
    const QString text = field.size() > MaxCellText ? field.left(MaxCellText) : field;
    Cell cell;
    cell.row = row;
    cell.column = column;
    const QStringView trimmed = QStringView(text).trimmed();
    if (text.size() > 1 && text.front() == u'=') {
        cell.formula = book_.AddString(text.mid(1));  // the value comes from CsvFormula
        return cell;
    }
    if (TypeNumber(trimmed, cell) || TypeDateTime(trimmed, cell)) {
        return cell;
    }
    if (trimmed.compare(u"TRUE", Qt::CaseInsensitive) == 0 ||
        trimmed.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
        cell.type = CellType::Boolean;
        cell.number = trimmed.size() == 4 ? 1 : 0;
        return cell;
    }
    for (const QString& code : ErrorCodes()) {
        if (trimmed.compare(code, Qt::CaseInsensitive) == 0) {
            cell.type = CellType::Error;
            cell.text = book_.AddString(code);
            return cell;
        }
    }
    // A leading sign makes the rest an expression, as when it is typed into a cell.
    if (text.size() > 1 && (text.front() == u'+' || text.front() == u'-')) {
        cell.formula = book_.AddString(text);
        return cell;
    }
    cell.type = CellType::Text;
    cell.text = book_.AddString(text);
    return cell;
}

bool CsvCellTyper::TypeNumber(QStringView text, Cell& cell) {
    bool negative = false;
    if (text.size() > 2 && text.front() == u'(' && text.back() == u')') {
        text = text.mid(1, text.size() - 2);
        negative = true;
    }
    if (!OnlyNumberCharacters(text)) {
        return false;
    }
    const auto match = NumberPattern().match(text);
    if (!match.hasMatch() || (match.capturedView(1).size() + match.capturedView(3).size()) > 1) {
        return false;
    }
    const QStringView digits = match.capturedView(4);
    const QStringView fraction = match.capturedView(5);
    if (digits.isEmpty() && fraction.size() < 2) {
        return false;  // no digit at all
    }
    if (negative && (!match.capturedView(1).isEmpty() || !match.capturedView(3).isEmpty())) {
        return false;  // "(-5)" is not a number
    }
    QString plain = digits.toString().remove(u',');
    plain += fraction;
    plain += match.capturedView(6);
    bool ok = false;
    double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return false;
    }
    if (match.capturedView(1) == u"-" || match.capturedView(3) == u"-") {
        negative = true;
    }
    const bool percent = !match.capturedView(7).isEmpty();
    const bool decimals = fraction.size() > 1;
    if (percent) {
        value /= 100;
    }
    cell.type = CellType::Number;
    cell.number = negative ? -value : value;

    const QString currency = match.captured(2);
    QString code;
    if (percent) {
        code = decimals ? QStringLiteral("0.00%") : QStringLiteral("0%");
    } else if (!match.capturedView(6).isEmpty()) {
        code = QStringLiteral("0.00E+00");
    } else if (!currency.isEmpty()) {
        const QString number = decimals ? QStringLiteral("#,##0.00") : QStringLiteral("#,##0");
        code = currency + number + u';' + currency + u'-' + number;
    } else if (digits.contains(u',')) {
        code = decimals ? QStringLiteral("#,##0.00") : QStringLiteral("#,##0");
    }
    if (!code.isEmpty()) {
        cell.format = book_.AddFormat(code);
    }
    return true;
}

bool CsvCellTyper::TypeDateTime(QStringView text, Cell& cell) {
    if (!OnlyDateCharacters(text)) {
        return false;
    }
    if (const auto time = TimePattern().match(text); time.hasMatch()) {
        const bool seconds = time.hasCaptured(3);
        const double fraction =
            TimeFraction(time.capturedView(1).toInt(), time.capturedView(2).toInt(),
                         seconds ? time.capturedView(3).toInt() : 0);
        if (fraction < 0) {
            return false;
        }
        cell.type = CellType::Number;
        cell.number = fraction;
        cell.format = book_.AddFormat(seconds ? QStringLiteral("h:mm:ss") : QStringLiteral("h:mm"));
        return true;
    }
    const auto match = DatePattern().match(text);
    if (!match.hasMatch()) {
        return false;
    }
    const int first = match.capturedView(1).toInt();
    const int second = match.capturedView(3).toInt();
    QDate date;
    QString code;
    if (match.hasCaptured(4)) {
        int year = first;
        if (match.capturedView(1).size() <= 2) {
            year += first < 30 ? 2000 : 1900;  // two-digit years, as the application reads them
        }
        date = QDate(year, second, match.capturedView(4).toInt());
        code = QStringLiteral("yyyy/m/d");
    } else if (match.capturedView(1).size() == 4) {
        date = QDate(first, second, 1);
        code = QStringLiteral("yyyy\"年\"m\"月\"");
    } else {
        date = QDate(year_, first, second);
        code = QStringLiteral("m\"月\"d\"日\"");
    }
    if (!date.isValid() || date.year() < 1900 || date.year() > 9999) {
        return false;
    }
    double serial = Serial(date);
    if (match.hasCaptured(5)) {
        if (!match.hasCaptured(4)) {
            return false;  // a time only follows a full date
        }
        const double fraction =
            TimeFraction(match.capturedView(5).toInt(), match.capturedView(6).toInt(),
                         match.hasCaptured(7) ? match.capturedView(7).toInt() : 0);
        if (fraction < 0) {
            return false;
        }
        serial += fraction;
        code = QStringLiteral("yyyy/m/d h:mm");
    }
    cell.type = CellType::Number;
    cell.number = serial;
    cell.format = book_.AddFormat(code);
    return true;
}

}  // namespace engine
