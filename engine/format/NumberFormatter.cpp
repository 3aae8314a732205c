#include "engine/format/NumberFormatter.h"

#include "engine/format/DateRenderer.h"
#include "engine/format/FormatParser.h"
#include "engine/format/GeneralNumber.h"
#include "engine/format/JapaneseNumerals.h"
#include "engine/format/NumberRenderer.h"

#include <QHash>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>

namespace engine {
namespace {

// Text is asked per found cell and a workbook uses few codes: parse each code once.
constexpr qsizetype MaxCachedCodes = 512;

std::shared_ptr<const FormatCode> Cached(QStringView code) {
    static std::mutex mutex;
    static QHash<QString, std::shared_ptr<const FormatCode>> cache;
    const QString key = code.toString();
    std::lock_guard lock(mutex);
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) {
        return it.value();
    }
    if (cache.size() >= MaxCachedCodes) {
        cache.clear();
    }
    auto parsed = std::make_shared<const FormatCode>(FormatParser::Parse(code));
    cache.insert(key, parsed);
    return parsed;
}

std::shared_ptr<const FormatCode> Parsed(QStringView code) {
    // A sheet's columns use a handful of codes: keep the latest few per thread, so most calls
    // neither allocate nor lock.
    struct Recent {
        QString code;
        std::shared_ptr<const FormatCode> parsed;
    };
    thread_local std::array<Recent, 8> recent;
    thread_local size_t next = 0;
    for (const Recent& entry : recent) {
        if (entry.parsed && code == entry.code) {
            return entry.parsed;
        }
    }
    Recent& slot = recent[next++ % recent.size()];
    slot.parsed = Cached(code);
    slot.code = code.toString();
    return slot.parsed;
}

struct Choice {
    const FormatSection* section = nullptr;  // null: no section applies
    bool minus = false;                      // the section shows the magnitude; add "-"
};

// Which section shows `value`: by sign (positive; negative; zero) or by the conditions.
Choice ChooseSection(const FormatCode& code, double value) {
    const auto& sections = code.sections;
    const size_t numeric = std::min<size_t>(sections.size(), 3);
    const bool conditional = sections[0].comparison != FormatComparison::None ||
                             (numeric > 1 && sections[1].comparison != FormatComparison::None);
    if (conditional) {
        for (size_t i = 0; i < numeric; ++i) {
            if (sections[i].Matches(value)) {
                const bool minus = value < 0 && !sections[i].hasLiteralSign;
                return {&sections[i], minus};
            }
        }
        return {};
    }
    if (value < 0 && numeric >= 2) {
        return {&sections[1], false};
    }
    if (value == 0 && numeric >= 3) {
        return {&sections[2], false};
    }
    return {&sections[0], value < 0};
}

QString RenderText(const FormatSection& section, const QString& text) {
    QString out;
    for (const FormatToken& token : section.tokens) {
        if (token.kind == FormatTokenKind::TextValue || token.kind == FormatTokenKind::General) {
            out += text;
        } else if (token.kind == FormatTokenKind::Literal) {
            out += token.text;
        }
    }
    return out;
}

// The section a text value is shown through: the fourth, or a single one holding `@`.
const FormatSection* TextSection(const FormatCode& parsed) {
    const auto& sections = parsed.sections;
    if (sections.size() == 4) {
        return &sections[3];
    }
    if (sections.size() == 1 && sections[0].hasText) {
        return &sections[0];
    }
    return nullptr;
}

bool IsGeneralCode(QStringView code) {
    return code.isEmpty() || code.compare(u"General", Qt::CaseInsensitive) == 0;
}

}  // namespace

QString NumberFormatter::Format(double value, QStringView code, bool date1904) {
    if (IsGeneralCode(code) || !std::isfinite(value)) {
        return GeneralNumber::Display(value);
    }
    const auto parsed = Parsed(code);
    if (parsed->sections.empty()) {
        return GeneralNumber::Display(value);
    }
    const Choice choice = ChooseSection(*parsed, value);
    if (!choice.section) {
        return QString::fromLatin1(DateRenderer::Undisplayable);
    }
    const FormatSection& section = *choice.section;
    if (section.isDate) {
        return choice.minus ? QString::fromLatin1(DateRenderer::Undisplayable)
                            : DateRenderer::Render(section, std::fabs(value), date1904);
    }
    if (section.hasText && !section.hasDigits) {
        return GeneralNumber::Display(value);  // a text format shows numbers as they are
    }
    const QString text = NumberRenderer::Render(section, std::fabs(value), choice.minus);
    return section.numerals == FormatNumerals::Arabic
               ? text
               : JapaneseNumerals::Number(text, section.numerals);
}

QString NumberFormatter::FormatText(const QString& text, QStringView code) {
    if (IsGeneralCode(code)) {
        return text;
    }
    const auto parsed = Parsed(code);
    const FormatSection* section = TextSection(*parsed);
    return section ? RenderText(*section, text) : text;
}

bool NumberFormatter::FormatsText(QStringView code) {
    return !IsGeneralCode(code) && TextSection(*Parsed(code));
}

QString NumberFormatter::NumberAlphabet(QStringView code) {
    // General (also what invalid codes, text sections and huge values fall back to), the
    // overflow mark, signs, separators, fractions' slash and padding.
    QString alphabet = QStringLiteral("0123456789.E+-#%/:, ");
    if (IsGeneralCode(code)) {
        return alphabet;
    }
    // Every letter of every name a date token can show.
    static const QString MonthLetters = QStringLiteral(
        "JanuaryFebruaryMarchAprilMayJuneJulyAugustSeptemberOctoberNovemberDecember月");
    static const QString DayLetters =
        QStringLiteral("SundayMondayTuesdayWednesdayThursdayFridaySaturday日月火水木金土曜");
    static const QString EraLetters = QStringLiteral("MTSHR明治大正昭和平成令");
    static const QString AmPmLetters = QStringLiteral("午前後");
    static const QString NumeralLetters =
        QStringLiteral("〇一二三四五六七八九十百千万億兆京壱弐参伍拾阡萬０１２３４５６７８９");
    for (const FormatSection& section : Parsed(code)->sections) {
        if (section.numerals != FormatNumerals::Arabic) {
            alphabet += NumeralLetters;
        }
        for (const FormatToken& token : section.tokens) {
            switch (token.kind) {
                case FormatTokenKind::Literal:
                    alphabet += token.text;
                    break;
                case FormatTokenKind::Month:
                    alphabet += token.count >= 3 ? MonthLetters : QString();
                    break;
                case FormatTokenKind::Day:
                    alphabet += token.count >= 3 ? DayLetters : QString();
                    break;
                case FormatTokenKind::JapaneseDay:
                    alphabet += DayLetters;
                    break;
                case FormatTokenKind::Era:
                    alphabet += EraLetters;
                    break;
                case FormatTokenKind::AmPm:
                    alphabet += token.text + AmPmLetters;
                    break;
                default:
                    break;  // digits and the separators above
            }
        }
    }
    return alphabet;
}

bool NumberFormatter::IsDateFormat(QStringView code) {
    if (IsGeneralCode(code)) {
        return false;
    }
    const auto parsed = Parsed(code);
    return !parsed->sections.empty() && parsed->sections[0].isDate;
}

}  // namespace engine
