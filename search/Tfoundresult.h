// The key of one found cell within one worksheet. A set of them per worksheet notices when
// Find-next comes back to a cell that was already reported.
#pragma once

#include <cstdint>

struct TFoundResult {
    int32_t Column = 0;  // 1 = first column
    int32_t Row = 0;     // 1 = first row

    // Column first, then row; both signed.
    bool operator<(const TFoundResult& other) const {
        if (Column == other.Column) {
            return Row < other.Row;
        }
        return Column < other.Column;
    }
    bool operator==(const TFoundResult&) const = default;
};
