// One worksheet of the model: its name, its cells and the notes attached to cells. A reader
// fills it once (lazily, on first access); afterwards it is read-only.
#pragma once

#include "engine/model/Cell.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace engine {

struct CellRect {
    int32_t top = 1, left = 1, bottom = 1, right = 1;  // 1-based, inclusive
};

struct CellNote {
    int32_t row = 0;
    int32_t column = 0;
    QString text;
};

class Worksheet {
public:
    explicit Worksheet(QString name) : name_(std::move(name)) {}

    const QString& Name() const { return name_; }

    // Filling (readers). Cells may arrive in any order; Finish() sorts them row-major.
    void AddCell(const Cell& cell) { cells_.push_back(cell); }
    void AddCells(std::vector<Cell>&& cells);
    void AddNote(CellNote note);  // its text cut to MaxTextLength
    // Widens the used range by a rectangle the file declares (DIMENSIONS, formatted rows).
    void ExtendUsedRange(const CellRect& rect);
    // Sorts the cells, keeps the last of duplicate positions, and computes the used range.
    void Finish();

    // Whether some cell is uncalculated, and the cells for the calculation to fill in.
    bool HasUncalculated() const { return hasUncalculated_; }
    std::vector<Cell>& CellsToCalculate() { return cells_; }

    // Reading (object model, Find).
    const std::vector<Cell>& Cells() const { return cells_; }  // row-major after Finish()
    const Cell* FindCell(int32_t row, int32_t column) const;   // null when not stored
    const QString* FindNote(int32_t row, int32_t column) const;
    const std::vector<CellNote>& Notes() const { return notes_; }
    // The bounding box of cells, notes and declared extents; A1 for an empty sheet.
    const CellRect& UsedRange() const { return usedRange_; }

private:
    QString name_;
    std::vector<Cell> cells_;
    std::vector<CellNote> notes_;
    bool hasDeclaredExtent_ = false;
    bool hasUncalculated_ = false;
    CellRect declaredExtent_;
    CellRect usedRange_;
};

}  // namespace engine
