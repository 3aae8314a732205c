// Cell references inside formula tokens: how BIFF8 and BIFF5 pack rows, columns and their
// relative flags, and the A1 text the formula bar shows for them. In shared formulas the
// relative parts are offsets from the cell being shown.
#pragma once

#include <QString>
#include <cstdint>

namespace engine {

class BiffPayload;

class BiffReference {
public:
    // `row` and `column` (0-based) are the cell the formula text is for.
    BiffReference(bool biff8, int row, int column) : biff8_(biff8), row_(row), column_(column) {}

    // A reference token's body: "A1", "$A$1". `shared` reads the relative parts as offsets.
    QString ReadCell(BiffPayload& in, bool shared) const;
    // An area token's body: "A1:B2", whole columns "A:$B", whole rows "1:3".
    QString ReadArea(BiffPayload& in, bool shared) const;

private:
    struct Part {
        int row = 0;
        int column = 0;
        bool rowRelative = false;
        bool columnRelative = false;
    };

    int LastRow() const { return biff8_ ? 0xFFFF : 0x3FFF; }
    Part Resolve(uint16_t rawRow, uint16_t rawColumn, bool rowRelative, bool columnRelative,
                 bool shared) const;
    // BIFF8 keeps the flags in the column field, BIFF5 in the row field.
    Part Decode(uint16_t rawRow, uint16_t rawColumn, bool shared) const;
    static QString ColumnText(const Part& part);
    static QString RowText(const Part& part);

    bool biff8_;
    int row_;
    int column_;
};

}  // namespace engine
