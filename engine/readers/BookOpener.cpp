// Opens a workbook file with the reader its first bytes call for: a zip archive goes to the
// .xlsx reader, a compound file to the .xls reader, text to the .csv reader. Text named .xls
// is read as text, as the spreadsheet application does; text named as an .xlsx-family
// workbook is reported as damaged, since that application refuses it.
#include "engine/readers/BookOpener.h"

#include "engine/calc/WorkbookCalculator.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/WorkbookFile.h"
#include "engine/readers/csv/CsvReader.h"
#include "engine/readers/xls/XlsReader.h"
#include "engine/readers/xlsx/XlsxReader.h"

#include <QFileInfo>
#include <new>

namespace engine {
namespace {

enum class Container { Zip, CompoundFile, OldBiff, Text };

Container Sniff(const QByteArray& head) {
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        return Container::Zip;
    }
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        return Container::CompoundFile;
    }
    // A bare BIFF2, BIFF3 or BIFF4 worksheet (before compound files).
    if (XlsReader::IsBareBiff(head)) {
        return Container::OldBiff;
    }
    return Container::Text;
}

struct ChosenReader {
    std::unique_ptr<BookReader> reader;
    bool text = false;  // a .csv, which defines no names
};

ChosenReader ReaderFor(const QString& path, ReadPolicy policy) {
    const QByteArray head = WorkbookFile::Head(path, 8);
    switch (Sniff(head)) {
        case Container::Zip:
            return {std::make_unique<XlsxReader>(path, policy)};
        case Container::CompoundFile:
            return {std::make_unique<XlsReader>(path)};
        case Container::OldBiff:
            throw ReadError(ReadErrorCode::OldBiffWorksheet);
        case Container::Text:
            break;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx" || suffix == u"xlsm" || suffix == u"xlsb") {
        throw ReadError(ReadErrorCode::NotAWorkbook);
    }
    return {std::make_unique<CsvReader>(path), true};
}

}  // namespace

std::unique_ptr<Workbook> OpenWorkbook(const QString& path, ReadPolicy policy) {
    try {
        ChosenReader chosen = ReaderFor(path, policy);
        BookReader& reader = *chosen.reader;
        auto book = std::make_unique<Workbook>(path, std::move(chosen.reader));
        reader.ReadWorkbook(*book);
        book->SetCalculation(std::make_unique<WorkbookCalculator>(chosen.text));
        return book;
    } catch (const ReadError& error) {
        throw EngineError::ForFile(error, path);
    } catch (const std::bad_alloc&) {
        throw EngineError::ForFile(ReadError(ReadErrorCode::OutOfMemory), path);
    }
}

}  // namespace engine
