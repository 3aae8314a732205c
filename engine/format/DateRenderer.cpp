#include "engine/format/DateRenderer.h"
#include "engine/format/DateSerial.h"
#include "engine/format/JapaneseNumerals.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace engine {
namespace {

constexpr double MaxSerial1900 = 2958466;  // 10000-01-01, the first day not shown
constexpr double MaxSerial1904 = 2957004;

struct Era {
    int32_t start;  // yyyymmdd of its first day
    int firstYear;
    const char16_t* letter;
    const char16_t* abbreviation;
    const char16_t* name;
};

constexpr std::array<Era, 5> Eras = {{
    {20190501, 2019, u"R", u"令", u"令和"},
    {19890108, 1989, u"H", u"平", u"平成"},
    {19261225, 1926, u"S", u"昭", u"昭和"},
    {19120730, 1912, u"T", u"大", u"大正"},
    {18680101, 1868, u"M", u"明", u"明治"},
}};

constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
constexpr std::array<const char16_t*, 7> JapaneseDays = {u"日", u"月", u"火", u"水",
                                                         u"木", u"金", u"土"};

const Era& EraOf(const CivilDate& date) {
    const int32_t key = date.year * 10000 + date.month * 100 + date.day;
    for (const Era& era : Eras) {
        if (key >= era.start) {
            return era;
        }
    }
    return Eras.back();
}

QString Padded(int64_t value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

}  // namespace

QString DateRenderer::Render(const FormatSection& section, double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 ||
        serial >= (date1904 ? MaxSerial1904 : MaxSerial1900)) {
        return QString::fromLatin1(Undisplayable);
    }
    int subsecondDigits = 0;
    for (const FormatToken& token : section.tokens) {
        if (token.kind == FormatTokenKind::SubSecond) {
            subsecondDigits = std::max(subsecondDigits, token.count);
        }
    }
    // Everything in units of the shown precision, so rounding carries into the day.
    int64_t unitsPerSecond = 1;
    for (int i = 0; i < subsecondDigits; ++i) {
        unitsPerSecond *= 10;
    }
    const int64_t unitsPerDay = 86400 * unitsPerSecond;
    const auto units =
        static_cast<int64_t>(std::llround(serial * static_cast<double>(unitsPerDay)));
    const int64_t serialDay = units / unitsPerDay;
    const int64_t totalSeconds = units / unitsPerSecond;
    const int64_t secondOfDay = totalSeconds % 86400;
    const int64_t subsecond = units % unitsPerSecond;
    const CivilDate date = DateSerial::ToDate(serialDay, date1904);
    const int hour = static_cast<int>(secondOfDay / 3600);
    const int minute = static_cast<int>(secondOfDay / 60 % 60);
    const int second = static_cast<int>(secondOfDay % 60);

    // The numbers of the date in the section's numerals: a year and a fraction digit by digit, the
    // others as numbers.
    const FormatNumerals numerals = section.numerals;
    const auto number = [numerals](const QString& digits) {
        return numerals == FormatNumerals::Arabic ? digits
                                                  : JapaneseNumerals::Number(digits, numerals);
    };
    const auto digitwise = [numerals](const QString& digits) {
        return JapaneseNumerals::Digitwise(digits, numerals);
    };
    QString out;
    for (const FormatToken& token : section.tokens) {
        const int count = token.count;
        switch (token.kind) {
            case FormatTokenKind::Year:
                out += digitwise(count <= 2 ? Padded(date.year % 100, 2) : Padded(date.year, 4));
                break;
            case FormatTokenKind::Month: {
                if (count <= 2 || section.japanese) {
                    // In Japanese a month's name is its number: 1月.
                    out += number(count == 2 ? Padded(date.month, 2) : QString::number(date.month));
                    out += count >= 3 && count != 5 ? QStringLiteral("月") : QString();
                    break;
                }
                const QString name =
                    QString::fromLatin1(MonthNames[static_cast<size_t>(date.month - 1)]);
                out += count == 3 ? name.left(3) : count == 5 ? name.left(1) : name;
                break;
            }
            case FormatTokenKind::Day: {
                if (count <= 2) {
                    out += number(count == 2 ? Padded(date.day, 2) : QString::number(date.day));
                } else if (section.japanese) {
                    out += QString::fromUtf16(JapaneseDays[static_cast<size_t>(date.weekday)]);
                    out += count >= 4 ? QStringLiteral("曜日") : QString();
                } else {
                    const QString name =
                        QString::fromLatin1(DayNames[static_cast<size_t>(date.weekday)]);
                    out += count == 3 ? name.left(3) : name;
                }
                break;
            }
            case FormatTokenKind::Hour: {
                const int shown = section.hasAmPm ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
                out += number(Padded(shown, count >= 2 ? 2 : 1));
                break;
            }
            case FormatTokenKind::Minute:
                out += number(Padded(minute, count >= 2 ? 2 : 1));
                break;
            case FormatTokenKind::Second:
                out += number(Padded(second, count >= 2 ? 2 : 1));
                break;
            case FormatTokenKind::SubSecond:
                out += u'.' + digitwise(Padded(subsecond, subsecondDigits).left(count));
                break;
            case FormatTokenKind::AmPm: {
                const bool pm = hour >= 12;
                const QString& text = token.text;
                if (section.japanese && text.size() == 5) {
                    out += pm ? QStringLiteral("午後") : QStringLiteral("午前");
                    break;
                }
                out += text.size() == 5 ? (pm ? text.mid(3, 2) : text.left(2))
                                        : (pm ? text.mid(2, 1) : text.left(1));
                break;
            }
            case FormatTokenKind::ElapsedHours:
                out += number(Padded(totalSeconds / 3600, count));
                break;
            case FormatTokenKind::ElapsedMinutes:
                out += number(Padded(totalSeconds / 60, count));
                break;
            case FormatTokenKind::ElapsedSeconds:
                out += number(Padded(totalSeconds, count));
                break;
            case FormatTokenKind::Era: {
                const Era& era = EraOf(date);
                out += QString::fromUtf16(count == 1   ? era.letter
                                          : count == 2 ? era.abbreviation
                                                       : era.name);
                break;
            }
            case FormatTokenKind::EraYear:
                out += number(Padded(date.year - EraOf(date).firstYear + 1, count >= 2 ? 2 : 1));
                break;
            case FormatTokenKind::JapaneseDay:
                out += QString::fromUtf16(JapaneseDays[static_cast<size_t>(date.weekday)]);
                if (count >= 4) {
                    out += u"曜日";
                }
                break;
            case FormatTokenKind::Literal:
                out += token.text;
                break;
            case FormatTokenKind::Digit:
                out += QChar(token.placeholder);
                break;
            case FormatTokenKind::Percent:
                out += u'%';
                break;
            default:
                break;
        }
    }
    return out;
}

}  // namespace engine
