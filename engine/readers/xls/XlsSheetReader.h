// Reads one worksheet substream of an .xls workbook into the model: cell values with their
// formats, formula texts (shared and array formulas resolved per cell), the used range the
// file declares, and the text of the notes.
#pragma once

#include "engine/model/Cell.h"
#include "engine/readers/xls/FormulaDecompiler.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace engine {

class BiffPayload;
class Workbook;
class Worksheet;
class XlsGlobals;

class XlsSheetReader {
public:
    XlsSheetReader(XlsGlobals& globals, Workbook& book, Worksheet& sheet);

    // Reads the substream that starts at `offset` of the workbook stream. Raises
    // ReadError for damaged records or formulas.
    void Read(qsizetype offset);

private:
    // A formula kept elsewhere (SHRFMLA, ARRAY or a data table's TABLE), keyed by the cell
    // that anchors it. A data table has its text ready instead of tokens.
    struct Stored {
        QByteArray tokens;
        QByteArray extra;
        QString text;
    };
    struct Pointer {  // a cell whose formula points at a stored formula
        size_t cell = 0;
        uint32_t anchor = 0;
    };
    struct PendingNote {
        int32_t row = 0;
        int32_t column = 0;
        uint16_t object = 0;
        QByteArray biff5Text;  // BIFF5 keeps the text in the NOTE records themselves
    };

    static uint32_t Key(int row, int column) { return (uint32_t(row) << 16) | uint32_t(column); }
    bool Biff8() const { return version_ == FormulaDecompiler::Version::Biff8; }

    void Dispatch(uint16_t id, BiffPayload& body);
    Cell& AddCell(int row, int column, uint16_t xf, CellType type);
    void ReadDimensions(BiffPayload& body);
    void ReadRow(BiffPayload& body);
    void ReadColumnInfo(BiffPayload& body);
    void ReadMulRk(BiffPayload& body);
    void ReadMulBlank(BiffPayload& body);
    void ReadFormula(BiffPayload& body);
    void ReadStored(BiffPayload& body, bool shared);
    void ReadTable(BiffPayload& body);
    void Store(uint32_t anchor, const Stored& formula);
    void ReadNote(BiffPayload& body);
    void ReadObject(BiffPayload& body);
    void ReadTextObject(BiffPayload& body);
    QString ReadCellString(BiffPayload& body);
    void Finish();

    XlsGlobals& globals_;
    Workbook& book_;
    Worksheet& sheet_;
    FormulaDecompiler::Version version_;
    FormulaDecompiler decompiler_;
    qsizetype sheetBytes_ = 0;  // from the sheet's BOF to the end of the stream
    std::vector<Cell> cells_;
    std::vector<Pointer> pointers_;
    QHash<uint32_t, Stored> stored_;
    std::optional<size_t> awaitingString_;  // a formula whose text result is in STRING
    std::optional<uint32_t> lastFormula_;   // SHRFMLA and ARRAY follow their anchor's FORMULA
    std::vector<PendingNote> notes_;
    QHash<uint16_t, QString> noteTexts_;  // by drawing object id
    std::optional<uint16_t> noteObject_;  // the note OBJ whose TXO comes next
};

}  // namespace engine
