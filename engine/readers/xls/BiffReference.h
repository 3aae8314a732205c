// Cell references inside formula tokens: how BIFF8 and BIFF5 pack rows, columns and their
// relative flags, and the A1 text the formula bar shows for them. In shared formulas the
// relative parts are offsets from the cell being shown. The text is appended to the
// decompiler's string, and column names are kept once made, because a sheet's formulas
// spell the same few columns over and over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class BiffPayload;

class BiffReference {
public:
    explicit BiffReference(bool biff8) : biff8_(biff8) {}

    // The cell (0-based) the formula text is for.
    void SetOrigin(int row, int column) {
        row_ = row;
        column_ = column;
    }
    // A reference token's body: "A1", "$A$1". `shared` reads the relative parts as offsets.
    void AppendCell(std::u16string& out, BiffPayload& in, bool shared);
    // An area token's body: "A1:B2", whole columns "A:$B", whole rows "1:3".
    void AppendArea(std::u16string& out, BiffPayload& in, bool shared);
    // A row number or an integer constant in decimal digits.
    static void AppendDecimal(std::u16string& out, int value);

private:
    struct Part {
        int row = 0;
        int column = 0;
        bool rowRelative = false;
        bool columnRelative = false;
    };

    int LastRow() const { return biff8_ ? 0xFFFF : 0x3FFF; }
    // Fills `part` in place: returned by value, this small struct is put together through
    // memory in a way that stalls the processor, and every reference pays for it.
    void Decode(uint16_t rawRow, uint16_t rawColumn, bool shared, Part& part) const;
    void AppendColumn(std::u16string& out, const Part& part);
    static void AppendRow(std::u16string& out, const Part& part);
    const std::u16string& ColumnName(int column);

    bool biff8_;
    int row_ = 0;
    int column_ = 0;
    std::vector<std::u16string> columnNames_;  // by column index, filled on first use
};

}  // namespace engine
