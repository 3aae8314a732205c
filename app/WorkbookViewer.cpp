#include "app/WorkbookViewer.h"

#include "app/ImageList.h"
#include "app/SheetTableModel.h"
#include "app/SpreadsheetLauncher.h"
#include "app/WarningDialog.h"
#include "engine/model/Workbook.h"
#include "storage/Exception.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

WorkbookViewer::WorkbookViewer(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("WorkbookViewer"));
    setWindowTitle(QStringLiteral("Sorvane ビューアー"));
    setWindowIcon(ImageList::ProgramIcon());
    // The main window's close ends the program even while the viewer is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 480);

    ActionOpenInSpreadsheet = new QAction(QStringLiteral("表計算ソフトで開く"), this);
    ActionOpenInSpreadsheet->setObjectName(QStringLiteral("ActionOpenInSpreadsheet"));
    ActionOpenInSpreadsheet->setIcon(ImageList::Icon(ImageList::Open));
    ActionOpenInSpreadsheet->setToolTip(QStringLiteral("表計算ソフトで開く"));
    ActionOpenInSpreadsheet->setStatusTip(
        QStringLiteral("このブックを表計算ソフトで開き、選択中のセルを表示します。"));
    ActionOpenInSpreadsheet->setEnabled(false);
    connect(ActionOpenInSpreadsheet, &QAction::triggered, this,
            &WorkbookViewer::ActionOpenInSpreadsheetExecute);
    QToolBar* toolBar = addToolBar(QStringLiteral("ViewerToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addAction(ActionOpenInSpreadsheet);
    auto* close = new QAction(this);
    close->setObjectName(QStringLiteral("ActionViewerClose"));
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence::Close});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    SheetTabs = new QTabWidget;
    SheetTabs->setObjectName(QStringLiteral("SheetTabs"));
    SheetTabs->setTabPosition(QTabWidget::South);
    SheetTabs->setDocumentMode(true);
    connect(SheetTabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) {
            SheetModel(index);
        }
        UpdateCellPanel();
    });

    auto* cellPanel = new QWidget;
    auto* form = new QFormLayout(cellPanel);
    LabelAddress = new QLabel;
    LabelAddress->setObjectName(QStringLiteral("LabelAddress"));
    EditFormula = new QLineEdit;
    EditFormula->setObjectName(QStringLiteral("EditFormula"));
    EditFormula->setReadOnly(true);
    MemoComment = new QPlainTextEdit;
    MemoComment->setObjectName(QStringLiteral("MemoComment"));
    MemoComment->setReadOnly(true);
    form->addRow(QStringLiteral("セル"), LabelAddress);
    form->addRow(QStringLiteral("数式"), EditFormula);
    form->addRow(QStringLiteral("コメント"), MemoComment);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(SheetTabs);
    splitter->addWidget(cellPanel);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({width() * 3 / 4, width() / 4});
    setCentralWidget(splitter);
}

WorkbookViewer::~WorkbookViewer() = default;

void WorkbookViewer::ShowWorkbook(std::shared_ptr<engine::Workbook> book) {
    // Tabs first, so that no view refers to the old workbook's sheets once it is released.
    while (SheetTabs->count() > 0) {
        QWidget* page = SheetTabs->widget(0);
        SheetTabs->removeTab(0);
        delete page;
    }
    book_ = std::move(book);
    if (!book_) {
        return;
    }
    setWindowTitle(QFileInfo(book_->Path()).fileName() + QStringLiteral(" - Sorvane ビューアー"));
    for (int i = 0; i < book_->SheetCount(); ++i) {
        auto* view = new QTableView;
        view->setObjectName(QStringLiteral("SheetView"));
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        view->horizontalHeader()->setDefaultSectionSize(80);
        SheetTabs->addTab(view, book_->SheetName(i));
    }
    ActionOpenInSpreadsheet->setEnabled(true);
}

void WorkbookViewer::SelectSheet(int sheetIndex) {
    if (sheetIndex >= 0 && sheetIndex < SheetTabs->count()) {
        SheetTabs->setCurrentIndex(sheetIndex);
    }
}

void WorkbookViewer::SelectCell(int sheetIndex, int row, int column) {
    SelectSheet(sheetIndex);
    SheetTableModel* model = SheetModel(sheetIndex);
    if (model == nullptr || row < 1 || column < 1) {
        return;
    }
    model->EnsureCell(row, column);
    QTableView* view = SheetView(sheetIndex);
    const QModelIndex index = model->index(row - 1, column - 1);
    view->setCurrentIndex(index);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    UpdateCellPanel();
}

QTableView* WorkbookViewer::SheetView(int sheetIndex) {
    return qobject_cast<QTableView*>(SheetTabs->widget(sheetIndex));
}

SheetTableModel* WorkbookViewer::SheetModel(int sheetIndex) {
    QTableView* view = SheetView(sheetIndex);
    if (view == nullptr) {
        return nullptr;
    }
    if (auto* model = qobject_cast<SheetTableModel*>(view->model())) {
        return model;
    }
    try {
        auto* model = new SheetTableModel(book_, sheetIndex, view);
        view->setModel(model);
        connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &WorkbookViewer::UpdateCellPanel);
        return model;
    } catch (const Exception& error) {
        WarningDialog::Show(this, error.Message());
        return nullptr;
    }
}

int WorkbookViewer::CurrentSheet() const {
    return SheetTabs->currentIndex();
}

QString WorkbookViewer::CurrentAddress() const {
    return LabelAddress->text();
}

QString WorkbookViewer::CurrentFormula() const {
    return EditFormula->text();
}

QString WorkbookViewer::CurrentComment() const {
    return MemoComment->toPlainText();
}

void WorkbookViewer::UpdateCellPanel() {
    auto* view = qobject_cast<QTableView*>(SheetTabs->currentWidget());
    auto* model = view != nullptr ? qobject_cast<SheetTableModel*>(view->model()) : nullptr;
    const QModelIndex index = model != nullptr ? view->currentIndex() : QModelIndex();
    LabelAddress->setText(index.isValid() ? SheetTableModel::Address(index) : QString());
    EditFormula->setText(index.isValid() ? model->FormulaAt(index) : QString());
    EditFormula->setCursorPosition(0);  // long formulas show their beginning
    MemoComment->setPlainText(index.isValid() ? model->CommentAt(index) : QString());
}

void WorkbookViewer::ActionOpenInSpreadsheetExecute() {
    if (!book_) {
        return;
    }
    const int sheet = CurrentSheet();
    const QString sheetName = sheet >= 0 ? book_->SheetName(sheet) : QString();
    const QString cell = CurrentAddress().isEmpty() ? QStringLiteral("A1") : CurrentAddress();
    try {
        SpreadsheetLauncher::Open(book_->Path(), sheetName, cell);
    } catch (const Exception& error) {
        WarningDialog::Show(this, error.Message());
    }
}

void WorkbookViewer::closeEvent(QCloseEvent* event) {
    // A closed viewer no longer counts as a running application; let the workbook go.
    ShowWorkbook(nullptr);
    setWindowTitle(QStringLiteral("Sorvane ビューアー"));
    ActionOpenInSpreadsheet->setEnabled(false);
    QMainWindow::closeEvent(event);
}
