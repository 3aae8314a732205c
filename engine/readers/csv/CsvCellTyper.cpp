#include "engine/readers/csv/CsvCellTyper.h"

#include "engine/format/DateSerial.h"
#include "engine/model/Workbook.h"

#include <QDate>
#include <charconv>
#include <cmath>

namespace engine {
namespace {

// The application's cell limit; longer fields are cut as it cuts them.
constexpr qsizetype MaxCellText = 32767;

constexpr uint32_t NoFormat = 0xFFFFFFFFu;

// In the order of CsvCellTyper::Format.
constexpr std::array<const char16_t*, 15> FormatCodes = {
    u"0%",
    u"0.00%",
    u"0.00E+00",
    u"#,##0",
    u"#,##0.00",
    u"¥#,##0;¥-#,##0",
    u"¥#,##0.00;¥-#,##0.00",
    u"$#,##0;$-#,##0",
    u"$#,##0.00;$-#,##0.00",
    u"yyyy/m/d",
    u"yyyy/m/d h:mm",
    u"yyyy\"年\"m\"月\"",
    u"m\"月\"d\"日\"",
    u"h:mm",
    u"h:mm:ss",
};

constexpr std::array<QStringView, 7> ErrorCodes = {u"#NULL!", u"#DIV/0!", u"#VALUE!", u"#REF!",
                                                   u"#NAME?", u"#NUM!",   u"#N/A"};

// The text's characters as a key of the standard hash map.
std::u16string_view Key(QStringView text) {
    return {text.utf16(), static_cast<size_t>(text.size())};
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The hand-written checks below walk a field with a position `at`; each Take moves it past
// what it took.

bool Take(QStringView text, qsizetype& at, char16_t c) {
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

// The character at `at` if it is `one` or `other`, else a null QChar.
QChar TakeOneOf(QStringView text, qsizetype& at, char16_t one, char16_t other) {
    if (at < text.size() && (text[at] == one || text[at] == other)) {
        return text[at++];
    }
    return {};
}

template <typename Predicate>
QStringView TakeWhile(QStringView text, qsizetype& at, Predicate keep) {
    const qsizetype start = at;
    while (at < text.size() && keep(text[at])) {
        ++at;
    }
    return text.sliced(start, at - start);
}

QStringView TakeDigits(QStringView text, qsizetype& at) {
    return TakeWhile(text, at, IsDigit);
}

// Digits only, so at most four of them here: no overflow. Empty reads as 0.
int ToInt(QStringView digits) {
    int value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// "1,234,567": one to three digits, then groups of exactly three after each comma.
bool IsGrouped(QStringView digits) {
    const qsizetype first = digits.indexOf(u',');
    if (first < 1 || first > 3) {
        return false;
    }
    for (qsizetype at = first; at < digits.size(); at += 4) {
        if (digits.size() - at < 4 || digits[at] != u',' ||
            digits.sliced(at + 1, 3).contains(u',')) {
            return false;
        }
    }
    return true;
}

// The time of day as a fraction of a day, or -1 when the parts are out of range.
double TimeFraction(int hour, int minute, int second) {
    if (hour > 23 || minute > 59 || second > 59) {
        return -1;
    }
    return (hour * 3600 + minute * 60 + second) / 86400.0;
}

// "h:mm" or "h:mm:ss" from `at` to the end of the text: the fraction of a day, or -1 when
// the text is no such time or the time is out of range.
double TimeAt(QStringView text, qsizetype at, bool& seconds) {
    const QStringView hour = TakeDigits(text, at);
    if (hour.isEmpty() || hour.size() > 2 || !Take(text, at, u':')) {
        return -1;
    }
    const QStringView minute = TakeDigits(text, at);
    if (minute.size() != 2) {
        return -1;
    }
    QStringView second;
    seconds = Take(text, at, u':');
    if (seconds) {
        second = TakeDigits(text, at);
        if (second.size() != 2) {
            return -1;
        }
    }
    if (at != text.size()) {
        return -1;
    }
    return TimeFraction(ToInt(hour), ToInt(minute), ToInt(second));
}

}  // namespace

CsvCellTyper::CsvCellTyper(Workbook& book, int currentYear) : book_(book), year_(currentYear) {
    formats_.fill(NoFormat);
}

std::optional<Cell> CsvCellTyper::Type(QStringView field, int32_t row, int32_t column) {
    if (field.isEmpty()) {
        return std::nullopt;
    }
    const QStringView text = field.first(std::min(field.size(), MaxCellText));
    Cell cell;
    cell.row = row;
    cell.column = column;
    if (text.size() > 1 && text.front() == u'=') {
        // The value is calculated once the sheet is read.
        cell.formula = book_.AddString(text.sliced(1).toString());
        cell.uncalculated = true;
        return cell;
    }
    const QStringView trimmed = text.trimmed();
    if (TypeNumber(trimmed, cell) || TypeDateTime(trimmed, cell)) {
        return cell;
    }
    // (Case folding keeps the length, so only four or five characters can match.)
    const bool booleanLength = trimmed.size() == 4 || trimmed.size() == 5;
    if (booleanLength && (trimmed.compare(u"TRUE", Qt::CaseInsensitive) == 0 ||
                          trimmed.compare(u"FALSE", Qt::CaseInsensitive) == 0)) {
        cell.type = CellType::Boolean;
        cell.number = trimmed.size() == 4 ? 1 : 0;
        return cell;
    }
    if (trimmed.startsWith(u'#')) {
        for (QStringView code : ErrorCodes) {
            if (trimmed.compare(code, Qt::CaseInsensitive) == 0) {
                cell.type = CellType::Error;
                cell.text = book_.AddString(code.toString());
                return cell;
            }
        }
    }
    // A leading sign makes the rest an expression, as when it is typed into a cell.
    if (text.size() > 1 && (text.front() == u'+' || text.front() == u'-')) {
        cell.formula = book_.AddString(text.toString());
        cell.uncalculated = true;
        return cell;
    }
    cell.type = CellType::Text;
    cell.text = TextIndex(text);
    return cell;
}

// Accepts [sign] [¥ or $] [sign] integer [.fraction] [e exponent] [%], with one sign at most,
// the integer either plain digits or grouped by commas, and at least one digit before the
// exponent; or such a number in parentheses, without a sign, for a negative one.
bool CsvCellTyper::TypeNumber(QStringView text, Cell& cell) {
    const bool parenthesised = text.size() > 2 && text.front() == u'(' && text.back() == u')';
    if (parenthesised) {
        text = text.sliced(1, text.size() - 2);
    }
    qsizetype at = 0;
    QChar sign = TakeOneOf(text, at, u'+', u'-');
    const QChar currency = TakeOneOf(text, at, u'¥', u'$');
    const QChar laterSign = TakeOneOf(text, at, u'+', u'-');
    if (!sign.isNull() && !laterSign.isNull()) {
        return false;
    }
    if (sign.isNull()) {
        sign = laterSign;
    }
    if (parenthesised && !sign.isNull()) {
        return false;  // "(-5)" is not a number
    }
    const QStringView integer =
        TakeWhile(text, at, [](QChar c) { return IsDigit(c) || c == u','; });
    const bool grouped = integer.contains(u',');
    if (grouped && !IsGrouped(integer)) {
        return false;
    }
    QStringView fraction;  // with its point
    if (const qsizetype point = at; Take(text, at, u'.')) {
        TakeDigits(text, at);
        fraction = text.sliced(point, at - point);
    }
    if (integer.isEmpty() && fraction.size() < 2) {
        return false;  // no digit at all
    }
    QStringView exponent;
    if (const qsizetype start = at; Take(text, at, u'e') || Take(text, at, u'E')) {
        TakeOneOf(text, at, u'+', u'-');
        if (TakeDigits(text, at).isEmpty()) {
            return false;
        }
        exponent = text.sliced(start, at - start);
    }
    const bool percent = Take(text, at, u'%');
    if (at != text.size()) {
        return false;
    }

    // Everything left is ASCII: digits, the point, the exponent's letter and sign.
    number_.clear();
    for (QChar c : integer) {
        if (c != u',') {
            number_ += static_cast<char>(c.unicode());
        }
    }
    for (QChar c : fraction) {
        number_ += static_cast<char>(c.unicode());
    }
    for (QChar c : exponent) {
        number_ += static_cast<char>(c.unicode());
    }
    double value = 0;
    const char* end = number_.data() + number_.size();
    const auto result = std::from_chars(number_.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return false;  // beyond the range of a double
    }
    const bool decimals = fraction.size() > 1;
    if (percent) {
        value /= 100;
    }
    cell.type = CellType::Number;
    cell.number = parenthesised || sign == u'-' ? -value : value;

    if (percent) {
        cell.format = FormatIndex(decimals ? Format::PercentDecimals : Format::Percent);
    } else if (!exponent.isEmpty()) {
        cell.format = FormatIndex(Format::Scientific);
    } else if (currency == u'¥') {
        cell.format = FormatIndex(decimals ? Format::YenDecimals : Format::Yen);
    } else if (currency == u'$') {
        cell.format = FormatIndex(decimals ? Format::DollarDecimals : Format::Dollar);
    } else if (grouped) {
        cell.format = FormatIndex(decimals ? Format::GroupedDecimals : Format::Grouped);
    }
    return true;
}

// Accepts "h:mm[:ss]" alone, or y/m/d, y/m or m/d (all with "/" or all with "-"), the year
// of up to four digits, the others of up to two; a full date may be followed by spaces and
// a time.
bool CsvCellTyper::TypeDateTime(QStringView text, Cell& cell) {
    qsizetype at = 0;
    const QStringView first = TakeDigits(text, at);
    if (at < text.size() && text[at] == u':') {
        bool seconds = false;
        const double fraction = TimeAt(text, 0, seconds);
        if (fraction < 0) {
            return false;
        }
        cell.type = CellType::Number;
        cell.number = fraction;
        cell.format = FormatIndex(seconds ? Format::TimeSeconds : Format::Time);
        return true;
    }
    const QChar separator = TakeOneOf(text, at, u'/', u'-');
    if (first.isEmpty() || first.size() > 4 || separator.isNull()) {
        return false;
    }
    const QStringView second = TakeDigits(text, at);
    if (second.isEmpty() || second.size() > 2) {
        return false;
    }
    QStringView third;
    if (Take(text, at, separator.unicode())) {
        third = TakeDigits(text, at);
        if (third.isEmpty() || third.size() > 2) {
            return false;
        }
    }
    const qsizetype beforeSpaces = at;
    while (Take(text, at, u' ')) {
    }
    const bool timeFollows = at > beforeSpaces;
    if (!timeFollows && at != text.size()) {
        return false;
    }

    int year = year_;
    int month = ToInt(first);
    int day = ToInt(second);
    Format format = Format::MonthDay;
    if (!third.isEmpty()) {
        year = ToInt(first);
        if (first.size() <= 2) {
            year += year < 30 ? 2000 : 1900;  // two-digit years, as the application reads them
        }
        month = ToInt(second);
        day = ToInt(third);
        format = Format::Date;
    } else if (first.size() == 4) {
        year = ToInt(first);
        month = ToInt(second);
        day = 1;
        format = Format::YearMonth;
    }
    if (year < 1900 || year > 9999 || !QDate::isValid(year, month, day)) {
        return false;
    }
    double serial = double(DateSerial::FromDate(year, month, day, false));
    if (timeFollows) {
        if (third.isEmpty()) {
            return false;  // a time only follows a full date
        }
        bool seconds = false;
        const double fraction = TimeAt(text, at, seconds);
        if (fraction < 0) {
            return false;
        }
        serial += fraction;
        format = Format::DateTime;
    }
    cell.type = CellType::Number;
    cell.number = serial;
    cell.format = FormatIndex(format);
    return true;
}

uint32_t CsvCellTyper::FormatIndex(Format format) {
    uint32_t& index = formats_[static_cast<size_t>(format)];
    if (index == NoFormat) {
        index = book_.AddFormat(QString::fromUtf16(FormatCodes[static_cast<size_t>(format)]));
    }
    return index;
}

uint32_t CsvCellTyper::TextIndex(QStringView text) {
    if (const auto it = texts_.find(Key(text)); it != texts_.end()) {
        return it->second;
    }
    const uint32_t index = book_.AddString(text.toString());
    texts_.emplace(Key(book_.String(index)), index);
    return index;
}

}  // namespace engine
