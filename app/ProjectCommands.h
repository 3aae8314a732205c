// The project commands of the File menu (new, open, save, save as), the opening of a project
// file by path, the window caption that names the open file, and the recent-files submenu fed
// by the settings' history.
#pragma once

#include <QObject>
#include <QString>

class ConditionControls;
class QMainWindow;
class QMenu;
class ResultListModel;
class TConfig;
class TProject;

class ProjectCommands : public QObject {
    Q_OBJECT

public:
    // The application title that every caption begins with.
    static const QString& ApplicationTitle();
    // The dialogs' filters: the project files, then all files.
    static const QStringList& Filters();

    ProjectCommands(QMainWindow& window, TProject& project, TConfig& config,
                    ConditionControls& controls, ResultListModel& results, QMenu& reopenMenu);

    void ActionFileNewExecute();
    void ActionFileOpenExecute();
    void ActionFileSaveExecute();
    void ActionFileSaveAsExecute();
    void OpenProjectFile(const QString& path);
    // Shows the project in the controls and empties the result list.
    void ProjectToControls(const TProject& project);
    void ControlsToProject();
    void UpdateCaption(const QString& fileName);

    // Rebuilds the recent-files submenu; run each time the File menu opens.
    void MenuFileClick();
    // A recent-files item was chosen; its tag is the history position.
    void ReopenItemClick(int tag);

signals:
    // A recent-files item asks to be opened; the window decides when (not inside a search).
    void ReopenRequested(int tag);

private:
    void SetStatusText(const QString& text);
    // Where the file dialogs start.
    QString DialogFolder() const;

    QMainWindow& window_;
    TProject& project_;
    TConfig& config_;
    ConditionControls& controls_;
    ResultListModel& results_;
    QMenu& reopenMenu_;
};
