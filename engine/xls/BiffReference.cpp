#include "engine/xls/BiffReference.h"

#include "automation/Tcsvutility.h"
#include "engine/xls/BiffPayload.h"

namespace engine {
namespace {

constexpr int LastColumn = 0xFF;
constexpr uint16_t RowRelative = 0x8000;
constexpr uint16_t ColumnRelative = 0x4000;

}  // namespace

BiffReference::Part BiffReference::Resolve(uint16_t rawRow, uint16_t rawColumn, bool rowRelative,
                                           bool columnRelative, bool shared) const {
    Part part{rawRow & LastRow(), rawColumn & (biff8_ ? 0x3FFF : LastColumn), rowRelative,
              columnRelative};
    if (shared && rowRelative) {
        // BIFF5 rows are 14 bits wide, so is their signed offset.
        const int offset =
            biff8_ ? int16_t(rawRow)
                   : ((rawRow & 0x2000) ? (rawRow & 0x3FFF) - 0x4000 : (rawRow & 0x3FFF));
        part.row = (row_ + offset) & LastRow();
    }
    if (shared && columnRelative) {
        part.column = (column_ + int8_t(rawColumn & 0xFF)) & LastColumn;
    }
    return part;
}

BiffReference::Part BiffReference::Decode(uint16_t rawRow, uint16_t rawColumn, bool shared) const {
    const uint16_t flags = biff8_ ? rawColumn : rawRow;
    return Resolve(rawRow, rawColumn, flags & RowRelative, flags & ColumnRelative, shared);
}

QString BiffReference::ColumnText(const Part& part) {
    return (part.columnRelative ? QString() : QStringLiteral("$")) +
           TCsvUtility::ColumnIndexToName(part.column);
}

QString BiffReference::RowText(const Part& part) {
    return (part.rowRelative ? QString() : QStringLiteral("$")) + QString::number(part.row + 1);
}

QString BiffReference::ReadCell(BiffPayload& in, bool shared) const {
    const uint16_t row = in.U16();
    const uint16_t column = biff8_ ? in.U16() : in.U8();
    const Part part = Decode(row, column, shared);
    return ColumnText(part) + RowText(part);
}

QString BiffReference::ReadArea(BiffPayload& in, bool shared) const {
    const uint16_t row1 = in.U16();
    const uint16_t row2 = in.U16();
    const uint16_t column1 = biff8_ ? in.U16() : in.U8();
    const uint16_t column2 = biff8_ ? in.U16() : in.U8();
    const Part first = Decode(row1, column1, shared);
    const Part last = Decode(row2, column2, shared);
    if (first.row == 0 && last.row == LastRow()) {
        return ColumnText(first) + u':' + ColumnText(last);
    }
    if (first.column == 0 && last.column == LastColumn) {
        return RowText(first) + u':' + RowText(last);
    }
    return ColumnText(first) + RowText(first) + u':' + ColumnText(last) + RowText(last);
}

}  // namespace engine
