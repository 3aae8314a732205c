#include "engine/readers/xls/XlsSheetReader.h"

#include "automation/Tcsvutility.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/model/Worksheet.h"
#include "engine/readers/xls/BiffRecordStream.h"
#include "engine/readers/xls/XlsGlobals.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace engine {
namespace {

namespace id {
constexpr uint16_t Bof = 0x0809;
constexpr uint16_t Eof = 0x000A;
constexpr uint16_t Dimensions = 0x0200;
constexpr uint16_t Number = 0x0203;
constexpr uint16_t Rk = 0x027E;
constexpr uint16_t MulRk = 0x00BD;
constexpr uint16_t LabelSst = 0x00FD;
constexpr uint16_t Label = 0x0204;
constexpr uint16_t RString = 0x00D6;
constexpr uint16_t BoolErr = 0x0205;
constexpr uint16_t Blank = 0x0201;
constexpr uint16_t MulBlank = 0x00BE;
constexpr uint16_t Formula = 0x0006;
constexpr uint16_t String = 0x0207;
constexpr uint16_t ShrFmla = 0x04BC;
constexpr uint16_t Array = 0x0221;
constexpr uint16_t Table = 0x0236;
constexpr uint16_t Note = 0x001C;
constexpr uint16_t Obj = 0x005D;
constexpr uint16_t Txo = 0x01B6;
constexpr uint16_t Row = 0x0208;
constexpr uint16_t ColInfo = 0x007D;
constexpr uint16_t FilterMode = 0x009B;
}  // namespace id

constexpr uint8_t PtgExp = 0x01;
constexpr uint8_t PtgTbl = 0x02;
// Every cell of the 65,536 × 256 grid once: more means a file repeating cells to exhaust memory.
constexpr size_t MaxCells = size_t(65536) * 256;
constexpr uint16_t CommonObjectData = 0x0015;
constexpr uint16_t NoteObject = 0x0019;

double RkValue(uint32_t rk) {
    double value = 0;
    if (rk & 0x02) {
        value = double(int32_t(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

}  // namespace

XlsSheetReader::XlsSheetReader(XlsGlobals& globals, Workbook& book, Worksheet& sheet)
    : globals_(globals),
      book_(book),
      sheet_(sheet),
      version_(globals.Version()),
      decompiler_(globals.Links(), globals.Version(), globals.Strings8()) {}

void XlsSheetReader::Read(qsizetype offset) {
    BiffRecordStream records(globals_.Stream(), offset);
    sheetBytes_ = globals_.Stream().size() - offset;
    if (!records.Next() || records.Id() != id::Bof) {
        throw ReadError(ReadErrorCode::BiffNoBof, {.offset = offset});
    }
    int depth = 1;  // embedded charts nest their own BOF/EOF pairs
    while (depth > 0) {
        if (!records.Next()) {
            throw ReadError(ReadErrorCode::BiffNoEof, {.offset = offset});
        }
        if (records.Id() == id::Bof) {
            ++depth;
        } else if (records.Id() == id::Eof) {
            --depth;
        } else if (depth == 1) {
            BiffPayload body = records.Payload();
            Dispatch(records.Id(), body);
        }
    }
    Finish();
}

void XlsSheetReader::Dispatch(uint16_t recordId, BiffPayload& body) {
    if (recordId != id::String && recordId != id::ShrFmla && recordId != id::Array &&
        recordId != id::Table) {
        awaitingString_.reset();
    }
    switch (recordId) {
        case id::Dimensions:
            ReadDimensions(body);
            break;
        case id::Number: {
            const uint16_t row = body.U16(), column = body.U16(), xf = body.U16();
            AddCell(row, column, xf, CellType::Number).number = body.F64();
            break;
        }
        case id::Rk: {
            const uint16_t row = body.U16(), column = body.U16(), xf = body.U16();
            AddCell(row, column, xf, CellType::Number).number = RkValue(body.U32());
            break;
        }
        case id::MulRk:
            ReadMulRk(body);
            break;
        case id::LabelSst: {
            const uint16_t row = body.U16(), column = body.U16(), xf = body.U16();
            const uint32_t text = globals_.SharedString(body.U32());
            // An index past the table (a lying count, or no table at all) leaves the cell
            // empty but formatted, as a BLANK record does.
            if (text == NoString) {
                AddCell(row, column, xf, CellType::Blank);
            } else {
                AddCell(row, column, xf, CellType::Text).text = text;
            }
            break;
        }
        case id::Label:
        case id::RString: {
            const uint16_t row = body.U16(), column = body.U16(), xf = body.U16();
            const QString text = ReadCellString(body);
            AddCell(row, column, xf, CellType::Text).text = book_.AddString(text);
            break;
        }
        case id::BoolErr: {
            const uint16_t row = body.U16(), column = body.U16(), xf = body.U16();
            const uint8_t value = body.U8();
            if (body.U8()) {
                AddCell(row, column, xf, CellType::Error).text =
                    book_.AddString(FormulaDecompiler::ErrorText(value));
            } else {
                AddCell(row, column, xf, CellType::Boolean).number = value ? 1 : 0;
            }
            break;
        }
        case id::Blank: {
            const uint16_t row = body.U16(), column = body.U16();
            AddCell(row, column, body.U16(), CellType::Blank);
            break;
        }
        case id::MulBlank:
            ReadMulBlank(body);
            break;
        case id::Formula:
            ReadFormula(body);
            break;
        case id::String:
            if (awaitingString_) {
                cells_[*awaitingString_].text = book_.AddString(ReadCellString(body));
                awaitingString_.reset();
            }
            break;
        case id::ShrFmla:
        case id::Array:
            ReadStored(body, recordId == id::ShrFmla);
            break;
        case id::Table:
            ReadTable(body);
            break;
        case id::Note:
            ReadNote(body);
            break;
        case id::Obj:
            ReadObject(body);
            break;
        case id::Txo:
            ReadTextObject(body);
            break;
        case id::Row:
            ReadRow(body);
            break;
        case id::ColInfo:
            ReadColumnInfo(body);
            break;
        case id::FilterMode:
            // The filter's range is a defined name of the globals; the rows it hides are the
            // sheet's hidden rows, wherever they are.
            sheet_.SetFilterRange(CellRect{0, 1, MaxRows, MaxColumns});
            break;
        default:
            break;
    }
}

Cell& XlsSheetReader::AddCell(int row, int column, uint16_t xf, CellType type) {
    if (column >= MaxColumns) {
        throw ReadError(ReadErrorCode::CellOutsideSheet,
                        {.expected = row + 1, .found = column + 1});
    }
    if (cells_.size() >= MaxCells) {
        throw ReadError(ReadErrorCode::TooManyCells, {.expected = int64_t(MaxCells)});
    }
    // Filled in place: a cell built aside and then copied in stalls on the fresh stores.
    Cell& cell = cells_.emplace_back();
    cell.row = row + 1;
    cell.column = column + 1;
    cell.type = type;
    cell.format = globals_.CellFormat(xf);
    return cell;
}

QString XlsSheetReader::ReadCellString(BiffPayload& body) {
    if (Biff8()) {
        return body.UnicodeString16();
    }
    return body.ByteString(body.U16(), globals_.Strings8());
}

void XlsSheetReader::ReadDimensions(BiffPayload& body) {
    const uint32_t firstRow = Biff8() ? body.U32() : body.U16();
    const uint32_t endRow = Biff8() ? body.U32() : body.U16();
    const uint16_t firstColumn = body.U16();
    const uint16_t endColumn = body.U16();
    if (endRow > firstRow && endColumn > firstColumn && endRow <= uint32_t(MaxRows) &&
        endColumn <= MaxColumns) {
        sheet_.ExtendUsedRange(
            CellRect{int32_t(firstRow) + 1, firstColumn + 1, int32_t(endRow), endColumn});
        // Room for the declared rectangle, capped by what the bytes left plausibly hold (6
        // per MULRK cell), so a lying DIMENSIONS cannot reserve memory for absent cells.
        const size_t area = size_t(endRow - firstRow) * size_t(endColumn - firstColumn);
        cells_.reserve(std::min(area, size_t(sheetBytes_ / 6)));
    }
}

void XlsSheetReader::ReadRow(BiffPayload& body) {
    if (body.Remaining() < 16) {
        return;
    }
    const uint16_t row = body.U16();
    body.Skip(10);                       // first and last column, height, two reserved fields
    constexpr uint16_t Hidden = 0x0020;  // fDyZero: the row has no height
    if (body.U16() & Hidden) {
        sheet_.HideRows(row + 1, row + 1);
    }
}

void XlsSheetReader::ReadColumnInfo(BiffPayload& body) {
    if (body.Remaining() < 10) {
        return;
    }
    const uint16_t first = body.U16();
    const uint16_t last = body.U16();
    body.Skip(4);  // width, format
    constexpr uint16_t Hidden = 0x0001;
    if ((body.U16() & Hidden) && first <= last && first < MaxColumns) {
        sheet_.HideColumns(first + 1, std::min<int32_t>(last + 1, MaxColumns));
    }
}

void XlsSheetReader::ReadMulRk(BiffPayload& body) {
    const uint16_t row = body.U16();
    uint16_t column = body.U16();
    while (body.Remaining() >= 6 + 2) {  // one (XF, RK) pair, then the last-column field
        const uint16_t xf = body.U16();
        AddCell(row, column++, xf, CellType::Number).number = RkValue(body.U32());
    }
}

void XlsSheetReader::ReadMulBlank(BiffPayload& body) {
    const uint16_t row = body.U16();
    uint16_t column = body.U16();
    while (body.Remaining() >= 2 + 2) {
        AddCell(row, column++, body.U16(), CellType::Blank);
    }
}

void XlsSheetReader::ReadFormula(BiffPayload& body) {
    const uint16_t row = body.U16(), column = body.U16(), xf = body.U16();
    // Views into the record; only a formula split by CONTINUE is copied into these.
    QByteArray joinedResult, joinedTokens, joinedExtra;
    const QByteArrayView result = body.View(8, joinedResult);
    body.Skip(2 + 4);  // flags, calculation chain
    const uint16_t length = body.U16();
    const QByteArrayView tokens = body.View(length, joinedTokens);
    const QByteArrayView extra = body.View(body.Remaining(), joinedExtra);

    const auto raw = reinterpret_cast<const uchar*>(result.data());
    Cell* cell = nullptr;
    if (qFromLittleEndian<uint16_t>(raw + 6) != 0xFFFF) {
        cell = &AddCell(row, column, xf, CellType::Number);
        cell->number = qFromLittleEndian<double>(raw);
    } else if (raw[0] == 1) {
        cell = &AddCell(row, column, xf, CellType::Boolean);
        cell->number = raw[2] ? 1 : 0;
    } else if (raw[0] == 2) {
        cell = &AddCell(row, column, xf, CellType::Error);
        cell->text = book_.AddString(FormulaDecompiler::ErrorText(raw[2]));
    } else {
        cell = &AddCell(row, column, xf, CellType::Text);
        if (raw[0] == 0) {
            awaitingString_ = cells_.size() - 1;
        } else {
            cell->text = book_.AddString(QString());
        }
    }
    lastFormula_ = Key(row, column);
    if (length == 5 && (uchar(tokens[0]) == PtgExp || uchar(tokens[0]) == PtgTbl)) {
        const auto anchor = reinterpret_cast<const uchar*>(tokens.data()) + 1;
        pointers_.push_back(Pointer{
            cells_.size() - 1,
            Key(qFromLittleEndian<uint16_t>(anchor), qFromLittleEndian<uint16_t>(anchor + 2))});
        return;
    }
    cell->formula = book_.AddString(decompiler_.Decompile(tokens, extra, row, column));
}

void XlsSheetReader::ReadStored(BiffPayload& body, bool shared) {
    const uint16_t firstRow = body.U16();
    body.Skip(2);
    const uint8_t firstColumn = body.U8();
    body.Skip(shared ? 3 : 7);  // last column, then reserved/use count or flags/chain
    const uint16_t length = body.U16();
    Store(Key(firstRow, firstColumn), Stored{body.Bytes(length), body.Bytes(body.Remaining()), {}});
}

void XlsSheetReader::ReadTable(BiffPayload& body) {
    const uint16_t firstRow = body.U16();
    body.Skip(2);
    const uint8_t firstColumn = body.U8();
    body.Skip(1);
    const uint16_t flags = body.U16();
    const uint16_t rowInputRow = body.U16(), rowInputColumn = body.U16();
    const uint16_t columnInputRow = body.U16(), columnInputColumn = body.U16();
    auto cell = [](uint16_t row, uint16_t column) {
        return TCsvUtility::ColumnIndexToName(column & 0xFF) + QString::number(row + 1);
    };
    // A two-input table names both cells; a one-input table leaves the other side empty.
    const QString rowInput =
        (flags & 0x0008) || (flags & 0x0004) ? cell(rowInputRow, rowInputColumn) : QString();
    const QString columnInput = (flags & 0x0008)   ? cell(columnInputRow, columnInputColumn)
                                : (flags & 0x0004) ? QString()
                                                   : cell(rowInputRow, rowInputColumn);
    Store(Key(firstRow, firstColumn),
          Stored{{}, {}, QStringLiteral("TABLE(%1,%2)").arg(rowInput, columnInput)});
}

void XlsSheetReader::Store(uint32_t anchor, const Stored& formula) {
    // Members point at the group's first cell; key by it and by the anchor FORMULA too.
    stored_.insert(anchor, formula);
    if (lastFormula_) {
        stored_.insert(*lastFormula_, formula);
    }
}

void XlsSheetReader::ReadNote(BiffPayload& body) {
    const uint16_t row = body.U16(), column = body.U16();
    if (Biff8()) {
        body.Skip(2);
        notes_.push_back(PendingNote{row + 1, column + 1, body.U16(), {}});
        return;
    }
    const uint16_t length = body.U16();
    const QByteArray part = body.Bytes(std::min<qsizetype>(length, body.Remaining()));
    if (row == 0xFFFF) {  // the rest of the previous note's text
        if (!notes_.empty()) {
            notes_.back().biff5Text += part;
        }
        return;
    }
    notes_.push_back(PendingNote{row + 1, column + 1, 0, part});
}

void XlsSheetReader::ReadObject(BiffPayload& body) {
    noteObject_.reset();
    if (body.Remaining() < 8 || body.U16() != CommonObjectData) {
        return;
    }
    body.Skip(2);
    const uint16_t type = body.U16();
    const uint16_t object = body.U16();
    if (type == NoteObject) {
        noteObject_ = object;
    }
}

void XlsSheetReader::ReadTextObject(BiffPayload& body) {
    if (!noteObject_) {
        return;  // a text box, not a note
    }
    const uint16_t object = *noteObject_;
    noteObject_.reset();
    body.Skip(10);
    const uint16_t length = body.U16();
    QString text;
    if (length > 0) {
        body.SeekSegment(1);
        const bool highByte = (body.U8() & 0x01) != 0;
        text = body.Chars(length, highByte);
    }
    noteTexts_.insert(object, text);
}

void XlsSheetReader::Finish() {
    for (const Pointer& pointer : pointers_) {
        Cell& cell = cells_[pointer.cell];
        const auto it = stored_.constFind(pointer.anchor);
        if (it == stored_.constEnd()) {
            continue;  // neither SHRFMLA nor ARRAY: only the cached value is known
        }
        // Array formulas use plain references: every cell shows the same text.
        cell.formula = book_.AddString(
            it->text.isEmpty()
                ? decompiler_.Decompile(it->tokens, it->extra, cell.row - 1, cell.column - 1)
                : it->text);
    }
    sheet_.AddCells(std::move(cells_));
    for (PendingNote& note : notes_) {
        QString text =
            Biff8() ? noteTexts_.value(note.object) : globals_.Strings8().Decode(note.biff5Text);
        sheet_.AddNote(CellNote{note.row, note.column, std::move(text)});
    }
}

}  // namespace engine
