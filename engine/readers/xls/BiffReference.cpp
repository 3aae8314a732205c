#include "engine/readers/xls/BiffReference.h"

#include "automation/Tcsvutility.h"
#include "engine/readers/xls/BiffPayload.h"

#include <charconv>
#include <iterator>

namespace engine {
namespace {

constexpr int LastColumn = 0xFF;
constexpr uint16_t RowRelative = 0x8000;
constexpr uint16_t ColumnRelative = 0x4000;

}  // namespace

void BiffReference::Decode(uint16_t rawRow, uint16_t rawColumn, bool shared, Part& part) const {
    // BIFF8 keeps the flags in the column field, BIFF5 in the row field.
    const uint16_t flags = biff8_ ? rawColumn : rawRow;
    part.row = rawRow & LastRow();
    part.column = rawColumn & (biff8_ ? 0x3FFF : LastColumn);
    part.rowRelative = (flags & RowRelative) != 0;
    part.columnRelative = (flags & ColumnRelative) != 0;
    if (shared && part.rowRelative) {
        // BIFF5 rows are 14 bits wide, so is their signed offset.
        const int offset =
            biff8_ ? int16_t(rawRow)
                   : ((rawRow & 0x2000) ? (rawRow & 0x3FFF) - 0x4000 : (rawRow & 0x3FFF));
        part.row = (row_ + offset) & LastRow();
    }
    if (shared && part.columnRelative) {
        part.column = (column_ + int8_t(rawColumn & 0xFF)) & LastColumn;
    }
}

const std::u16string& BiffReference::ColumnName(int column) {
    if (size_t(column) >= columnNames_.size()) {
        columnNames_.resize(size_t(column) + 1);
    }
    std::u16string& name = columnNames_[size_t(column)];
    if (name.empty()) {
        const QString text = TCsvUtility::ColumnIndexToName(column);
        name.assign(QStringView(text).utf16(), size_t(text.size()));
    }
    return name;
}

void BiffReference::AppendColumn(std::u16string& out, const Part& part) {
    if (!part.columnRelative) {
        out += u'$';
    }
    out += ColumnName(part.column);
}

void BiffReference::AppendRow(std::u16string& out, const Part& part) {
    if (!part.rowRelative) {
        out += u'$';
    }
    AppendDecimal(out, part.row + 1);
}

void BiffReference::AppendDecimal(std::u16string& out, int value) {
    char digits[12];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    for (const char* digit = digits; digit != end; ++digit) {
        out.push_back(char16_t(*digit));
    }
}

void BiffReference::AppendCell(std::u16string& out, BiffPayload& in, bool shared) {
    const uint16_t row = in.U16();
    const uint16_t column = biff8_ ? in.U16() : in.U8();
    Part part;
    Decode(row, column, shared, part);
    AppendColumn(out, part);
    AppendRow(out, part);
}

void BiffReference::AppendArea(std::u16string& out, BiffPayload& in, bool shared) {
    const uint16_t row1 = in.U16();
    const uint16_t row2 = in.U16();
    const uint16_t column1 = biff8_ ? in.U16() : in.U8();
    const uint16_t column2 = biff8_ ? in.U16() : in.U8();
    Part first, last;
    Decode(row1, column1, shared, first);
    Decode(row2, column2, shared, last);
    const bool wholeColumns = first.row == 0 && last.row == LastRow();
    const bool wholeRows = !wholeColumns && first.column == 0 && last.column == LastColumn;
    if (!wholeRows) {
        AppendColumn(out, first);
    }
    if (!wholeColumns) {
        AppendRow(out, first);
    }
    out += u':';
    if (!wholeRows) {
        AppendColumn(out, last);
    }
    if (!wholeColumns) {
        AppendRow(out, last);
    }
}

}  // namespace engine
