// Renders a number through a number-format code the way the spreadsheet application
// displays it (Japanese locale). Column width is ignored. An invalid code falls back to
// General rather than failing.
#pragma once

#include <QString>
#include <QStringView>

namespace engine {

class NumberFormatter {
public:
    // The displayed text of `value` under `code` ("General", "0.00", "yyyy/m/d", ...).
    static QString Format(double value, QStringView code, bool date1904);
    // The displayed text of a text value under `code` (its text section or "@", if any).
    static QString FormatText(const QString& text, QStringView code);
    // True when FormatText shows text changed under `code` (it has a text section).
    static bool FormatsText(QStringView code);
    // True when the code's first section shows a date or a time.
    static bool IsDateFormat(QStringView code);
    // Every character Format can show for any number under `code` (with every letter of
    // the month, weekday and era names it may show). Lets a search skip rendering cells
    // whose text cannot hold the word.
    static QString NumberAlphabet(QStringView code);
};

}  // namespace engine
