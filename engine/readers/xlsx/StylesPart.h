// Reads the styles part for what display needs: the custom number-format codes and, for
// each cell format (`cellXfs`), its number-format id resolved to a code.
#pragma once

#include "engine/readers/xlsx/XmlHandler.h"

#include <QHash>
#include <QString>
#include <vector>

namespace engine {

class StylesPart : public XmlHandler {
public:
    // The format code of each `cellXfs` entry, in order: stored codes win over built-ins.
    std::vector<QString> CellFormatCodes() const;

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view name) override;

private:
    QHash<int, QString> customCodes_;
    std::vector<int> cellFormatIds_;
    bool inCellFormats_ = false;
};

}  // namespace engine
