#include "app/ResultListCommands.h"

#include "app/ResultListModel.h"
#include "app/SpreadsheetLauncher.h"
#include "app/WarningDialog.h"
#include "storage/AtomicFile.h"
#include "storage/Exception.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

namespace {

// The book column shows the middle of a long path elided, so the file name stays in view.
class BookPathDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == 0) {
            option->textElideMode = Qt::ElideMiddle;
        }
    }
};

}  // namespace

ResultListCommands::ResultListCommands(QTreeView& list, ResultListModel& model, QWidget& window)
    : QObject(&window), list_(list), model_(model), window_(window) {
    ActionResultCopy = MakeAction("ActionResultCopy", QStringLiteral("コピー(&C)"));
    ActionResultCopy->setShortcut(QKeySequence::Copy);
    ActionResultCopy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    list_.addAction(ActionResultCopy);
    ActionResultOpenBook = MakeAction("ActionResultOpenBook", QStringLiteral("ブックを開く(&O)"));
    ActionResultOpenFolder =
        MakeAction("ActionResultOpenFolder", QStringLiteral("フォルダーを開く(&F)"));
    ActionResultOpenSpreadsheet =
        MakeAction("ActionResultOpenSpreadsheet", QStringLiteral("表計算ソフトで開く(&S)"));
    ActionResultFitColumns =
        MakeAction("ActionResultFitColumns", QStringLiteral("列幅を自動調整(&W)"));
    ActionResultFoundOrder =
        MakeAction("ActionResultFoundOrder", QStringLiteral("見つかった順に戻す(&R)"));
    ActionFileExportCsv =
        MakeAction("ActionFileExportCsv", QStringLiteral("CSV 形式で書き出す(&E)..."));
    ActionFileExportTsv =
        MakeAction("ActionFileExportTsv", QStringLiteral("TSV 形式で書き出す(&T)..."));

    connect(ActionResultCopy, &QAction::triggered, this, &ResultListCommands::Copy);
    connect(ActionResultOpenBook, &QAction::triggered, this,
            &ResultListCommands::OpenBookRequested);
    connect(ActionResultOpenFolder, &QAction::triggered, this, &ResultListCommands::OpenFolder);
    connect(ActionResultOpenSpreadsheet, &QAction::triggered, this,
            &ResultListCommands::OpenSpreadsheet);
    connect(ActionResultFitColumns, &QAction::triggered, this, &ResultListCommands::FitColumns);
    connect(ActionResultFoundOrder, &QAction::triggered, this, [this] { HeaderClicked(-1); });
    connect(ActionFileExportCsv, &QAction::triggered, this,
            [this] { Export(ResultTableText::Format::Csv); });
    connect(ActionFileExportTsv, &QAction::triggered, this,
            [this] { Export(ResultTableText::Format::Tsv); });

    list_.setItemDelegate(new BookPathDelegate(&list_));
    list_.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list_, &QWidget::customContextMenuRequested, this,
            &ResultListCommands::ShowContextMenu);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter =
            new QShortcut(QKeySequence(key), &list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (CurrentRow() >= 0) {
                emit OpenBookRequested();
            }
        });
    }
    QHeaderView* header = list_.header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, &ResultListCommands::HeaderClicked);
    connect(&model_, &QAbstractItemModel::rowsInserted, this, &ResultListCommands::UpdateEnabled);
    connect(&model_, &QAbstractItemModel::modelReset, this, &ResultListCommands::UpdateEnabled);
    UpdateEnabled();
}

QAction* ResultListCommands::MakeAction(const char* name, const QString& text) {
    auto* action = new QAction(text, &window_);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

std::vector<int> ResultListCommands::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_.selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> ResultListCommands::VisibleColumns() const {
    std::vector<int> columns;
    for (int i = 0; i < ResultListModel::ColumnCount; ++i) {
        if (!list_.isColumnHidden(i) && list_.columnWidth(i) > 0) {
            columns.push_back(i);
        }
    }
    return columns;
}

int ResultListCommands::CurrentRow() const {
    const QModelIndex current = list_.currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ResultListCommands::Copy() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(
        ResultTableText::Build(model_, rows, VisibleColumns(), ResultTableText::Format::Tsv));
}

void ResultListCommands::OpenFolder() {
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    const QString folder = QFileInfo(model_.RowAt(row).Book).absolutePath();
    if (!QFileInfo(folder).isDir() || !QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        WarningDialog::Show(
            &window_,
            QStringLiteral("フォルダー「%1」を開けません。").arg(QDir::toNativeSeparators(folder)));
    }
}

void ResultListCommands::OpenSpreadsheet() {
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    const ResultRow& hit = model_.RowAt(row);
    try {
        SpreadsheetLauncher::Open(hit.Book, hit.SheetName, hit.Column + hit.Row);
    } catch (const Exception& error) {
        WarningDialog::Show(&window_, error.Message());
    }
}

void ResultListCommands::ExportTo(const QString& path, ResultTableText::Format format) const {
    std::vector<int> rows(static_cast<size_t>(model_.rowCount()));
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<int>(i);
    }
    const QString text = ResultTableText::Build(model_, rows, VisibleColumns(), format);
    WriteFileAtomically(path, ResultTableText::FileBytes(text, format));
}

void ResultListCommands::Export(ResultTableText::Format format) {
    const bool csv = format == ResultTableText::Format::Csv;
    QFileDialog dialog(&window_, csv ? QStringLiteral("CSV 形式で書き出す")
                                     : QStringLiteral("TSV 形式で書き出す"));
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(QDir::homePath());
    dialog.setNameFilters({csv ? QStringLiteral("CSV ファイル (*.csv)")
                               : QStringLiteral("TSV ファイル (*.tsv *.txt)"),
                           QStringLiteral("すべてのファイル (*)")});
    dialog.setDefaultSuffix(csv ? QStringLiteral("csv") : QStringLiteral("tsv"));
    dialog.selectFile(csv ? QStringLiteral("検索結果.csv") : QStringLiteral("検索結果.tsv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    try {
        ExportTo(dialog.selectedFiles().constFirst(), format);
    } catch (const Exception& error) {
        WarningDialog::Show(&window_, error.Message());
    }
}

void ResultListCommands::FitColumns() {
    // The widest of the caption and the texts of the rows on view.
    for (const int column : VisibleColumns()) {
        list_.resizeColumnToContents(column);
    }
}

int ResultListCommands::WidestText(int column) const {
    // Every row counts, not only those on view: the longest number is usually far down.
    qsizetype longest = -1;
    QString widest;
    for (int row = 0; row < model_.rowCount(); ++row) {
        const QString& text = model_.TextAt(row, column);
        if (text.size() > longest) {
            longest = text.size();
            widest = text;
        }
    }
    const int margins = 2 * list_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    return list_.fontMetrics().horizontalAdvance(widest) + margins;
}

void ResultListCommands::WidenAfterRun(int bookDefaultWidth) {
    const auto shown = [this](int column) {
        return !list_.isColumnHidden(column) && list_.columnWidth(column) > 0;
    };
    for (const int column : {1, 3, 4}) {
        if (!shown(column)) {
            continue;
        }
        const int needed = WidestText(column);
        if (needed > list_.columnWidth(column)) {
            list_.setColumnWidth(column, needed);
        }
    }
    // A book column left at its default shows too little of a path to tell the books apart.
    if (shown(0) && list_.columnWidth(0) <= bookDefaultWidth) {
        const int room = list_.viewport()->width() * 2 / 5;
        list_.setColumnWidth(0, std::max(list_.columnWidth(0), std::min(WidestText(0), room)));
    }
}

void ResultListCommands::HeaderClicked(int column) {
    QHeaderView* header = list_.header();
    if (column >= 0 && column == model_.SortColumn() && sortOrder_ == Qt::DescendingOrder) {
        column = -1;  // the third click: the found order again
    } else if (column >= 0 && column == model_.SortColumn()) {
        sortOrder_ = Qt::DescendingOrder;
    } else {
        sortOrder_ = Qt::AscendingOrder;
    }
    model_.sort(column, sortOrder_);
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0) {
        header->setSortIndicator(column, sortOrder_);
    }
    UpdateEnabled();
}

void ResultListCommands::UpdateEnabled() {
    const bool any = model_.rowCount() > 0;
    for (QAction* action : {ActionResultCopy, ActionResultOpenBook, ActionResultOpenFolder,
                            ActionResultOpenSpreadsheet, ActionResultFitColumns,
                            ActionFileExportCsv, ActionFileExportTsv}) {
        action->setEnabled(any);
    }
    ActionResultFoundOrder->setEnabled(model_.SortColumn() >= 0);
    if (model_.rowCount() == 0 && model_.SortColumn() < 0) {
        list_.header()->setSortIndicatorShown(false);
    }
}

void ResultListCommands::ShowContextMenu(const QPoint& at) {
    const QModelIndex index = list_.indexAt(at);
    if (!index.isValid()) {
        return;
    }
    QMenu menu(&list_);
    menu.setObjectName(QStringLiteral("ResultContextMenu"));
    menu.addAction(ActionResultOpenBook);
    menu.addAction(ActionResultOpenSpreadsheet);
    menu.addAction(ActionResultOpenFolder);
    menu.addSeparator();
    menu.addAction(ActionResultCopy);
    menu.addSeparator();
    menu.addAction(ActionResultFitColumns);
    menu.addAction(ActionResultFoundOrder);
    menu.exec(list_.viewport()->mapToGlobal(at));
}
