#include "dialogs/Ttaskrelay.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include "storage/IniDocument.h"
#include "storage/Ttempfile.h"

namespace {

// The sibling program, always looked for in the running program's own folder.
const QString kExecutableName = QStringLiteral("TaskRelay");
const QString kSectionExt = QStringLiteral("EXT");
const QString kSectionTask = QStringLiteral("TASK");
constexpr int kCommandRegister = 1;
constexpr int kCommandUnregister = 2;

}  // namespace

TTaskRelay::TTaskRelay() : TTaskRelay(QCoreApplication::applicationFilePath()) {}

TTaskRelay::TTaskRelay(QString programPath) : programPath_(std::move(programPath)) {}

QString TTaskRelay::ExecutablePath() const {
    return QFileInfo(programPath_).absolutePath() + QLatin1Char('/') + kExecutableName;
}

void TTaskRelay::RegisterExtension(const QString& extension, const QString& description,
                                   int iconIndex) const {
    const TTempFile taskFile;
    {
        // The order of the writes fixes the order of sections and keys in the file.
        IniDocument task(taskFile.GetFileName());
        task.WriteString(kSectionExt, QStringLiteral("EXT"), extension);
        task.WriteInteger(kSectionTask, QStringLiteral("CLOSE"), 1);
        task.WriteString(kSectionExt, QStringLiteral("COMMAND"),
                         QStringLiteral("\"%1\" \"%2\"").arg(programPath_, QStringLiteral("%1")));
        task.WriteString(kSectionExt, QStringLiteral("FILE_TYPE"), description);
        task.WriteString(kSectionExt, QStringLiteral("ICON_FILE"), programPath_);
        task.WriteInteger(kSectionExt, QStringLiteral("ICON_INDEX"), iconIndex);
        task.WriteInteger(kSectionTask, QStringLiteral("COMMAND"), kCommandRegister);
        task.UpdateFile();
    }
    RunTask(taskFile.GetFileName());
}

void TTaskRelay::UnregisterExtension(const QString& extension) const {
    const TTempFile taskFile;
    {
        IniDocument task(taskFile.GetFileName());
        task.WriteString(kSectionExt, QStringLiteral("EXT"), extension);
        task.WriteInteger(kSectionTask, QStringLiteral("CLOSE"), 1);
        task.WriteInteger(kSectionTask, QStringLiteral("COMMAND"), kCommandUnregister);
        task.UpdateFile();
    }
    RunTask(taskFile.GetFileName());
}

void TTaskRelay::RunTask(const QString& taskFile) const {
    QProcess relay;
    relay.setProgram(ExecutablePath());
    relay.setArguments({taskFile});
    // TaskRelay's messages go where ours go; it has no window of its own.
    relay.setProcessChannelMode(QProcess::ForwardedChannels);
    relay.start();
    // Blocks the user interface until the task is done, without a time limit.
    if (relay.waitForStarted(-1)) {
        relay.waitForFinished(-1);
    }
}
