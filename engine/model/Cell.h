// One stored cell of the workbook model. Readers fill these; the object model and Find read
// them. Strings live in the workbook's pool and are referred to by index, so a cell is small.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

inline constexpr uint32_t NoString = 0xFFFFFFFFu;
inline constexpr int32_t MaxRows = 1048576;
inline constexpr int32_t MaxColumns = 16384;
// The most characters a cell's text or a comment holds; longer texts are cut to it, as the
// application cuts them.
inline constexpr int32_t MaxTextLength = 32767;
// The most raw bytes a reader gathers for one text before it stops: enough for MaxTextLength
// characters in any spelling the formats allow (an `_xHHHH_` escape takes 7 bytes).
inline constexpr size_t MaxTextBytes = size_t{8} * MaxTextLength;

enum class CellType : uint8_t {
    Blank,    // formatted but empty: counts for the used range, never matches
    Number,   // `number`; dates and times are numbers with a date format
    Text,     // `text`
    Boolean,  // `number` is 0 or 1
    Error,    // `text` holds the error's text, such as "#N/A"
};

struct Cell {
    int32_t row = 0;     // 1-based
    int32_t column = 0;  // 1-based
    CellType type = CellType::Blank;
    // A formula the file stores without a result: its value is computed once the sheet is
    // read, or stays empty.
    bool uncalculated = false;
    uint32_t format = 0;          // index into Workbook::Formats(); 0 is "General"
    double number = 0;            // Number and Boolean values (the cached result of a formula)
    uint32_t text = NoString;     // pool index of a Text or Error value
    uint32_t formula = NoString;  // pool index of the formula text without the leading "="
};

}  // namespace engine
