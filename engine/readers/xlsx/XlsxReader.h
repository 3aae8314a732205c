// Reads an Office Open XML workbook (.xlsx, .xlsm): the zip container, the workbook part
// found through the package relationships, shared strings, styles, and each worksheet on
// demand (scanned in place as it inflates), with its formulas and comments. Rendering number
// formats is left to NumberFormatter; the reader only resolves each cell's format code.
#pragma once

#include "engine/model/BookReader.h"
#include "engine/readers/ReadPolicy.h"

#include <QString>
#include <memory>
#include <vector>

namespace engine {

class ZipArchive;

class XlsxReader : public BookReader {
public:
    // Opens the zip container. Raises ReadError for a file that is not a readable zip.
    explicit XlsxReader(const QString& path, ReadPolicy policy = {});
    ~XlsxReader() override;

    void ReadWorkbook(Workbook& book) override;
    void ReadWorksheet(int index, Workbook& book, Worksheet& sheet) override;

private:
    void ReadNotes(const QString& partName, Worksheet& sheet);

    struct SheetPart {
        QString name;
        QString path;  // zip member of the worksheet part
    };

    QString path_;
    std::unique_ptr<ZipArchive> zip_;
    std::vector<SheetPart> sheets_;
    std::vector<uint32_t> sharedStrings_;  // pool index of each shared string
    std::vector<uint32_t> cellFormats_;    // format index of each cellXfs entry
    bool date1904_ = false;
    bool fullCalcOnLoad_ = false;
    ReadPolicy policy_;
};

}  // namespace engine
