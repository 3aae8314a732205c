// Reads the shared string table into the workbook's string pool, one pool entry per item,
// and keeps each item's pool index for the cells that refer to it.
#pragma once

#include "engine/readers/xlsx/RichText.h"
#include "engine/readers/xlsx/XmlHandler.h"

#include <cstdint>
#include <vector>

namespace engine {

class Workbook;

class SharedStringsPart : public XmlHandler {
public:
    SharedStringsPart(Workbook& book, std::vector<uint32_t>& poolIndexes)
        : book_(book), poolIndexes_(poolIndexes) {}

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view name) override;
    void Characters(std::string_view text) override { text_.Characters(text); }

private:
    Workbook& book_;
    std::vector<uint32_t>& poolIndexes_;
    RichText text_;
    bool inItem_ = false;
};

}  // namespace engine
