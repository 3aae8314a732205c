#include "engine/format/NumberRenderer.h"

#include "engine/format/DecimalNumber.h"
#include "engine/format/GeneralNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace engine {
namespace {

// Fractions of larger numbers would overflow the numerator; they are shown as decimals.
constexpr double MaxFractionValue = 1e15;
constexpr int MaxDenominatorDigits = 7;

bool IsDigit(const FormatToken& token) {
    return token.kind == FormatTokenKind::Digit;
}

size_t FindKind(const std::vector<FormatToken>& tokens, FormatTokenKind kind, size_t from = 0,
                size_t to = SIZE_MAX) {
    to = std::min(to, tokens.size());
    for (size_t i = from; i < to; ++i) {
        if (tokens[i].kind == kind) {
            return i;
        }
    }
    return to;
}

int CountDigits(const std::vector<FormatToken>& tokens, size_t begin, size_t end) {
    return static_cast<int>(std::count_if(tokens.begin() + static_cast<std::ptrdiff_t>(begin),
                                          tokens.begin() + static_cast<std::ptrdiff_t>(end),
                                          IsDigit));
}

// The last continued-fraction convergent of `x` (0 <= x) whose denominator is at most
// `maxDenominator`; the application stops there rather than search the closest fraction
// (3.14159 with `??/??` shows 1/7, not 14/99).
void Convergent(double x, int64_t maxDenominator, int64_t& numerator, int64_t& denominator) {
    int64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double rest = x;
    for (int step = 0; step < 64; ++step) {
        const double whole = std::floor(rest);
        if (whole > MaxFractionValue) {
            break;
        }
        const auto a = static_cast<int64_t>(whole);
        // A large value's numerators outgrow 64 bits before its denominators pass the limit.
        int64_t p2 = 0, q2 = 0;
        if (__builtin_mul_overflow(a, p1, &p2) || __builtin_add_overflow(p2, p0, &p2) ||
            __builtin_mul_overflow(a, q1, &q2) || __builtin_add_overflow(q2, q0, &q2) ||
            q2 > maxDenominator) {
            break;
        }
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        const double fraction = rest - whole;
        if (fraction < 1e-12) {
            break;
        }
        rest = 1 / fraction;
    }
    numerator = p1;
    denominator = q1;
}

}  // namespace

QString NumberRenderer::Render(const FormatSection& section, double magnitude, bool negative) {
    bool isZero = false;
    QString body;
    const auto& tokens = section.tokens;
    if (FindKind(tokens, FormatTokenKind::FractionSlash) < tokens.size() &&
        magnitude < MaxFractionValue) {
        body = RenderFraction(section, magnitude, isZero);
    } else if (FindKind(tokens, FormatTokenKind::Exponent) < tokens.size()) {
        body = RenderScientific(section, magnitude, isZero);
    } else {
        body = RenderPlain(section, magnitude, isZero);
    }
    if (negative && !isZero) {
        body.prepend(u'-');
    }
    return body;
}

QString NumberRenderer::RenderPlain(const FormatSection& section, double magnitude, bool& isZero) {
    const auto& tokens = section.tokens;
    if (FindKind(tokens, FormatTokenKind::General) < tokens.size()) {
        // `"¥"General`, `[Red]General`: the General text in place of the placeholders.
        isZero = magnitude == 0;
        QString out;
        for (const FormatToken& token : tokens) {
            EmitLiteral(token, magnitude, out);
        }
        return out;
    }
    const size_t point = FindKind(tokens, FormatTokenKind::DecimalPoint);
    const int decimals = CountDigits(tokens, std::min(point + 1, tokens.size()), tokens.size());
    DecimalNumber number = DecimalNumber::FromDouble(magnitude);
    number.Shift(2 * section.percents - 3 * section.scalingCommas);
    number.RoundToDecimals(decimals);
    isZero = number.IsZero();

    const bool showsInteger = CountDigits(tokens, 0, point) > 0 || point < tokens.size();
    QString out;
    EmitInteger(tokens, 0, point, showsInteger ? number.IntegerDigits() : std::string(),
                section.grouping, out);
    if (point < tokens.size()) {
        out += u'.';
        EmitFraction(tokens, point + 1, tokens.size(), number.FractionDigits(decimals), out);
    }
    return out;
}

QString NumberRenderer::RenderScientific(const FormatSection& section, double magnitude,
                                         bool& isZero) {
    const auto& tokens = section.tokens;
    const size_t e = FindKind(tokens, FormatTokenKind::Exponent);
    const size_t point = FindKind(tokens, FormatTokenKind::DecimalPoint, 0, e);
    const int integerPlaces = CountDigits(tokens, 0, point);
    const int decimals = point < e ? CountDigits(tokens, point + 1, e) : 0;
    const bool engineering =
        integerPlaces > 1 &&
        std::any_of(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(point),
                    [](const FormatToken& t) { return IsDigit(t) && t.placeholder == '#'; });

    DecimalNumber base = DecimalNumber::FromDouble(magnitude);
    base.Shift(2 * section.percents);
    DecimalNumber mantissa = base;
    int exponent = 0;
    if (!base.IsZero()) {
        const int natural = base.Exponent() - 1;
        const int step = engineering ? integerPlaces : 1;
        exponent = engineering
                       ? static_cast<int>(std::floor(static_cast<double>(natural) / step)) * step
                       : natural - integerPlaces + 1;
        // Rounding can carry into one more integer digit (9.99 → 10.0): move the exponent.
        for (int attempt = 0; attempt < 2; ++attempt) {
            mantissa = base;
            mantissa.Shift(-exponent);
            mantissa.RoundToDecimals(decimals);
            if (mantissa.IntegerDigits().size() <=
                static_cast<size_t>(std::max(integerPlaces, 1))) {
                break;
            }
            exponent += step;
        }
    }
    isZero = mantissa.IsZero();

    QString out;
    EmitInteger(tokens, 0, point, mantissa.IntegerDigits(), section.grouping, out);
    if (point < e) {
        out += u'.';
        EmitFraction(tokens, point + 1, e, mantissa.FractionDigits(decimals), out);
    }
    out += u'E';
    if (exponent < 0) {
        out += u'-';
    } else if (tokens[e].placeholder == '+') {
        out += u'+';
    }
    EmitInteger(tokens, e + 1, tokens.size(), std::to_string(std::abs(exponent)), false, out);
    return out;
}

QString NumberRenderer::RenderFraction(const FormatSection& section, double magnitude,
                                       bool& isZero) {
    const auto& tokens = section.tokens;
    const size_t slash = FindKind(tokens, FormatTokenKind::FractionSlash);
    size_t numeratorBegin = slash;
    while (numeratorBegin > 0 && IsDigit(tokens[numeratorBegin - 1])) {
        --numeratorBegin;
    }
    size_t wholeEnd = numeratorBegin;
    while (wholeEnd > 0 && !IsDigit(tokens[wholeEnd - 1])) {
        --wholeEnd;
    }
    const bool hasWhole = wholeEnd > 0;
    size_t denominatorEnd = slash + 1;
    while (denominatorEnd < tokens.size() &&
           (IsDigit(tokens[denominatorEnd]) ||
            tokens[denominatorEnd].kind == FormatTokenKind::Denominator)) {
        ++denominatorEnd;
    }

    double whole = hasWhole ? std::floor(magnitude) : 0;
    const double fraction = magnitude - whole;
    int64_t numerator = 0;
    int64_t denominator = 1;
    const size_t fixed = FindKind(tokens, FormatTokenKind::Denominator, slash, denominatorEnd);
    if (fixed < denominatorEnd) {
        denominator = tokens[fixed].count;
        numerator = std::llround(fraction * static_cast<double>(denominator));
    } else {
        const int places =
            std::clamp(CountDigits(tokens, slash + 1, denominatorEnd), 1, MaxDenominatorDigits);
        Convergent(fraction, static_cast<int64_t>(std::pow(10, places)) - 1, numerator,
                   denominator);
    }
    if (hasWhole && numerator == denominator) {
        whole += 1;
        numerator = 0;
    }
    isZero = whole == 0 && numerator == 0;

    QString out;
    const std::string wholeDigits = DecimalNumber::FromDouble(whole).IntegerDigits();
    EmitInteger(tokens, 0, wholeEnd,
                numerator == 0 && wholeDigits.empty() ? std::string("0") : wholeDigits, false, out);
    QString part;
    for (size_t i = wholeEnd; i < numeratorBegin; ++i) {
        EmitLiteral(tokens[i], magnitude, part);
    }
    EmitInteger(tokens, numeratorBegin, slash, std::to_string(numerator), false, part);
    part += u'/';
    const std::string denominatorDigits = std::to_string(denominator);
    size_t used = 0;
    for (size_t i = slash + 1; i < denominatorEnd; ++i) {
        if (tokens[i].kind == FormatTokenKind::Denominator) {
            part += QString::fromStdString(denominatorDigits);
        } else if (used < denominatorDigits.size()) {
            // The last placeholder takes any digits left over.
            const size_t take = i + 1 == denominatorEnd ? denominatorDigits.size() - used : 1;
            part += QString::fromStdString(denominatorDigits.substr(used, take));
            used += take;
        } else if (tokens[i].placeholder != '#') {
            part += tokens[i].placeholder == '0' ? u'0' : u' ';
        }
    }
    if (hasWhole && numerator == 0) {
        part = QString(part.size(), u' ');
    }
    out += part;
    for (size_t i = denominatorEnd; i < tokens.size(); ++i) {
        EmitLiteral(tokens[i], magnitude, out);
    }
    return out;
}

void NumberRenderer::EmitInteger(const Tokens& tokens, size_t begin, size_t end,
                                 const std::string& digits, bool grouping, QString& out) {
    const size_t places = static_cast<size_t>(CountDigits(tokens, begin, end));
    const size_t length = digits.size();
    const auto put = [&](char digit, size_t position) {
        out += QChar(digit);
        if (grouping && position > 0 && position % 3 == 0) {
            out += u',';
        }
    };
    size_t seen = 0;
    for (size_t i = begin; i < end; ++i) {
        if (!IsDigit(tokens[i])) {
            EmitLiteral(tokens[i], 0, out);
            continue;
        }
        const size_t position = places - 1 - seen;
        if (seen == 0) {
            for (size_t j = 0; j + places < length; ++j) {
                put(digits[j], length - 1 - j);
            }
        }
        if (position < length) {
            put(digits[length - 1 - position], position);
        } else if (tokens[i].placeholder == '0') {
            put('0', position);
        } else if (tokens[i].placeholder == '?') {
            out += u' ';
        }
        ++seen;
    }
    if (places == 0) {
        for (size_t j = 0; j < length; ++j) {
            put(digits[j], length - 1 - j);
        }
    }
}

void NumberRenderer::EmitFraction(const Tokens& tokens, size_t begin, size_t end,
                                  const std::string& digits, QString& out) {
    size_t index = 0;
    for (size_t i = begin; i < end; ++i) {
        if (!IsDigit(tokens[i])) {
            EmitLiteral(tokens[i], 0, out);
            continue;
        }
        const bool trailingZero = digits.find_first_not_of('0', index) == std::string::npos;
        if (!trailingZero || tokens[i].placeholder == '0') {
            out += QChar(digits[index]);
        } else if (tokens[i].placeholder == '?') {
            out += u' ';
        }
        ++index;
    }
}

void NumberRenderer::EmitLiteral(const FormatToken& token, double magnitude, QString& out) {
    switch (token.kind) {
        case FormatTokenKind::Literal:
            out += token.text;
            break;
        case FormatTokenKind::Percent:
            out += u'%';
            break;
        case FormatTokenKind::General:
            out += GeneralNumber::Display(magnitude);
            break;
        default:
            break;
    }
}

}  // namespace engine
