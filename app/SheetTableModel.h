// One worksheet of a shown workbook as a read-only grid of displayed texts, with column
// letters and row numbers as headers. The grid covers the used range plus a margin, and grows
// when a cell beyond it is selected.
#pragma once

#include <QAbstractTableModel>
#include <memory>

namespace engine {
class Workbook;
class Worksheet;
struct Cell;
}  // namespace engine

class SheetTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Reads the worksheet (0-based) if it was not read yet; raises EngineError on failure.
    SheetTableModel(std::shared_ptr<engine::Workbook> book, int sheetIndex,
                    QObject* parent = nullptr);

    // Widens the grid so that the 1-based cell lies inside it.
    void EnsureCell(int row, int column);
    // The stored cell at a 0-based grid index, or null.
    const engine::Cell* CellAt(const QModelIndex& index) const;
    // The cell's formula or constant as entered, and its comment ("" when none).
    QString FormulaAt(const QModelIndex& index) const;
    QString CommentAt(const QModelIndex& index) const;
    // The cell's address, such as "B3".
    static QString Address(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<engine::Workbook> book_;
    engine::Worksheet& sheet_;
    int rows_ = 0;
    int columns_ = 0;
};
