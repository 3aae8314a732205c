#include "engine/csv/CsvReader.h"

#include "engine/EngineError.h"
#include "engine/Workbook.h"
#include "engine/csv/CsvCellTyper.h"
#include "engine/csv/CsvDecoder.h"
#include "engine/csv/CsvFormula.h"
#include "engine/csv/CsvParser.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

namespace engine {
namespace {

// The application's limit on sheet-name length.
constexpr qsizetype MaxSheetName = 31;

[[noreturn]] void TooLarge(const QString& path, const QString& detail) {
    throw EngineError::ForFile(EngineErrorKind::TooLarge, path, detail);
}

}  // namespace

CsvReader::CsvReader(const QString& path, CsvLimits limits) : path_(path), limits_(limits) {}

void CsvReader::ReadWorkbook(Workbook& book) {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EngineError::ForFile(EngineErrorKind::CannotRead, path_, file.errorString());
    }
    if (file.size() > limits_.maxFileBytes) {
        TooLarge(path_, QStringLiteral("%1 bytes").arg(file.size()));
    }
    // Chunks, so the limit holds even for a file that grows while it is read.
    constexpr qint64 Chunk = qint64{1} << 20;
    bytes_.reserve(file.size());
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(Chunk);
        if (chunk.isEmpty()) {
            break;
        }
        bytes_ += chunk;
        if (bytes_.size() > limits_.maxFileBytes) {
            TooLarge(path_, QStringLiteral("more than %1 bytes").arg(limits_.maxFileBytes));
        }
    }
    if (file.error() != QFileDevice::NoError) {
        throw EngineError::ForFile(EngineErrorKind::CannotRead, path_, file.errorString());
    }
    book.AddSheetName(QFileInfo(path_).completeBaseName().left(MaxSheetName));
}

void CsvReader::ReadWorksheet(int, Workbook& book, Worksheet& sheet) {
    const QString text = CsvDecoder::Decode(bytes_);
    bytes_.clear();
    bytes_.squeeze();

    CsvParser parser(text);
    CsvCellTyper typer(book, QDate::currentDate().year());
    std::vector<Cell> cells;
    bool hasFormula = false;
    int64_t row = 1;
    int64_t column = 1;
    QStringView field;
    bool endsRecord = false;
    while (parser.Next(field, endsRecord)) {
        if (!field.isEmpty()) {
            if (row > MaxRows || column > MaxColumns) {
                TooLarge(path_, QStringLiteral("field at row %1, column %2").arg(row).arg(column));
            }
            if (static_cast<int64_t>(cells.size()) >= limits_.maxCells) {
                TooLarge(path_, QStringLiteral("more than %1 cells").arg(limits_.maxCells));
            }
            if (auto cell =
                    typer.Type(field, static_cast<int32_t>(row), static_cast<int32_t>(column))) {
                hasFormula = hasFormula || cell->formula != NoString;
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
    if (hasFormula) {
        CsvFormula::EvaluateAll(book, cells);
    }
    sheet.AddCells(std::move(cells));
}

}  // namespace engine
