// A text the string pool makes only when it is first read. Most formulas of a shared group
// are never shown or compared (a search of values or comments), and rendering each member
// costs more than reading its cell.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

namespace engine {

class DeferredText {
public:
    virtual ~DeferredText() = default;
    // The text of an entry made with (first, second): for a shared formula, its member's
    // offset in rows and columns from the master cell.
    virtual QString Render(int32_t first, int32_t second) const = 0;
    // What this source holds for that entry until it is rendered, in bytes.
    virtual size_t HeldBytes(int32_t /*first*/, int32_t /*second*/) const { return 0; }
};

}  // namespace engine
