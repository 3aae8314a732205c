// Reads the shared string table into the workbook's string pool, one pool entry per item,
// and keeps each item's pool index for the cells that refer to it. The table of a workbook
// of distinct texts is as large as its sheets: it is scanned in place as it inflates.
#pragma once

#include "engine/readers/xlsx/RichText.h"
#include "engine/readers/xlsx/XmlScanner.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class Workbook;
class ZipArchive;

class SharedStringsPart {
public:
    // Reads zip member `partName`. Raises ReadError.
    static void Read(ZipArchive& zip, const QString& partName, Workbook& book,
                     std::vector<uint32_t>& poolIndexes);

private:
    SharedStringsPart(Workbook& book, std::vector<uint32_t>& poolIndexes, QString partName);
    void Scan();
    void Start(std::string_view name);
    void End(std::string_view name);

    Workbook& book_;
    std::vector<uint32_t>& poolIndexes_;
    XmlScanner scanner_;
    RichText text_;
    std::string scratch_;
    bool inItem_ = false;
};

}  // namespace engine
