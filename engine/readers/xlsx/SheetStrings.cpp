#include "engine/readers/xlsx/SheetStrings.h"

#include "engine/model/Workbook.h"

namespace engine {

namespace {

uint32_t Pooled(uint32_t index, uint32_t base) {
    return index == NoString || !(index & SheetStrings::LocalBit)
               ? index
               : base + (index & ~SheetStrings::LocalBit);
}

}  // namespace

void SheetStrings::MoveInto(Workbook& book) {
    base_ = book.AddStrings(std::move(strings_));
    strings_.clear();
    for (Deferred& deferred : deferred_) {
        book.DeferString(base_ + deferred.local, std::move(deferred.source), deferred.first,
                         deferred.second);
    }
    deferred_.clear();
}

void SheetStrings::Remap(std::vector<Cell>& cells) const {
    for (Cell& cell : cells) {
        cell.text = Pooled(cell.text, base_);
        cell.formula = Pooled(cell.formula, base_);
    }
}

}  // namespace engine
