// Reads the workbook part: the sheet list in tab order (with each sheet's relationship id)
// and the date system.
#pragma once

#include "engine/readers/xlsx/XmlHandler.h"

#include <QString>
#include <vector>

namespace engine {

class WorkbookPart : public XmlHandler {
public:
    struct SheetEntry {
        QString name;
        QString relationshipId;
    };

    const std::vector<SheetEntry>& Sheets() const { return sheets_; }
    bool Date1904() const { return date1904_; }
    // calcPr fullCalcOnLoad: the writer asks for every formula to be calculated on opening.
    bool FullCalcOnLoad() const { return fullCalcOnLoad_; }

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view) override {}

private:
    std::vector<SheetEntry> sheets_;
    bool date1904_ = false;
    bool fullCalcOnLoad_ = false;
};

}  // namespace engine
