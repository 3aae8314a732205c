// One value a formula computes or reads: a number, a text, a boolean, an error code, or
// nothing (an empty cell, a missing argument). Conversions follow the spreadsheet
// application's coercions: an empty value is 0, "" or FALSE as the operation needs.
#pragma once

#include <QString>
#include <optional>

namespace engine {

struct FormulaValue {
    enum Kind { Empty, Number, Text, Boolean, Error } kind = Empty;
    double number = 0;  // Number, and Boolean as 1 or 0
    QString text;       // Text, or the code of an Error

    static FormulaValue Of(double number);  // #NUM! for infinities and NaN
    static FormulaValue OfText(QString text);
    static FormulaValue OfBoolean(bool value) { return {Boolean, value ? 1.0 : 0.0, {}}; }
    static FormulaValue OfError(const char* code) { return {Error, 0, QString::fromLatin1(code)}; }

    bool IsError() const { return kind == Error; }
    // The text the value shows when joined with &: numbers with up to 15 digits.
    QString AsText() const;
    // The number arithmetic takes: text must read as a number ("1,234", "50%", "2024/1/5"),
    // booleans are 1 and 0. Nothing for other text.
    std::optional<double> AsNumber(bool date1904) const;
    // The truth value a condition takes: numbers are true unless 0, "TRUE"/"FALSE" texts.
    std::optional<bool> AsBoolean() const;
    // The order of comparisons and lookups: numbers (an empty value as 0) before text, text
    // (without case) before booleans, booleans before errors. Negative, 0 or positive.
    static int Order(const FormulaValue& a, const FormulaValue& b);
};

}  // namespace engine
