// The rows of the result list: one per found cell, in the order found unless the user sorts
// by a column (the found order can be restored). The model keeps the row texts themselves (the
// jump reads them back). Appended rows wait in a batch until Flush(), so a search that finds
// hundreds of thousands of cells refreshes the view once per message pump instead of once per
// row, and FlushWhenDue() at most a few times a second however often the search pumps (each
// refresh lays out the visible texts again).
#pragma once

#include "search/ResultRow.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QStringList>
#include <vector>

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int ColumnCount = 8;

    explicit ResultListModel(QObject* parent = nullptr);

    // The header captions, left to right.
    static const QStringList& Captions();
    // Right-aligned columns hold numbers (sheet number, row).
    static bool IsRightAligned(int column);

    static constexpr int FlushInterval = 100;  // milliseconds

    void AppendRow(const ResultRow& row);  // batched until Flush()
    void Flush();
    // Flushes when the last flush is FlushInterval or more ago (or there was none yet).
    void FlushWhenDue();
    void Clear();
    // The shown row at a position (Flush() first to include the batch).
    const ResultRow& RowAt(int index) const { return rows_.at(Found(index)); }
    // The text of a column of the shown row at a position.
    const QString& TextAt(int index, int column) const { return Text(RowAt(index), column); }
    int PendingCount() const { return static_cast<int>(pending_.size()); }
    // Rows and distinct workbooks, batch included.
    int HitCount() const { return static_cast<int>(rows_.size() + pending_.size()); }
    int BookCount() const { return books_; }

    // Sorts the shown rows by a column (numbers by value, texts without regard to letter
    // case, ties in the found order); a negative column restores the found order. Rows
    // appended later come after the sorted ones.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int SortColumn() const { return sortColumn_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static const QString& Text(const ResultRow& row, int column);
    // The found position of the row shown at `index`.
    size_t Found(int index) const {
        return order_.empty() ? static_cast<size_t>(index) : order_.at(static_cast<size_t>(index));
    }

    std::vector<ResultRow> rows_;
    std::vector<ResultRow> pending_;
    std::vector<size_t> order_;  // shown position to found position; empty: found order
    int sortColumn_ = -1;
    int books_ = 0;
    QElapsedTimer sinceFlush_;
};
