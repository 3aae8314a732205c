#include "engine/readers/csv/CsvReader.h"

#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/WorkbookFile.h"
#include "engine/readers/csv/CsvCellTyper.h"
#include "engine/readers/csv/CsvDecoder.h"
#include "engine/readers/csv/CsvParser.h"

#include <QDate>
#include <QFileInfo>

namespace engine {
namespace {

// The application's limit on sheet-name length.
constexpr qsizetype MaxSheetName = 31;

}  // namespace

CsvReader::CsvReader(const QString& path, CsvLimits limits) : path_(path), limits_(limits) {}

void CsvReader::ReadWorkbook(Workbook& book) {
    bytes_ = WorkbookFile::ReadAll(path_, limits_.maxFileBytes);
    book.AddSheetName(QFileInfo(path_).completeBaseName().left(MaxSheetName));
}

void CsvReader::ReadWorksheet(int, Workbook& book, Worksheet& sheet) {
    const QString text = CsvDecoder::Decode(bytes_);
    bytes_.clear();
    bytes_.squeeze();

    CsvParser parser(text);
    CsvCellTyper typer(book, QDate::currentDate().year());
    std::vector<Cell> cells;
    int64_t row = 1;
    int64_t column = 1;
    QStringView field;
    bool endsRecord = false;
    while (parser.Next(field, endsRecord)) {
        if (!field.isEmpty()) {
            if (row > MaxRows || column > MaxColumns) {
                throw ReadError(ReadErrorCode::CsvFieldOutsideSheet,
                                {.expected = row, .found = column});
            }
            if (static_cast<int64_t>(cells.size()) >= limits_.maxCells) {
                throw ReadError(ReadErrorCode::TooManyCells, {.expected = limits_.maxCells});
            }
            if (auto cell =
                    typer.Type(field, static_cast<int32_t>(row), static_cast<int32_t>(column))) {
                cells.push_back(*cell);
            }
        }
        if (endsRecord) {
            ++row;
            column = 1;
        } else {
            ++column;
        }
    }
    sheet.AddCells(std::move(cells));
}

}  // namespace engine
