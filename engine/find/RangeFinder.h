// Find over one rectangle of a worksheet: scans the rectangle once, keeps the matching cells
// in scan order (by rows or by columns), and answers "the next match after this cell" for
// Find and every following FindNext without scanning again. The scan wraps at the end.
#pragma once

#include "engine/find/FindOptions.h"
#include "engine/model/Worksheet.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace engine {

class Workbook;

struct CellPosition {
    int32_t row = 1;
    int32_t column = 1;
};

class RangeFinder {
public:
    RangeFinder(const Workbook& book, const Worksheet& sheet, const CellRect& rect,
                const FindOptions& options);

    // The first match after `after` in scan order (before it, searching backwards),
    // wrapping around; `after` itself comes last. Empty when nothing matches.
    std::optional<CellPosition> Next(CellPosition after) const;
    size_t MatchCount() const { return matches_.size(); }

private:
    // The position as a key that sorts in scan order.
    uint64_t Key(CellPosition position) const;

    bool byColumns_;
    bool previous_;
    std::vector<uint64_t> matches_;  // scan-order keys, ascending
};

}  // namespace engine
