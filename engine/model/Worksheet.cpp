#include "engine/model/Worksheet.h"

#include "engine/model/CellText.h"

#include <algorithm>

namespace engine {
namespace {

bool RowMajorLess(const Cell& a, const Cell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
}

void Include(CellRect& rect, bool& any, int32_t row, int32_t column) {
    if (!any) {
        rect = {row, column, row, column};
        any = true;
        return;
    }
    rect.top = std::min(rect.top, row);
    rect.left = std::min(rect.left, column);
    rect.bottom = std::max(rect.bottom, row);
    rect.right = std::max(rect.right, column);
}

}  // namespace

void Worksheet::AddNote(CellNote note) {
    CellText::Cut(note.text);
    notes_.push_back(std::move(note));
}

void Worksheet::AddCells(std::vector<Cell>&& cells) {
    if (cells_.empty()) {
        cells_ = std::move(cells);
    } else {
        cells_.insert(cells_.end(), cells.begin(), cells.end());
    }
}

void Worksheet::ExtendUsedRange(const CellRect& rect) {
    Include(declaredExtent_, hasDeclaredExtent_, rect.top, rect.left);
    Include(declaredExtent_, hasDeclaredExtent_, rect.bottom, rect.right);
}

void Worksheet::Finish() {
    // Most files write their cells in order without repeats: checking costs one pass (the
    // one that finds the bounding box), the sort and the de-duplication several.
    bool any = false;
    CellRect rect;
    bool ordered = true;
    for (size_t i = 0; i < cells_.size(); ++i) {
        Include(rect, any, cells_[i].row, cells_[i].column);
        ordered = ordered && (i == 0 || RowMajorLess(cells_[i - 1], cells_[i]));
        hasUncalculated_ = hasUncalculated_ || cells_[i].uncalculated;
    }
    if (!ordered) {
        // A stable sort keeps file order among duplicates, so the last one written wins.
        std::stable_sort(cells_.begin(), cells_.end(), RowMajorLess);
        auto last = std::unique(cells_.rbegin(), cells_.rend(), [](const Cell& a, const Cell& b) {
            return a.row == b.row && a.column == b.column;
        });
        cells_.erase(cells_.begin(), last.base());
    }
    std::sort(notes_.begin(), notes_.end(), [](const CellNote& a, const CellNote& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    for (const CellNote& note : notes_) {
        Include(rect, any, note.row, note.column);
    }
    if (hasDeclaredExtent_) {
        Include(rect, any, declaredExtent_.top, declaredExtent_.left);
        Include(rect, any, declaredExtent_.bottom, declaredExtent_.right);
    }
    if (formattedRows_) {
        Include(rect, any, formattedRows_->first, any ? rect.left : 1);
        Include(rect, any, formattedRows_->last, rect.left);
    }
    if (formattedColumns_) {
        Include(rect, any, any ? rect.top : 1, formattedColumns_->first);
        Include(rect, any, rect.top, formattedColumns_->last);
    }
    usedRange_ = any ? rect : CellRect{};
    Merge(hiddenRows_);
    Merge(hiddenColumns_);
}

void Worksheet::AddFormattedRows(int32_t first, int32_t last) {
    formattedRows_ = formattedRows_ ? Span{std::min(formattedRows_->first, first),
                                           std::max(formattedRows_->last, last)}
                                    : Span{first, last};
}

void Worksheet::AddFormattedColumns(int32_t first, int32_t last) {
    formattedColumns_ = formattedColumns_ ? Span{std::min(formattedColumns_->first, first),
                                                 std::max(formattedColumns_->last, last)}
                                          : Span{first, last};
}

void Worksheet::HideRows(int32_t first, int32_t last) {
    hiddenRows_.push_back({first, last});
}

void Worksheet::HideColumns(int32_t first, int32_t last) {
    hiddenColumns_.push_back({first, last});
}

bool Worksheet::IsRowHidden(int32_t row) const {
    return InSpans(hiddenRows_, row);
}

bool Worksheet::IsColumnHidden(int32_t column) const {
    return InSpans(hiddenColumns_, column);
}

bool Worksheet::IsFilteredOut(int32_t row) const {
    return filterRange_ && row > filterRange_->top && row <= filterRange_->bottom &&
           IsRowHidden(row);
}

bool Worksheet::InSpans(const std::vector<Span>& spans, int32_t index) {
    const auto it = std::upper_bound(spans.begin(), spans.end(), index,
                                     [](int32_t i, const Span& span) { return i < span.first; });
    return it != spans.begin() && std::prev(it)->last >= index;
}

void Worksheet::Merge(std::vector<Span>& spans) {
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, span.last);
        } else {
            merged.push_back(span);
        }
    }
    spans = std::move(merged);
}

const Cell* Worksheet::FindCell(int32_t row, int32_t column) const {
    Cell key;
    key.row = row;
    key.column = column;
    auto it = std::lower_bound(cells_.begin(), cells_.end(), key, RowMajorLess);
    if (it == cells_.end() || it->row != row || it->column != column) {
        return nullptr;
    }
    return &*it;
}

const QString* Worksheet::FindNote(int32_t row, int32_t column) const {
    auto it = std::lower_bound(notes_.begin(), notes_.end(), std::pair{row, column},
                               [](const CellNote& note, std::pair<int32_t, int32_t> key) {
                                   return note.row != key.first ? note.row < key.first
                                                                : note.column < key.second;
                               });
    if (it == notes_.end() || it->row != row || it->column != column) {
        return nullptr;
    }
    return &it->text;
}

}  // namespace engine
