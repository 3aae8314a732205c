#include "engine/readers/xlsx/SharedStringsPart.h"

#include "engine/model/Workbook.h"

namespace engine {

void SharedStringsPart::StartElement(std::string_view name, const char**) {
    if (name == "si") {
        inItem_ = true;
        text_.Take();
    } else if (inItem_) {
        text_.Start(name);
    }
}

void SharedStringsPart::EndElement(std::string_view name) {
    if (name == "si") {
        inItem_ = false;
        poolIndexes_.push_back(book_.AddString(text_.Take()));
    } else if (inItem_) {
        text_.End(name);
    }
}

}  // namespace engine
