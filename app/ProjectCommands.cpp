#include "app/ProjectCommands.h"

#include "app/ConditionControls.h"
#include "app/ResultListModel.h"
#include "app/Tcursorhourglass.h"
#include "storage/Tconfig.h"
#include "storage/Tproject.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

// Both project dialogs: ".SVZ" added to a typed name without an extension, no read-only box.
void PrepareDialog(QFileDialog& dialog) {
    dialog.setNameFilters(ProjectCommands::Filters());
    dialog.setDefaultSuffix(QStringLiteral("SVZ"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
}

}  // namespace

const QString& ProjectCommands::ApplicationTitle() {
    static const QString title = QStringLiteral("Sorvane");
    return title;
}

const QStringList& ProjectCommands::Filters() {
    static const QStringList filters = {QStringLiteral("Sorvaneファイル(*.SVZ)"),
                                        QStringLiteral("すべてのファイル(*.*)")};
    return filters;
}

ProjectCommands::ProjectCommands(QMainWindow& window, TProject& project, TConfig& config,
                                 ConditionControls& controls, ResultListModel& results,
                                 QMenu& reopenMenu)
    : QObject(&window),
      window_(window),
      project_(project),
      config_(config),
      controls_(controls),
      results_(results),
      reopenMenu_(reopenMenu) {}

void ProjectCommands::ActionFileNewExecute() {
    TCursorHourGlass hourGlass;
    project_ = TProject();
    ProjectToControls(project_);
    UpdateCaption(QString());
    SetStatusText(QStringLiteral("新規に作成しました。"));
}

void ProjectCommands::ActionFileOpenExecute() {
    QFileDialog dialog(&window_);
    PrepareDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(DialogFolder());
    // A typed name of a file that does not exist is accepted: it opens as a new project.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    OpenProjectFile(dialog.selectedFiles().constFirst());
}

void ProjectCommands::OpenProjectFile(const QString& path) {
    TCursorHourGlass hourGlass;
    project_.Load(path);
    ProjectToControls(project_);
    UpdateCaption(project_.FileName);
    SetStatusText(QStringLiteral("ファイルを開きました。"));
}

void ProjectCommands::ActionFileSaveExecute() {
    if (project_.FileName.isEmpty()) {
        ActionFileSaveAsExecute();
        return;
    }
    ControlsToProject();
    project_.Save(project_.FileName);
    SetStatusText(QStringLiteral("ファイルに保存しました。"));
}

void ProjectCommands::ActionFileSaveAsExecute() {
    QFileDialog dialog(&window_);
    PrepareDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setDirectory(DialogFolder());
    dialog.selectFile(project_.FileName.isEmpty() ? QStringLiteral("新しいプロジェクト.SVZ")
                                                  : QFileInfo(project_.FileName).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    ControlsToProject();
    project_.Save(dialog.selectedFiles().constFirst());
    UpdateCaption(project_.FileName);
    SetStatusText(QStringLiteral("ファイルに保存しました。"));
}

QString ProjectCommands::DialogFolder() const {
    // The open project's folder, else that of the project used last.
    for (const QString& file : {project_.FileName, config_.History.value(0)}) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!file.isEmpty() && QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return QDir::homePath();
}

void ProjectCommands::ProjectToControls(const TProject& project) {
    controls_.ProjectToControls(project);
    results_.Clear();
}

void ProjectCommands::ControlsToProject() {
    controls_.ControlsToProject(project_);
}

void ProjectCommands::UpdateCaption(const QString& fileName) {
    if (fileName.isEmpty()) {
        window_.setWindowTitle(ApplicationTitle());
        return;
    }
    window_.setWindowTitle(ApplicationTitle() + QStringLiteral(" - ") +
                           QFileInfo(fileName).fileName());
    config_.AddHistory(fileName);
}

void ProjectCommands::MenuFileClick() {
    const QList<QAction*> old = reopenMenu_.actions();
    reopenMenu_.clear();
    qDeleteAll(old);
    for (int i = 0; i < config_.History.size(); ++i) {
        auto* item =
            new QAction(QStringLiteral("&%1.%2").arg(i).arg(config_.History.at(i)), &window_);
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, i] { emit ReopenRequested(i); });
        reopenMenu_.addAction(item);
    }
}

void ProjectCommands::ReopenItemClick(int tag) {
    if (tag < 0 || tag >= config_.History.size()) {
        return;
    }
    const QString path = config_.History.at(tag);
    if (QFileInfo(path).isFile()) {
        OpenProjectFile(path);
        return;
    }
    const auto same = [&path](const QString& entry) {
        return entry.compare(path, Qt::CaseInsensitive) == 0;
    };
    const auto it = std::find_if(config_.History.begin(), config_.History.end(), same);
    if (it != config_.History.end()) {
        config_.History.erase(it);
    }
}

void ProjectCommands::SetStatusText(const QString& text) {
    window_.statusBar()->showMessage(text);
}
