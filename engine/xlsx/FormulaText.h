// The display form of a SpreadsheetML formula: hides the future-function prefixes the file
// format adds (`_xlfn.`, `_xlws.`, `_xlpm.`, `_xludf.`) and, for a member of a shared
// formula, moves the relative parts of each reference by the member's offset from the master
// cell. Works on tokens, so string literals, quoted sheet names, function names that look
// like references (`LOG10(`), defined names and structured references stay as they are.
#pragma once

#include <QString>

namespace engine {

class FormulaText {
public:
    // `formula` without its "=", moved by (rowOffset, columnOffset); a reference pushed off
    // the sheet becomes #REF!.
    static QString Translate(const QString& formula, int rowOffset, int columnOffset);

private:
    static QString ShiftCell(QStringView token, int rowOffset, int columnOffset);
    static QString ShiftColumn(QStringView token, int columnOffset);
    static QString ShiftRow(QStringView token, int rowOffset);
};

}  // namespace engine
