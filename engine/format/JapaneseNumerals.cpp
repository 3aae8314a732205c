#include "engine/format/JapaneseNumerals.h"

#include <array>

namespace engine {
namespace {

constexpr std::array<char16_t, 10> Kanji = {u'〇', u'一', u'二', u'三', u'四',
                                            u'五', u'六', u'七', u'八', u'九'};
constexpr std::array<char16_t, 10> Formal = {u'〇', u'壱', u'弐', u'参', u'四',
                                             u'伍', u'六', u'七', u'八', u'九'};

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QChar DigitIn(FormatNumerals style, QChar digit) {
    const int value = digit.unicode() - u'0';
    switch (style) {
        case FormatNumerals::Kanji:
            return Kanji[size_t(value)];
        case FormatNumerals::FormalKanji:
            return Formal[size_t(value)];
        case FormatNumerals::FullWidth:
            return QChar(char16_t(u'０' + value));
        case FormatNumerals::Arabic:
            break;
    }
    return digit;
}

// An integer's digits read with place words: within each group of four digits 十 百 千
// (拾 百 阡), the groups joined by 万 億 兆 京 (萬 億 兆 京). A one before 十 百 千 is not
// written in plain kanji; the formal style writes it, as a cheque must.
QString WithPlaceWords(QStringView digits, FormatNumerals style) {
    const bool formal = style == FormatNumerals::FormalKanji;
    const std::array<char16_t, 3> places =
        formal ? std::array{u'拾', u'百', u'阡'} : std::array{u'十', u'百', u'千'};
    const std::array<char16_t, 4> groups =
        formal ? std::array{u'萬', u'億', u'兆', u'京'} : std::array{u'万', u'億', u'兆', u'京'};
    while (digits.size() > 1 && digits.front() == u'0') {
        digits = digits.sliced(1);
    }
    if (digits.size() > 20) {
        return JapaneseNumerals::Digitwise(digits, style);  // beyond the place words
    }
    if (digits == u"0") {
        return QString(DigitIn(style, u'0'));
    }
    QString out;
    const qsizetype length = digits.size();
    bool groupHasDigits = false;
    for (qsizetype i = 0; i < length; ++i) {
        const qsizetype place = length - 1 - i;  // 10^place
        const int withinGroup = int(place % 4);
        const QChar digit = digits[i];
        if (digit != u'0') {
            groupHasDigits = true;
            if (digit != u'1' || withinGroup == 0 || formal) {
                out += DigitIn(style, digit);
            }
            if (withinGroup > 0) {
                out += places[size_t(withinGroup - 1)];
            }
        }
        if (withinGroup == 0 && place > 0 && groupHasDigits) {
            out += groups[size_t(place / 4 - 1)];
            groupHasDigits = false;
        }
    }
    return out;
}

}  // namespace

QString JapaneseNumerals::Digitwise(QStringView text, FormatNumerals style) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        out += IsDigit(c) ? DigitIn(style, c) : c;
    }
    return out;
}

QString JapaneseNumerals::Number(QStringView text, FormatNumerals style) {
    if (style == FormatNumerals::Arabic || style == FormatNumerals::FullWidth) {
        return Digitwise(text, style);
    }
    QString out;
    qsizetype i = 0;
    bool afterPoint = false;  // the digits next are a fraction's
    while (i < text.size()) {
        const QChar c = text[i];
        if (!IsDigit(c)) {
            afterPoint = c == u'.';
            out += c;
            ++i;
            continue;
        }
        QString digits;
        for (; i < text.size(); ++i) {
            const bool grouping =
                text[i] == u',' && !afterPoint && i + 1 < text.size() && IsDigit(text[i + 1]);
            if (!IsDigit(text[i]) && !grouping) {
                break;
            }
            if (!grouping) {
                digits += text[i];
            }
        }
        out += afterPoint ? Digitwise(digits, style) : WithPlaceWords(digits, style);
        afterPoint = false;
    }
    return out;
}

}  // namespace engine
