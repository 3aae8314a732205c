#include "engine/readers/xlsx/StylesPart.h"

#include "engine/format/BuiltinFormats.h"

#include <charconv>
#include <cstring>

namespace engine {
namespace {

int ParseId(const char* text) {
    int value = 0;
    if (!text || std::from_chars(text, text + std::strlen(text), value).ec != std::errc()) {
        return 0;
    }
    return value;
}

}  // namespace

std::vector<QString> StylesPart::CellFormatCodes() const {
    std::vector<QString> codes;
    codes.reserve(cellFormatIds_.size());
    for (const int id : cellFormatIds_) {
        const auto custom = customCodes_.constFind(id);
        codes.push_back(custom != customCodes_.constEnd() ? custom.value()
                                                          : BuiltinFormats::Code(id));
    }
    return codes;
}

void StylesPart::StartElement(std::string_view name, const char** attributes) {
    if (name == "numFmt") {
        const char* code = Attribute(attributes, "formatCode");
        if (code) {
            customCodes_.insert(ParseId(Attribute(attributes, "numFmtId")),
                                QString::fromUtf8(code));
        }
    } else if (name == "cellXfs") {
        inCellFormats_ = true;
    } else if (name == "xf" && inCellFormats_) {
        cellFormatIds_.push_back(ParseId(Attribute(attributes, "numFmtId")));
    }
}

void StylesPart::EndElement(std::string_view name) {
    if (name == "cellXfs") {
        inCellFormats_ = false;
    }
}

}  // namespace engine
