#include "app/Tformmain.h"

#include "app/CellJump.h"
#include "app/ConditionControls.h"
#include "app/DesktopEngine.h"
#include "app/ImageList.h"
#include "app/ProjectCommands.h"
#include "app/ResultListCommands.h"
#include "app/ResultListModel.h"
#include "app/SkippedBooksDialog.h"
#include "app/SorvaneApplication.h"
#include "app/Tcursorhourglass.h"
#include "app/WarningDialog.h"
#include "dialogs/HelpViewer.h"
#include "dialogs/Tformaboutbox.h"
#include "dialogs/Tformconfiggeneral.h"
#include "dialogs/Tformconfigresultitem.h"
#include "search/index/CellIndex.h"
#include "storage/Exception.h"
#include "ui_Tformmain.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <optional>

namespace {

// Runs a command; an exception that leaves it is shown in the standard message box and the
// program goes on.
void RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const Exception& error) {
        SorvaneApplication::ShowException(error.Message());
    } catch (const std::exception& error) {
        SorvaneApplication::ShowException(QString::fromLocal8Bit(error.what()));
    }
}

// A hint is "tool tip|status-bar text".
void ApplyHint(QAction* action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

constexpr int kPanelTopHeight = 220;

}  // namespace

TFormMain::TFormMain(DesktopEngine& engine, QWidget* owner, const QString& startupProject)
    : QMainWindow(owner),
      engine_(engine),
      ui_(std::make_unique<Ui::TFormMain>()),
      run_(*this, engine.Servers()),
      startupProject_(startupProject) {
    ui_->setupUi(this);
    results_ = new ResultListModel(this);
    ui_->ListViewResult->setModel(results_);
    ui_->ListViewResult->header()->setMinimumSectionSize(0);
    ui_->ListViewResult->header()->setStretchLastSection(false);
    ui_->ListViewResult->header()->setSectionsMovable(false);
    resultCommands_ = new ResultListCommands(*ui_->ListViewResult, *results_, *this);
    LabelResultCount = new QLabel(this);
    LabelResultCount->setObjectName(QStringLiteral("LabelResultCount"));
    statusBar()->addPermanentWidget(LabelResultCount);
    LabelIndexSkipped = new QLabel(this);
    LabelIndexSkipped->setObjectName(QStringLiteral("LabelIndexSkipped"));
    statusBar()->addPermanentWidget(LabelIndexSkipped);
    // The list is also emptied by the project commands.
    connect(results_, &QAbstractItemModel::modelReset, this, [this] { UpdateResultCount(); });
    controls_ = std::make_unique<ConditionControls>(*ui_);
    controls_->FillFileTypes();
    projects_ =
        new ProjectCommands(*this, project_, config_, *controls_, *results_, *ui_->MenuFileReOpen);
    ui_->PanelProgress->hide();
    // All three file types visible without scrolling, whatever the font, and no taller: the
    // room goes to the results.
    QListWidget* types = ui_->CheckListBoxFileType;
    types->setFixedHeight(types->sizeHintForRow(0) * types->count() + 2 * types->frameWidth());
    ui_->Splitter1->setStretchFactor(0, 0);
    ui_->Splitter1->setStretchFactor(1, 1);
    setWindowIcon(ImageList::ProgramIcon());
    TrayIcon1 = new QSystemTrayIcon(ImageList::ProgramIcon(), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setToolTip(ProjectCommands::ApplicationTitle());
    SetupActions();
    ConnectActions();

    setWindowTitle(ProjectCommands::ApplicationTitle());
    try {
        config_.Load(GetConfigFileName());
    } catch (...) {
        // Unreadable settings leave the values read so far and the defaults for the rest.
    }
    ActionViewSearchExecute();
    ApplyResultColumnWidths();
    ApplyFirstStartSize();
    // Centred on the screen at first show; a restored rectangle replaces this when idle.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
}

TFormMain::~TFormMain() = default;

void TFormMain::SetupActions() {
    struct Look {
        QAction* action;
        int image;
        const char* hint;
    };
    const Look looks[] = {
        {ui_->ActionBookSearchStart, ImageList::SearchStart, "検索開始|検索処理を開始します。"},
        {ui_->ActionBookSearchCancel, ImageList::Cancel, nullptr},
        {ui_->ActionBookFolderReffer, ImageList::BrowseFolder, nullptr},
        {ui_->ActionFileNew, ImageList::New, "検索条件を新規に作成する|検索条件を新規に作成します"},
        {ui_->ActionFileOpen, ImageList::Open, nullptr},
        {ui_->ActionFileSave, ImageList::Save, nullptr},
        {ui_->ActionViewSearch, ImageList::SearchConditions,
         "検索条件の表示切り替え|検索条件の表示・非表示を切り替えます。"},
        {ui_->ActionViewResultCol, ImageList::ResultColumns,
         "検索結果の表示項目の設定|検索結果の表示項目の設定します。"},
        {ui_->ActionViewStayOnTop, ImageList::StayOnTop,
         "最前面に表示|ウィンドウを常に最前面に表示します。"},
    };
    for (const Look& look : looks) {
        look.action->setIcon(ImageList::Icon(look.image));
        if (look.hint != nullptr) {
            ApplyHint(look.action, QString::fromUtf8(look.hint));
        }
    }
    ui_->SpeedButton1->setDefaultAction(ui_->ActionBookFolderReffer);
    ui_->SpeedButton2->setDefaultAction(ui_->ActionBookSearchStart);
    ui_->BitBtn1->setDefaultAction(ui_->ActionBookSearchCancel);
    // The cancel button answers Esc while it is shown; the action itself has no shortcut.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (ui_->PanelProgress->isVisible()) {
            ui_->BitBtn1->click();
        }
    });
    // Enter in either text box starts the search, as the search button does.
    for (QLineEdit* edit : {ui_->EditFolder, ui_->EditWord}) {
        connect(edit, &QLineEdit::returnPressed, ui_->ActionBookSearchStart, &QAction::trigger);
    }
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, ui_->ActionHelpHelp, &QAction::trigger);
}

void TFormMain::ConnectActions() {
    const auto command = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, [handler] { RunCommand(handler); });
    };
    command(ui_->ActionBookSearchStart, [this] { ActionBookSearchStartExecute(); });
    command(ui_->ActionBookSearchCancel, [this] { ActionBookSearchCancelExecute(); });
    command(ui_->ActionBookFolderReffer, [this] { ActionBookFolderRefferExecute(); });
    command(ui_->ActionViewSearch, [this] { ApplyViewSearch(); });
    command(ui_->ActionViewStayOnTop, [this] { ApplyStayOnTop(); });
    command(ui_->ActionViewResultCol, [this] { ActionViewResultColExecute(); });
    command(ui_->ActionConfigGeneral, [this] { ActionConfigGeneralExecute(); });
    command(ui_->ActionConfigClearIndex, [this] { ActionConfigClearIndexExecute(); });
    command(ui_->ActionHelpHelp, [this] { ActionHelpHelpExecute(); });
    command(ui_->ActionHelpVersion, [this] { ActionHelpVersionExecute(); });
    connect(resultCommands_, &ResultListCommands::OpenBookRequested, this,
            [this] { RunCommand([this] { ListViewResultDblClick(); }); });
    ui_->MenuFile->insertActions(ui_->ActionFileClose, {resultCommands_->ActionFileExportCsv,
                                                        resultCommands_->ActionFileExportTsv});
    ui_->MenuFile->insertSeparator(ui_->ActionFileClose);
    ui_->MenuView->addSeparator();
    ui_->MenuView->addAction(resultCommands_->ActionResultFitColumns);
    ui_->MenuView->addAction(resultCommands_->ActionResultFoundOrder);
    // Replacing the conditions or the list waits until a running search has ended.
    command(ui_->ActionFileNew,
            [this] { AfterSearch([this] { projects_->ActionFileNewExecute(); }); });
    command(ui_->ActionFileOpen,
            [this] { AfterSearch([this] { projects_->ActionFileOpenExecute(); }); });
    command(ui_->ActionFileSave, [this] { projects_->ActionFileSaveExecute(); });
    command(ui_->ActionFileSaveAs, [this] { projects_->ActionFileSaveAsExecute(); });
    connect(ui_->ActionFileClose, &QAction::triggered, this, &QWidget::close);
    connect(ui_->MenuFile, &QMenu::aboutToShow, projects_, &ProjectCommands::MenuFileClick);
    connect(projects_, &ProjectCommands::ReopenRequested, this,
            [this](int tag) { AfterSearch([this, tag] { projects_->ReopenItemClick(tag); }); });
    connect(ui_->ListViewResult, &QAbstractItemView::doubleClicked, this,
            [this] { RunCommand([this] { ListViewResultDblClick(); }); });
    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    TrayIcon1Click();
                }
            });
}

void TFormMain::AfterSearch(std::function<void()> command) {
    if (!run_.IsRunning()) {
        RunCommand(command);
        return;
    }
    deferred_.push_back(std::move(command));
    run_.Cancel();
}

void TFormMain::RunDeferredCommands() {
    std::vector<std::function<void()>> commands;
    commands.swap(deferred_);
    for (const auto& command : commands) {
        RunCommand(command);
    }
}

// Start-up and close

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
    if (!idleDone_) {
        idleDone_ = true;
        ApplySplitterPosition();
        QTimer::singleShot(0, this, [this] { RunCommand([this] { ApplicationIdle(); }); });
    }
}

void TFormMain::ApplicationIdle() {
    if (config_.WindowPositionRestore) {
        setGeometry(config_.WindowPositionLeft, config_.WindowPositionTop,
                    config_.WindowPositionRight, config_.WindowPositionBottom);
        if (config_.WindowState == 1) {
            setWindowState(windowState() | Qt::WindowMinimized);
        } else if (config_.WindowState == 2) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    }
    ui_->ActionViewStayOnTop->setChecked(!config_.ShowStayOnTop);
    ActionViewStayOnTopExecute();
    if (!startupProject_.isEmpty()) {
        projects_->OpenProjectFile(startupProject_);
    } else if (config_.ProjectFileRestore && QFileInfo(config_.LastProjectFile).isFile()) {
        projects_->OpenProjectFile(config_.LastProjectFile);
    } else {
        projects_->ActionFileNewExecute();
    }
}

void TFormMain::FormShow() {
    if (!config_.InTaskTray) {
        return;
    }
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    raise();
    activateWindow();
    TrayIcon1->hide();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (run_.IsRunning()) {
        // The run is cancelled first; the window closes once it has ended.
        event->ignore();
        AfterSearch([this] { close(); });
        return;
    }
    RunCommand([this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TFormMain::FormClose() {
    const Qt::WindowStates state = windowState();
    config_.SetWindowState(state & Qt::WindowMaximized ? 2 : state & Qt::WindowMinimized ? 1 : 0);
    // The rectangle of the normal state, also when the window is maximised or minimised.
    QRect rect = normalGeometry();
    if (rect.isEmpty()) {
        rect = geometry();
    }
    config_.WindowPositionLeft = rect.left();
    config_.WindowPositionTop = rect.top();
    config_.WindowPositionRight = rect.width();
    config_.WindowPositionBottom = rect.height();
    config_.LastProjectFile = project_.FileName;
    config_.ShowStayOnTop = ui_->ActionViewStayOnTop->isChecked();
    StoreResultColumnWidths();
    if (ui_->PanelTop->isVisible()) {
        config_.SplitterPosition = ui_->Splitter1->sizes().value(0);
    }
    SaveConfig();
}

void TFormMain::SaveConfig() {
    if (!config_.Save(GetConfigFileName())) {
        ShowWarning(TConfig::FolderFailedText());
    }
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        ApplicationEvents1Minimize();
    }
}

void TFormMain::ApplicationEvents1Minimize() {
    // Without a notification area the window could not be brought back: it stays minimised.
    if (!config_.InTaskTray || !QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    TrayIcon1->show();
    QTimer::singleShot(0, this, &QWidget::hide);
}

void TFormMain::TrayIcon1Click() {
    show();
}

// The window's own commands

void TFormMain::ActionBookFolderRefferExecute() {
    QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QFileInfo(start).isDir()) {
        start = QDir::homePath();
    }
    QFileDialog dialog(this, QStringLiteral("検索フォルダーの参照"), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        ui_->EditFolder->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
    }
}

void TFormMain::ActionViewSearchExecute() {
    ui_->ActionViewSearch->setChecked(!ui_->ActionViewSearch->isChecked());
    ApplyViewSearch();
}

void TFormMain::ApplyViewSearch() {
    ui_->PanelTop->setVisible(ui_->ActionViewSearch->isChecked());
}

void TFormMain::ActionViewStayOnTopExecute() {
    ui_->ActionViewStayOnTop->setChecked(!ui_->ActionViewStayOnTop->isChecked());
    ApplyStayOnTop();
}

void TFormMain::ApplyStayOnTop() {
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, ui_->ActionViewStayOnTop->isChecked());
    // Changing the flags may re-create the native window hidden.
    if (wasVisible && !isVisible()) {
        show();
    }
}

void TFormMain::ActionViewResultColExecute() {
    StoreResultColumnWidths();  // the widths set by hand stay
    TFormConfigResultItem dialog(this);
    dialog.SetChoice(config_.VisibleResultColumns());
    if (dialog.exec() == QDialog::Accepted) {
        config_.SetVisibleResultColumns(dialog.Choice());
        ApplyResultColumnWidths();
    }
}

void TFormMain::ActionConfigClearIndexExecute() {
    if (!CellIndex::Remove(CellIndex::DefaultFile())) {
        throw Exception(QStringLiteral("検索インデックスを消去できませんでした。"));
    }
    SetStatusText(QStringLiteral("検索インデックスを消去しました。"));
}

void TFormMain::ActionConfigGeneralExecute() {
    const bool wasOnTop = ui_->ActionViewStayOnTop->isChecked();
    ui_->ActionViewStayOnTop->setChecked(true);
    ActionViewStayOnTopExecute();
    // The remembered topmost state comes back on every way out, exceptions included.
    struct RestoreOnTop {
        TFormMain& form;
        bool onTop;
        ~RestoreOnTop() {
            form.ui_->ActionViewStayOnTop->setChecked(!onTop);
            form.ActionViewStayOnTopExecute();
        }
    } restore{*this, wasOnTop};
    TFormConfigGeneral dialog(this);
    dialog.LoadConfig(config_);
    if (dialog.exec() == QDialog::Accepted) {
        dialog.StoreConfig(config_);
        SaveConfig();
    }
}

void TFormMain::ActionHelpHelpExecute() {
    ShowHelpTopic(0, this);
}

void TFormMain::ActionHelpVersionExecute() {
    TFormAboutBox box(this);
    box.exec();
}

void TFormMain::ApplyResultColumnWidths() {
    QTreeView* list = ui_->ListViewResult;
    for (int i = 0; i < ResultListModel::ColumnCount; ++i) {
        const int width = i < static_cast<int>(config_.ResultItemColWidth.size())
                              ? config_.ResultItemColWidth[static_cast<size_t>(i)]
                              : 0;
        list->setColumnHidden(i, width == 0);
        if (width != 0) {
            // A negative stored width counts as shown; the list cannot draw it narrower than 0.
            const bool isDefault = width == DefaultResultItemColWidth[static_cast<size_t>(i)];
            list->setColumnWidth(i, isDefault ? ShownDefaultWidth(i) : std::max(width, 0));
        }
    }
}

void TFormMain::StoreResultColumnWidths() {
    const QTreeView* list = ui_->ListViewResult;
    for (int i = 0; i < ResultListModel::ColumnCount; ++i) {
        if (i < static_cast<int>(config_.ResultItemColWidth.size())) {
            const int width = list->isColumnHidden(i) ? 0 : list->columnWidth(i);
            // Still at its default, only widened to its caption: the default stays stored.
            config_.ResultItemColWidth[static_cast<size_t>(i)] =
                width == ShownDefaultWidth(i) ? DefaultResultItemColWidth[static_cast<size_t>(i)]
                                              : width;
        }
    }
}

// The search run and the result list

void TFormMain::ActionBookSearchStartExecute() {
    const SearchConditions conditions = Conditions();
    if (run_.IsRunning() || !run_.CheckConditions(conditions)) {
        return;
    }
    run_.SetContinueAfterBookError(config_.SkipUnreadableBooks);
    run_.SetFindHiddenCells(config_.SearchHiddenCells);
    run_.SetIndexFile(config_.UseSearchIndex ? CellIndex::DefaultFile() : QString());
    {
        const TCursorHourGlass hourGlass;
        run_.Run(conditions);
    }
    results_->Flush();
    UpdateResultCount();
    resultCommands_->WidenAfterRun(ShownDefaultWidth(0));
    if (results_->rowCount() > 0 && deferred_.empty()) {
        QTreeView* list = ui_->ListViewResult;
        list->setFocus();
        if (!list->currentIndex().isValid()) {
            list->setCurrentIndex(results_->index(0, 0));
        }
    }
    RunDeferredCommands();
}

void TFormMain::ActionBookSearchCancelExecute() {
    run_.Cancel();
}

void TFormMain::ListViewResultDblClick() {
    const QModelIndex current = ui_->ListViewResult->currentIndex();
    if (!current.isValid() ||
        !ui_->ListViewResult->selectionModel()->isRowSelected(current.row())) {
        return;
    }
    const JumpTarget target = CellJump::Target(results_->RowAt(current.row()));
    std::optional<QString> failure;
    {
        TCursorHourGlass hourGlass;
        try {
            CellJump::Jump(target, engine_.Servers(), engine_.Viewer());
        } catch (const Exception& error) {
            failure = error.Message();
        }
    }
    if (failure) {
        ShowWarning(*failure);
    }
}

void TFormMain::ProcessMessages() {
    results_->FlushWhenDue();
    UpdateResultCount();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TFormMain::SetStatusText(const QString& text) {
    statusText_ = text;
    if (searching_) {
        ShowStatusWhenDue();
    } else {
        ShowStatus();
    }
}

void TFormMain::SetProgressMaximum(int maximum) {
    ui_->ProgressBar1->setMaximum(maximum);
}

void TFormMain::SetProgressPosition(int position) {
    ui_->ProgressBar1->setValue(position);
}

int TFormMain::ProgressPosition() const {
    return ui_->ProgressBar1->value();
}

void TFormMain::SetIndexSkipped(int books) {
    LabelIndexSkipped->setText(
        books > 0 ? QStringLiteral("インデックスで省略: %1 ブック").arg(books) : QString());
}

void TFormMain::ShowStatusWhenDue() {
    constexpr qint64 Interval = 40;  // ms
    if (!sinceStatusShown_.isValid() || sinceStatusShown_.elapsed() >= Interval) {
        ShowStatus();
    }
}

void TFormMain::ShowStatus() {
    statusBar()->showMessage(statusText_);
    sinceStatusShown_.start();
}

void TFormMain::AppendRow(const ResultRow& row) {
    results_->AppendRow(row);
}

void TFormMain::ClearRows() {
    results_->Clear();
}

void TFormMain::ApplySplitterPosition() {
    // Sized once the window is laid out, so the list gets all the height the panel leaves.
    centralWidget()->layout()->activate();
    const int topHeight = config_.SplitterPosition > 0
                              ? config_.SplitterPosition
                              : std::max(kPanelTopHeight, ui_->PanelTop->sizeHint().height());
    ui_->Splitter1->setSizes({topHeight, std::max(0, ui_->Splitter1->height() - topHeight)});
}

int TFormMain::ShownDefaultWidth(int column) const {
    return std::max(DefaultResultItemColWidth[static_cast<size_t>(column)],
                    ui_->ListViewResult->header()->sectionSizeHint(column));
}

void TFormMain::UpdateResultCount() {
    const QString text =
        QStringLiteral("%1 件 / %2 ブック").arg(results_->HitCount()).arg(results_->BookCount());
    if (LabelResultCount->text() != text) {
        LabelResultCount->setText(text);
    }
}

void TFormMain::ApplyFirstStartSize() {
    QSize size(900, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    resize(size.expandedTo(minimumSizeHint()));
}

void TFormMain::ShowWarning(const QString& text) {
    results_->Flush();  // the rows found before the problem show behind the box
    WarningDialog::Show(this, text);
}

void TFormMain::ShowSkipped(const SkippedItems& skipped) {
    results_->Flush();
    SkippedBooksDialog::Show(this, skipped);
}

void TFormMain::FocusControl(SearchControl control) {
    switch (control) {
        case SearchControl::Folder:
            // Selected, so that a wrong folder is replaced by typing the right one.
            ui_->EditFolder->setFocus();
            ui_->EditFolder->selectAll();
            break;
        case SearchControl::Word:
            ui_->EditWord->setFocus();
            break;
        case SearchControl::FileTypes:
            ui_->CheckListBoxFileType->setFocus();
            break;
    }
}

void TFormMain::SetSearching(bool searching) {
    searching_ = searching;
    if (searching) {
        sinceStatusShown_.invalidate();
    } else {
        ShowStatus();
    }
    ui_->PanelBookFolder->setEnabled(!searching);
    ui_->PanelTop->setEnabled(!searching);
    ui_->ActionBookSearchStart->setEnabled(!searching);
    ui_->ListViewResult->setEnabled(!searching);
    ui_->PanelProgress->setVisible(searching);
    if (!searching) {
        results_->Flush();
    }
}

SearchConditions TFormMain::Conditions() const {
    return controls_->Conditions();
}
