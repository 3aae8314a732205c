// One worksheet of the model: its name, its cells and the notes attached to cells. A reader
// fills it once (lazily, on first access); afterwards it is read-only.
#pragma once

#include "engine/model/Cell.h"

#include <QString>
#include <cstdint>
#include <optional>
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
    // Widens the used range by a rectangle the file declares (DIMENSIONS).
    void ExtendUsedRange(const CellRect& rect);
    // Rows and columns with a format of their own: they widen the used range along their
    // axis only, or make column A (row 1) part of it when nothing else is used.
    void AddFormattedRows(int32_t first, int32_t last);
    void AddFormattedColumns(int32_t first, int32_t last);
    // Hidden rows and columns (1-based, inclusive), and the range of an active filter, whose
    // hidden rows below its header row are the rows it filters out.
    void HideRows(int32_t first, int32_t last);
    void HideColumns(int32_t first, int32_t last);
    void SetFilterRange(const CellRect& rect) { filterRange_ = rect; }
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
    // The bounding box of cells, notes, declared extents and formatted rows and columns;
    // A1 for an empty sheet.
    const CellRect& UsedRange() const { return usedRange_; }
    bool HasHiddenCells() const { return !hiddenRows_.empty() || !hiddenColumns_.empty(); }
    bool IsRowHidden(int32_t row) const;
    bool IsColumnHidden(int32_t column) const;
    bool IsFilteredOut(int32_t row) const;

private:
    QString name_;
    std::vector<Cell> cells_;
    std::vector<CellNote> notes_;
    struct Span {
        int32_t first = 0;
        int32_t last = 0;
    };
    static bool InSpans(const std::vector<Span>& spans, int32_t index);
    static void Merge(std::vector<Span>& spans);

    std::vector<Span> hiddenRows_;     // sorted and merged by Finish()
    std::vector<Span> hiddenColumns_;  // sorted and merged by Finish()
    std::optional<CellRect> filterRange_;
    std::optional<Span> formattedRows_;
    std::optional<Span> formattedColumns_;
    bool hasDeclaredExtent_ = false;
    bool hasUncalculated_ = false;
    CellRect declaredExtent_;
    CellRect usedRange_;
};

}  // namespace engine
