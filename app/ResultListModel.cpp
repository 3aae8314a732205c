#include "app/ResultListModel.h"

#include <iterator>

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

const QStringList& ResultListModel::Captions() {
    static const QStringList captions = {
        QStringLiteral("ブック名"),   QStringLiteral("シート"),
        QStringLiteral("シート名"),   QStringLiteral("列"),
        QStringLiteral("行"),         QStringLiteral("セルの値"),
        QStringLiteral("セルの数式"), QStringLiteral("セルのコメント"),
    };
    return captions;
}

bool ResultListModel::IsRightAligned(int column) {
    return column == 1 || column == 4;
}

void ResultListModel::AppendRow(const ResultRow& row) {
    pending_.push_back(row);
}

void ResultListModel::FlushWhenDue() {
    if (!sinceFlush_.isValid() || sinceFlush_.elapsed() >= FlushInterval) {
        Flush();
    }
}

void ResultListModel::Flush() {
    sinceFlush_.start();
    if (pending_.empty()) {
        return;
    }
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(pending_.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(pending_.begin()),
                 std::make_move_iterator(pending_.end()));
    pending_.clear();
    endInsertRows();
}

void ResultListModel::Clear() {
    pending_.clear();
    if (rows_.empty()) {
        return;
    }
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const QString& ResultListModel::Text(const ResultRow& row, int column) {
    switch (column) {
        case 0:
            return row.Book;
        case 1:
            return row.SheetNumber;
        case 2:
            return row.SheetName;
        case 3:
            return row.Column;
        case 4:
            return row.Row;
        case 5:
            return row.Text;
        case 6:
            return row.Formula;
        default:
            return row.Comment;
    }
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return Text(rows_[static_cast<size_t>(index.row())], index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::Alignment(IsRightAligned(index.column()) ? Qt::AlignRight : Qt::AlignLeft) |
                Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return Captions().at(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(
            Qt::Alignment(IsRightAligned(section) ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
