// The main window: the search conditions above, the result list below, the progress panel
// and the status line; the actions with their menus and tool bar; start-up and close; the
// window's own commands. It is the search run's host. Project commands live in
// ProjectCommands, the jump in CellJump.
#pragma once

#include "search/SearchHost.h"
#include "search/SearchRun.h"
#include "storage/Tconfig.h"
#include "storage/Tproject.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class DesktopEngine;
class QLabel;
class ResultListCommands;

class ConditionControls;
class ProjectCommands;
class QSystemTrayIcon;
class ResultListModel;

namespace Ui {
class TFormMain;
}

class TFormMain : public QMainWindow, public SearchHost {
    Q_OBJECT

public:
    // Searches and jumps to cells with the spreadsheet application of `engine`, which must
    // outlive the window. A non-empty startupProject (the file the program was started with)
    // is opened instead of the last project at the first idle moment.
    explicit TFormMain(DesktopEngine& engine, QWidget* owner = nullptr,
                       const QString& startupProject = QString());
    ~TFormMain() override;

    const TConfig& Config() const { return config_; }
    const TProject& Project() const { return project_; }
    ResultListModel& Results() { return *results_; }
    bool IsSearching() const { return run_.IsRunning(); }
    ProjectCommands& Projects() { return *projects_; }

    // SearchHost
    void ProcessMessages() override;
    void SetStatusText(const QString& text) override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    int ProgressPosition() const override;
    void AppendRow(const ResultRow& row) override;
    void ClearRows() override;
    void ShowWarning(const QString& text) override;
    void ShowSkipped(const SkippedItems& skipped) override;
    void FocusControl(SearchControl control) override;
    void SetSearching(bool searching) override;
    void SetIndexSkipped(int books) override;
    SearchConditions Conditions() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetupActions();
    void ConnectActions();
    // Runs a command now, or, during a search run, cancels the run and runs the command once
    // the run has ended: commands that replace the conditions or the list, or close the
    // window, must not act inside the run's message pumps.
    void AfterSearch(std::function<void()> command);
    void RunDeferredCommands();

    void ApplicationIdle();
    void FormShow();
    void FormClose();
    // Saves the settings; warns when their folder cannot be made.
    void SaveConfig();
    void ActionBookSearchStartExecute();
    void ActionBookSearchCancelExecute();
    void ActionBookFolderRefferExecute();
    void ActionViewSearchExecute();
    void ApplyViewSearch();
    void ActionViewStayOnTopExecute();
    void ApplyStayOnTop();
    void ActionViewResultColExecute();
    void ActionConfigGeneralExecute();
    // Deletes the cell index; the next runs read every workbook again and build it anew.
    void ActionConfigClearIndexExecute();
    void ActionHelpHelpExecute();
    void ActionHelpVersionExecute();
    void ApplicationEvents1Minimize();
    void TrayIcon1Click();
    void ListViewResultDblClick();
    void ApplyResultColumnWidths();
    void StoreResultColumnWidths();
    // A column at its default width is shown wide enough for its whole caption.
    int ShownDefaultWidth(int column) const;
    // The hit and book counts in the status bar's permanent field.
    void UpdateResultCount();
    // A run names each workbook it searches; the status bar follows at a pace a person can
    // read, not once per book, which would cost a repaint per book.
    void ShowStatusWhenDue();
    void ShowStatus();
    // The size of a first start: roomy, within the screen.
    void ApplyFirstStartSize();
    // The condition panel's stored height, or the height it needs.
    void ApplySplitterPosition();

    DesktopEngine& engine_;
    std::unique_ptr<Ui::TFormMain> ui_;
    TConfig config_;
    TProject project_;
    ResultListModel* results_;
    ResultListCommands* resultCommands_;
    QLabel* LabelResultCount;
    QLabel* LabelIndexSkipped;
    std::unique_ptr<ConditionControls> controls_;
    ProjectCommands* projects_;
    QSystemTrayIcon* TrayIcon1;
    SearchRun run_;
    QString startupProject_;
    std::vector<std::function<void()>> deferred_;
    bool idleDone_ = false;
    bool searching_ = false;
    QString statusText_;  // the latest status text, shown by ShowStatus
    QElapsedTimer sinceStatusShown_;
    bool closed_ = false;
};
