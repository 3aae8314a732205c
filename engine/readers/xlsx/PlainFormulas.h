// The formulas of a sheet's cells that are neither shared nor tables, kept as the file's UTF-8
// bytes until one is read: a search of values or comments never shows them, and making each
// one a string as the sheet is read cost more than reading its cell.
#pragma once

#include "engine/model/DeferredText.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace engine {

class PlainFormulas : public DeferredText {
public:
    // Entries are addressed by 32-bit offsets: a full store is replaced by a new one.
    bool HasRoomFor(size_t size) const { return size <= MaxBytes - bytes_.size(); }
    // Keeps `formula` (without its "="); returns its offset.
    int32_t Append(std::string_view formula);
    // The display form of the entry at (offset, length).
    QString Render(int32_t offset, int32_t length) const override;
    size_t HeldBytes(int32_t, int32_t length) const override { return size_t(length); }

private:
    static constexpr size_t MaxBytes = std::numeric_limits<int32_t>::max();
    std::string bytes_;
};

}  // namespace engine
