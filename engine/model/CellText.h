// The texts of one cell as the spreadsheet application reports them: the displayed text
// (Range.Text), the formula or constant as entered (Range.Formula), and the edit-bar text
// that Find compares when it looks in formulas.
#pragma once

#include "engine/model/Cell.h"

#include <QString>

namespace engine {

class Workbook;

class CellText {
public:
    // The value through the cell's number format ("" for an empty cell); column width is
    // ignored.
    static QString Text(const Workbook& book, const Cell& cell);
    // "=..." for a formula; the constant as entered otherwise: numbers in plain English
    // notation, dates as m/d/yyyy, percentages as 5%, TRUE/FALSE, error codes.
    static QString Formula(const Workbook& book, const Cell& cell);
    // As Formula, but date and time constants in the Japanese edit-bar form (2024/1/5).
    static QString EditText(const Workbook& book, const Cell& cell);
    // True when the cell's format is "General", so a text shows unchanged.
    static bool HasGeneralFormat(const Workbook& book, const Cell& cell);
    // Cuts `text` to MaxTextLength characters, never inside a surrogate pair. Inline: every
    // string a reader pools passes here, and almost none is that long.
    static void Cut(QString& text) {
        if (text.size() > MaxTextLength) {
            CutLong(text);
        }
    }

private:
    static void CutLong(QString& text);
};

}  // namespace engine
