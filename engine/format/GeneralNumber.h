// The "General" number format: how the spreadsheet application shows a number in a cell
// that has no format (Display), and how it shows the stored constant in the edit bar
// (Edit). Both work on the value rounded to 15 significant decimal digits, half away from
// zero, so binary noise such as 0.1 + 0.2 never shows.
#pragma once

#include <QString>

namespace engine {

class GeneralNumber {
public:
    // At most 11 characters of digits and decimal point (the minus sign is not counted):
    // 123456.7891, 0.333333333, 1.23457E+11, 1.23457E-05. Column width is ignored.
    static QString Display(double value);
    // Up to 15 significant digits, "." as decimal point, no grouping: 1234.5, 0.3,
    // 1234567890123450, 1.23456789012346E+19.
    static QString Edit(double value);
};

}  // namespace engine
