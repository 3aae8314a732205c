// Reads a .csv file as the spreadsheet application opens one: one worksheet named after the
// file, every field typed as if entered into a cell (CsvCellTyper), its formulas left
// uncalculated for the workbook's calculation. Text encoding by CsvDecoder, fields by CsvParser.
// Raises ReadError for an unreadable file, or one beyond the limits below.
#pragma once

#include "engine/model/BookReader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace engine {

struct CsvLimits {
    int64_t maxFileBytes = int64_t{256} << 20;
    // The .xls grid's size; checked before each cell, so the cell vector never grows past it.
    int64_t maxCells = int64_t{1} << 24;
};

class CsvReader : public BookReader {
public:
    explicit CsvReader(const QString& path, CsvLimits limits = {});

    void ReadWorkbook(Workbook& book) override;
    void ReadWorksheet(int index, Workbook& book, Worksheet& sheet) override;

private:
    QString path_;
    CsvLimits limits_;
    QByteArray bytes_;  // kept from ReadWorkbook until the sheet is read
};

}  // namespace engine
