#include "engine/readers/xlsx/WorkbookPart.h"

namespace engine {

void WorkbookPart::StartElement(std::string_view name, const char** attributes) {
    if (name == "workbookPr") {
        const char* value = Attribute(attributes, "date1904");
        date1904_ = value && (std::string_view(value) == "1" || std::string_view(value) == "true");
    } else if (name == "calcPr") {
        const char* value = Attribute(attributes, "fullCalcOnLoad");
        fullCalcOnLoad_ =
            value && (std::string_view(value) == "1" || std::string_view(value) == "true");
    } else if (name == "sheet") {
        const char* sheetName = Attribute(attributes, "name");
        const char* id = Attribute(attributes, "id");  // r:id
        if (sheetName && id) {
            sheets_.push_back({QString::fromUtf8(sheetName), QString::fromUtf8(id)});
        }
    }
}

}  // namespace engine
