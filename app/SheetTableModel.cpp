#include "app/SheetTableModel.h"

#include "automation/Tcsvutility.h"
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"

#include <QColor>
#include <algorithm>

namespace {

// Empty rows and columns shown past the used range, so the grid does not end abruptly.
constexpr int kRowMargin = 30;
constexpr int kColumnMargin = 8;

}  // namespace

SheetTableModel::SheetTableModel(std::shared_ptr<engine::Workbook> book, int sheetIndex,
                                 QObject* parent)
    : QAbstractTableModel(parent), book_(std::move(book)), sheet_(book_->Sheet(sheetIndex)) {
    const engine::CellRect& used = sheet_.UsedRange();
    rows_ = std::min(engine::MaxRows, used.bottom + kRowMargin);
    columns_ = std::min(engine::MaxColumns, used.right + kColumnMargin);
}

void SheetTableModel::EnsureCell(int row, int column) {
    const int rows = std::clamp(row + kRowMargin, rows_, engine::MaxRows);
    const int columns = std::clamp(column + kColumnMargin, columns_, engine::MaxColumns);
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    if (columns > columns_) {
        beginInsertColumns(QModelIndex(), columns_, columns - 1);
        columns_ = columns;
        endInsertColumns();
    }
}

const engine::Cell* SheetTableModel::CellAt(const QModelIndex& index) const {
    if (!index.isValid()) {
        return nullptr;
    }
    return sheet_.FindCell(index.row() + 1, index.column() + 1);
}

QString SheetTableModel::FormulaAt(const QModelIndex& index) const {
    const engine::Cell* cell = CellAt(index);
    return cell != nullptr ? engine::CellText::Formula(*book_, *cell) : QString();
}

QString SheetTableModel::CommentAt(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    const QString* note = sheet_.FindNote(index.row() + 1, index.column() + 1);
    return note != nullptr ? *note : QString();
}

QString SheetTableModel::Address(const QModelIndex& index) {
    return TCsvUtility::ColumnIndexToName(index.column()) + QString::number(index.row() + 1);
}

int SheetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int SheetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant SheetTableModel::data(const QModelIndex& index, int role) const {
    const engine::Cell* cell = CellAt(index);
    if (cell == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return engine::CellText::Text(*book_, *cell);
        case Qt::TextAlignmentRole:
            // Numbers stand to the right, as in a spreadsheet's General alignment.
            return QVariant::fromValue(Qt::Alignment(cell->type == engine::CellType::Number
                                                         ? Qt::AlignRight
                                                         : Qt::AlignLeft) |
                                       Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return sheet_.FindNote(cell->row, cell->column) != nullptr
                       ? QVariant(QColor(255, 250, 210))
                       : QVariant();
        default:
            return {};
    }
}

QVariant SheetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    return orientation == Qt::Horizontal ? TCsvUtility::ColumnIndexToName(section)
                                         : QString::number(section + 1);
}

Qt::ItemFlags SheetTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
