// The rows of the result list: one per found cell, in the order found, never sorted. The
// model keeps the row texts themselves (the jump reads them back). Appended rows wait in a
// batch until Flush(), so a search that finds hundreds of thousands of cells refreshes the
// view once per message pump instead of once per row, and FlushWhenDue() at most a few times
// a second however often the search pumps (each refresh lays out the visible texts again).
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
    const ResultRow& RowAt(int index) const { return rows_.at(static_cast<size_t>(index)); }
    int PendingCount() const { return static_cast<int>(pending_.size()); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static const QString& Text(const ResultRow& row, int column);

    std::vector<ResultRow> rows_;
    std::vector<ResultRow> pending_;
    QElapsedTimer sinceFlush_;
};
