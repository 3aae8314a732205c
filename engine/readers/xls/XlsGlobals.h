// The workbook-globals part of an .xls workbook stream: the BIFF version, the sheet list,
// shared strings, number formats and cell styles (XF), the date system, the code page and
// the link table that formulas refer to. It keeps the stream so the sheets can be read
// later, one at a time.
#pragma once

#include "engine/readers/xls/BiffPayload.h"
#include "engine/readers/xls/CodePage.h"
#include "engine/readers/xls/FormulaDecompiler.h"
#include "engine/readers/xls/XlsLinkTable.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

class Workbook;

class XlsGlobals {
public:
    // Reads the globals substream at the start of `stream`. Raises ReadError: Damaged
    // for broken records, Encrypted for a FILEPASS record, Unsupported for BIFF2-4.
    explicit XlsGlobals(QByteArray stream);

    // Puts the worksheet names, the shared strings, the formats and the date system into
    // the model. Called once, before any sheet is read.
    void FillWorkbook(Workbook& book);

    FormulaDecompiler::Version Version() const { return version_; }
    const QByteArray& Stream() const { return stream_; }
    const XlsLinkTable& Links() const { return links_; }
    CodePage& Strings8() { return codePage_; }

    int WorksheetCount() const { return static_cast<int>(worksheets_.size()); }
    // Where the substream of worksheet `index` (0-based, worksheets only) starts.
    qsizetype WorksheetOffset(int index) const;
    // The model's format index of a cell style; "General" (0) for an unknown one.
    uint32_t CellFormat(uint16_t xf) const { return xf < xfFormats_.size() ? xfFormats_[xf] : 0; }
    // The pool index of shared string `index`; NoString when the table has no such entry.
    uint32_t SharedString(uint32_t index) const;

private:
    struct Sheet {
        QString name;
        qsizetype offset = 0;
    };

    void ReadBof(uint16_t id, BiffPayload& body);
    void ReadSheetEntry(BiffPayload& body);
    void ReadSharedStrings(BiffPayload& body);
    void ReadSupBook(BiffPayload& body);
    void ReadDefinedName(BiffPayload& body);
    QString ReadString8(BiffPayload& body);

    QByteArray stream_;
    FormulaDecompiler::Version version_ = FormulaDecompiler::Version::Biff8;
    CodePage codePage_;
    XlsLinkTable links_;
    std::vector<Sheet> worksheets_;
    std::vector<QString> sharedStrings_;  // handed to the model's pool by FillWorkbook
    uint32_t sharedStringCount_ = 0;
    QHash<int, QString> formatCodes_;
    std::vector<uint16_t> xfFormatIds_;
    std::vector<uint32_t> xfFormats_;  // filled by FillWorkbook
    uint32_t sharedStringBase_ = 0;
    bool date1904_ = false;
};

}  // namespace engine
