// The formulas of one worksheet that several cells share: shared formulas (the master cell
// holds the text, members refer to it by `si` and get it moved by their offset) and legacy
// array formulas (the top-left cell holds the text for its whole range). Puts each formula
// text into the workbook's string pool.
#pragma once

#include "engine/Worksheet.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

class Workbook;

class FormulaGroups {
public:
    explicit FormulaGroups(Workbook& book) : book_(book) {}

    // A formula of its own cell; returns its pool index.
    uint32_t Plain(const QString& text);
    // The master of shared group `si` at (row, column); returns its pool index.
    uint32_t SharedMaster(int si, int32_t row, int32_t column, const QString& text);
    // The formula of a member of group `si`, or NoString while its master is not known.
    uint32_t SharedMember(int si, int32_t row, int32_t column);
    // A legacy array formula over `range`, already pooled.
    void AddArray(const CellRect& range, uint32_t formula);
    // The array formula covering (row, column), or NoString. Cells arrive row by row, so
    // arrays that end above `row` are dropped as it goes.
    uint32_t ArrayAt(int32_t row, int32_t column);

private:
    struct Master {
        int32_t row;
        int32_t column;
        QString text;
    };
    struct Array {
        CellRect range;
        uint32_t formula;
    };

    Workbook& book_;
    QHash<int, Master> masters_;
    std::vector<Array> arrays_;
};

}  // namespace engine
