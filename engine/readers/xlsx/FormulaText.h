// The display form of a SpreadsheetML formula: hides the future-function prefixes the file
// format adds (`_xlfn.`, `_xlws.`, `_xlpm.`, `_xludf.`) and, for a member of a shared
// formula, moves the relative parts of each reference by the member's offset from the master
// cell. Works on tokens, so string literals, quoted sheet names, function names that look
// like references (`LOG10(`), defined names and structured references stay as they are.
#pragma once

#include "engine/model/DeferredText.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

class FormulaText : public DeferredText {
public:
    // `formula` without its "=", split once into the pieces that move and those that stay;
    // a shared formula's master is read once and rendered for each member.
    explicit FormulaText(QString formula);

    // The formula moved by (rowOffset, columnOffset); a reference pushed off the sheet
    // becomes #REF!.
    QString Moved(int rowOffset, int columnOffset) const;
    // A deferred member's formula: Moved(rowOffset, columnOffset).
    QString Render(int32_t rowOffset, int32_t columnOffset) const override {
        return Moved(rowOffset, columnOffset);
    }

    static QString Translate(const QString& formula, int rowOffset, int columnOffset);

private:
    enum class Kind : uint8_t { Text, Cell, Columns, Rows };
    // A run of the formula: text shown as it is (prefixes already left out), or a reference
    // (a cell, a range of whole columns "A:C" or of whole rows "1:3"). `start`/`length`
    // cover the piece's own text, shown unchanged when nothing moves.
    struct Piece {
        Kind kind;
        qsizetype start;
        qsizetype length;
        int32_t first = 0;   // column, or first column / row of a range
        int32_t second = 0;  // row, or last column / row of a range
        bool firstFixed = false;
        bool secondFixed = false;
    };

    void AddText(qsizetype start, qsizetype length);
    void AppendMoved(const Piece& piece, int rowOffset, int columnOffset, QString& out) const;

    QString formula_;
    std::vector<Piece> pieces_;
};

}  // namespace engine
