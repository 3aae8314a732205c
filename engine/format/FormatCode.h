// A number-format code after parsing: up to four sections, each a list of tokens with what
// the renderers need to know about it (scaling, grouping, date or text). FormatParser builds
// it once per code; NumberRenderer and DateRenderer read it.
#pragma once

#include "engine/format/JapaneseNumerals.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

enum class FormatTokenKind : uint8_t {
    Literal,         // text shown as it is (quoted text, escapes, `_x` spaces, other characters)
    Digit,           // `0`, `#` or `?` (in `placeholder`)
    DecimalPoint,    // `.`
    Percent,         // `%`: shown, and the value is multiplied by 100
    Exponent,        // `E+` / `E-` (the sign character in `placeholder`)
    FractionSlash,   // `/` between the numerator and the denominator of a fraction
    Denominator,     // a fixed denominator written as digits (`?/8`), value in `count`
    TextValue,       // `@`
    General,         // `General` inside a section
    Year,            // `yy` or `yyyy` (count 2 or 4)
    Month,           // `m` .. `mmmmm`
    Day,             // `d` .. `dddd`
    Hour,            // `h`, `hh`
    Minute,          // `m`, `mm` after an hour or before a second
    Second,          // `s`, `ss`
    SubSecond,       // `.0`, `.00`, `.000` after seconds (digit count in `count`)
    AmPm,            // `AM/PM` or `A/P` as written (in `text`)
    ElapsedHours,    // `[h]`
    ElapsedMinutes,  // `[m]`
    ElapsedSeconds,  // `[s]`
    Era,             // `g` .. `ggg`
    EraYear,         // `e`, `ee`
    JapaneseDay,     // `aaa`, `aaaa`
};

struct FormatToken {
    FormatTokenKind kind = FormatTokenKind::Literal;
    QString text;          // Literal text, AM/PM spelling
    int count = 1;         // repetitions of the letter (`yyyy` is 4), or a fixed denominator
    char placeholder = 0;  // `0`, `#`, `?` for Digit; `+` or `-` for Exponent
};

enum class FormatComparison : uint8_t {
    None,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Equal,
    NotEqual
};

struct FormatSection {
    std::vector<FormatToken> tokens;
    FormatComparison comparison = FormatComparison::None;
    double operand = 0;
    bool isDate = false;     // holds a date or time token
    bool hasText = false;    // holds `@`
    bool hasDigits = false;  // holds a digit placeholder or `General`
    bool grouping = false;   // a `,` between integer placeholders
    bool hasAmPm = false;
    bool hasLiteralSign = false;  // a literal `-` or `(`: negatives are not given a minus
    int percents = 0;             // each `%` multiplies by 100
    int scalingCommas = 0;        // each trailing `,` divides by 1000
    FormatNumerals numerals = FormatNumerals::Arabic;  // `[DBNum1]` .. `[DBNum3]`
    bool japanese = false;  // a `[$-411]` locale tag: Japanese month, weekday and AM/PM names

    // The section's condition (`[<100]`); true without one.
    bool Matches(double value) const {
        switch (comparison) {
            case FormatComparison::None:
                return true;
            case FormatComparison::Less:
                return value < operand;
            case FormatComparison::LessEqual:
                return value <= operand;
            case FormatComparison::Greater:
                return value > operand;
            case FormatComparison::GreaterEqual:
                return value >= operand;
            case FormatComparison::Equal:
                return value == operand;
            case FormatComparison::NotEqual:
                return value != operand;
        }
        return true;
    }
};

struct FormatCode {
    std::vector<FormatSection> sections;  // empty when the code is invalid: show General
};

}  // namespace engine
