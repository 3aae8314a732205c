#include "engine/format/GeneralNumber.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace engine {

namespace {

// A positive magnitude as significant decimal digits: d1.d2d3... x 10^exponent.
struct Decimal {
    std::string digits;  // no leading or trailing zeros; empty means zero
    int exponent = 0;
};

void TrimTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
}

// The 15 significant digits the application keeps of a stored double.
Decimal ToDecimal(double magnitude) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);  // d.dddddddddddddde+xx
    Decimal d;
    d.digits.push_back(buffer[0]);
    d.digits.append(buffer + 2, 14);
    d.exponent = std::atoi(buffer + 17);
    TrimTrailingZeros(d);
    return d;
}

// Keeps `keep` significant digits, rounding half away from zero on the decimal digits.
void RoundTo(Decimal& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) {
        return;
    }
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i--] = '0';
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    TrimTrailingZeros(d);
}

std::string Plain(const Decimal& d) {
    if (d.digits.empty()) {
        return "0";
    }
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent < 0) {
        return "0." + std::string(-d.exponent - 1, '0') + d.digits;
    }
    const int integerDigits = d.exponent + 1;
    if (count <= integerDigits) {
        return d.digits + std::string(integerDigits - count, '0');
    }
    return d.digits.substr(0, integerDigits) + "." + d.digits.substr(integerDigits);
}

std::string Scientific(const Decimal& d) {
    std::string text(1, d.digits.empty() ? '0' : d.digits[0]);
    if (d.digits.size() > 1) {
        text += '.';
        text.append(d.digits, 1);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
    return text + exponent;
}

QString Signed(double value, const std::string& magnitude) {
    return QString::fromLatin1((value < 0 ? "-" : "") + magnitude);
}

// Widest fixed form: 11 characters of digits and point.
constexpr int FixedWidth = 11;
// The exponent form keeps 1 + 5 decimals.
constexpr int ScientificDigits = 6;

}  // namespace

QString GeneralNumber::Display(double value) {
    if (!std::isfinite(value)) {
        return QStringLiteral("#NUM!");
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    const Decimal exact = ToDecimal(std::fabs(value));

    Decimal scientific = exact;
    RoundTo(scientific, ScientificDigits);

    if (exact.exponent < FixedWidth) {
        // Digits left of the point (a lone "0" for magnitudes below 1) plus the point.
        const int integerDigits = std::max(1, exact.exponent + 1);
        const int decimals = std::max(0, FixedWidth - 1 - integerDigits);
        Decimal fixed = exact;
        RoundTo(fixed, exact.exponent + 1 + decimals);
        // Rounding may carry into a 12th integer digit; fixed then no longer fits.
        const bool fits = fixed.exponent < FixedWidth;
        if (fits && fixed.digits.size() >= scientific.digits.size()) {
            return Signed(value, Plain(fixed));
        }
    }
    return Signed(value, Scientific(scientific));
}

QString GeneralNumber::Edit(double value) {
    if (!std::isfinite(value)) {
        return QStringLiteral("#NUM!");
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    const Decimal exact = ToDecimal(std::fabs(value));
    // The edit bar writes integers of up to 16 digits out in full (past the 15th digit
    // as zeros) and small fractions down to 0.00001 in plain notation.
    const bool plain = exact.exponent >= -5 && exact.exponent <= 15;
    return Signed(value, plain ? Plain(exact) : Scientific(exact));
}

}  // namespace engine
