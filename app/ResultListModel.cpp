#include "app/ResultListModel.h"

#include <algorithm>
#include <iterator>
#include <numeric>

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
    // A run searches one workbook after the other, so its rows come grouped by book.
    const ResultRow* last = !pending_.empty() ? &pending_.back()
                            : !rows_.empty()  ? &rows_.back()
                                              : nullptr;
    if (last == nullptr || last->Book != row.Book) {
        ++books_;
    }
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
    if (!order_.empty()) {
        for (size_t i = 0; i < pending_.size(); ++i) {
            order_.push_back(rows_.size() + i);
        }
    }
    rows_.insert(rows_.end(), std::make_move_iterator(pending_.begin()),
                 std::make_move_iterator(pending_.end()));
    pending_.clear();
    endInsertRows();
}

void ResultListModel::Clear() {
    const bool any = !rows_.empty() || !pending_.empty();
    pending_.clear();
    books_ = 0;
    sortColumn_ = -1;
    if (!any) {
        return;
    }
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    order_.clear();
    order_.shrink_to_fit();
    endResetModel();
}

void ResultListModel::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column >= 0 && column < ColumnCount ? column : -1;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<size_t> oldOrder = order_;
    if (sortColumn_ < 0) {
        order_.clear();
    } else {
        order_.resize(rows_.size());
        std::iota(order_.begin(), order_.end(), size_t{0});
        const auto key = [this](size_t found) -> const QString& {
            return Text(rows_[found], sortColumn_);
        };
        // Number columns are converted once, not at every comparison.
        std::vector<qlonglong> numbers;
        if (IsRightAligned(sortColumn_)) {
            numbers.resize(rows_.size());
            for (size_t i = 0; i < rows_.size(); ++i) {
                numbers[i] = key(i).toLongLong();
            }
        }
        const auto less = [&](size_t a, size_t b) {
            if (!numbers.empty()) {
                return numbers[a] < numbers[b];
            }
            return QString::compare(key(a), key(b), Qt::CaseInsensitive) < 0;
        };
        if (order == Qt::AscendingOrder) {
            std::stable_sort(order_.begin(), order_.end(), less);
        } else {
            std::stable_sort(order_.begin(), order_.end(),
                             [&](size_t a, size_t b) { return less(b, a); });
        }
    }
    // Selections and the current row follow their rows.
    std::vector<int> shownAt(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        shownAt[order_.empty() ? i : order_[i]] = static_cast<int>(i);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const size_t found = oldOrder.empty() ? static_cast<size_t>(index.row())
                                              : oldOrder[static_cast<size_t>(index.row())];
        after.append(this->index(shownAt[found], index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
            return Text(rows_[Found(index.row())], index.column());
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
