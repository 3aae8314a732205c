// Reads .xls workbooks (BIFF8, and BIFF5 from Excel 5/95) into the workbook model. The
// compound-file container is opened once; the workbook-level records (sheet list, shared
// strings, formats, names) are read at open time and each sheet's records on demand.
#pragma once

#include "engine/BookReader.h"

#include <QString>
#include <memory>

namespace engine {

class XlsGlobals;

class XlsReader : public BookReader {
public:
    // Opens the compound file and locates the workbook stream. Raises EngineError for a
    // damaged container, an encrypted file (also an encrypted .xlsx, which is a compound
    // file) or a BIFF version older than 5.
    explicit XlsReader(const QString& path);
    ~XlsReader() override;

    void ReadWorkbook(Workbook& book) override;
    void ReadWorksheet(int index, Workbook& book, Worksheet& sheet) override;

private:
    QString path_;
    std::unique_ptr<XlsGlobals> globals_;
};

}  // namespace engine
