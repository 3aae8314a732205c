// A1-style cell references as SpreadsheetML writes them in `r`, `ref` and `sqref`
// attributes ("B12", "A1:C3"), parsed straight from the UTF-8 attribute bytes.
#pragma once

#include "engine/model/Worksheet.h"

#include <cstdint>
#include <string_view>

namespace engine {

class CellReference {
public:
    // "B12" → row 12, column 2 (1-based). False, and both left as they were, when malformed
    // or beyond the sheet limits.
    static bool Parse(std::string_view text, int32_t& row, int32_t& column);
    // "A1:C3" or a single "B2". False when malformed.
    static bool ParseRange(std::string_view text, CellRect& rect);
    // The column letters at the start of `text` ("AB" of "AB12"), as a 1-based number;
    // `used` receives their count. 0 when there are none or the column is beyond the sheet.
    static int32_t ParseColumn(std::string_view text, size_t& used);
};

}  // namespace engine
