// The numerals of the [DBNum1], [DBNum2] and [DBNum3] format tags, as the Japanese version
// of the spreadsheet application shows them: kanji with their place words (123 → 百二十三),
// the formal kanji of documents and cheques (壱百弐拾参), and full-width digits (１２３).
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace engine {

enum class FormatNumerals : uint8_t { Arabic, Kanji, FormalKanji, FullWidth };

class JapaneseNumerals {
public:
    // A rendered number's text with its digits in `style`: the digits before a decimal
    // point (grouping commas between them dropped) read as one number with place words,
    // those after it one by one; other characters stay.
    static QString Number(QStringView text, FormatNumerals style);
    // Digits one by one (二〇二四), as a year is read.
    static QString Digitwise(QStringView text, FormatNumerals style);
};

}  // namespace engine
