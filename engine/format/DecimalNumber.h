// A non-negative number as decimal digits, taken from a double at the 15 significant digits
// the spreadsheet application keeps, so rounding works on the decimal value people see
// (2.675 rounds to 2.68) rather than on binary artefacts. Rounding is half away from zero.
#pragma once

#include <string>

namespace engine {

class DecimalNumber {
public:
    // |value| at 15 significant digits; a non-finite value gives zero.
    static DecimalNumber FromDouble(double value);

    bool IsZero() const { return digits_.empty(); }
    // Position of the decimal point relative to the digits: value = 0.digits × 10^exponent.
    int Exponent() const { return exponent_; }

    // Rounds to `decimals` digits after the point.
    void RoundToDecimals(int decimals);
    // Rounds to `count` significant digits.
    void RoundToSignificant(int count);
    // Moves the decimal point: the value times 10^power.
    void Shift(int power) { exponent_ += IsZero() ? 0 : power; }

    // The digits before the point, without leading zeros ("" for a value below 1).
    std::string IntegerDigits() const;
    // The first `count` digits after the point, zero-padded.
    std::string FractionDigits(int count) const;
    // The significant digits, without trailing zeros ("" for zero).
    const std::string& Digits() const { return digits_; }

private:
    void RoundAt(int keep);
    void Normalise();

    std::string digits_;  // no leading or trailing zeros
    int exponent_ = 0;
};

}  // namespace engine
