// Reads .xls workbooks (BIFF8, and BIFF5 from Excel 5/95) into the workbook model. The
// compound-file container is opened once; the workbook-level records (sheet list, shared
// strings, formats, names) are read at open time and each sheet's records on demand.
#pragma once

#include "engine/model/BookReader.h"

#include <QByteArrayView>
#include <QString>
#include <memory>

namespace engine {

class XlsGlobals;

class XlsReader : public BookReader {
public:
    // Opens the compound file and locates the workbook stream. Raises ReadError for a
    // damaged container, an encrypted file (also an encrypted .xlsx, which is a compound
    // file) or a BIFF version older than 5.
    explicit XlsReader(const QString& path);
    ~XlsReader() override;

    // True for the first bytes of an old BIFF2-4 workbook, which has no compound-file
    // container: the opener can hand such files here to get the "unsupported" error
    // instead of reading them as text.
    static bool IsBareBiff(QByteArrayView head);

    void ReadWorkbook(Workbook& book) override;
    void ReadWorksheet(int index, Workbook& book, Worksheet& sheet) override;

private:
    QString path_;
    std::unique_ptr<XlsGlobals> globals_;
};

}  // namespace engine
