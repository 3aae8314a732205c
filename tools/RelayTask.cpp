#include "tools/RelayTask.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "storage/IniDocument.h"

namespace {

const QString kSectionExt = QStringLiteral("EXT");
const QString kSectionTask = QStringLiteral("TASK");
const QString kFilePlaceholder = QStringLiteral("%1");

[[noreturn]] void Fail(const QString& path, const QString& problem) {
    throw TaskError(QStringLiteral("タスクファイル「%1」を実行できません: %2").arg(path, problem));
}

bool HasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

}  // namespace

QStringList RelayTask::SplitCommand(const QString& command) {
    QStringList arguments;
    QString current;
    bool inQuotes = false;
    bool inArgument = false;
    for (const QChar c : command) {
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            inArgument = true;
        } else if (c == QLatin1Char(' ') && !inQuotes) {
            if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inQuotes) {
        throw TaskError(QStringLiteral("開くコマンドの引用符が閉じていません: %1").arg(command));
    }
    if (inArgument) {
        arguments.append(current);
    }
    if (arguments.isEmpty() || arguments.front().isEmpty()) {
        throw TaskError(QStringLiteral("開くコマンドにプログラムがありません"));
    }
    return arguments;
}

RelayTask RelayTask::FromFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        Fail(path, QStringLiteral("ファイルがありません"));
    }
    const IniDocument ini(path);
    RelayTask task;
    const int32_t command = ini.ReadInteger(kSectionTask, QStringLiteral("COMMAND"), 0);
    if (command != static_cast<int32_t>(Command::Register) &&
        command != static_cast<int32_t>(Command::Unregister)) {
        Fail(path, QStringLiteral("[TASK] COMMAND は 1 か 2 でなければなりません"));
    }
    task.command = static_cast<Command>(command);

    // The extension ends up in a file-name pattern: a dot and plain name characters only.
    static const QRegularExpression extensionForm(QStringLiteral("^\\.[A-Za-z0-9_-]{1,32}$"));
    task.extension = ini.ReadString(kSectionExt, QStringLiteral("EXT"), QString());
    if (!extensionForm.match(task.extension).hasMatch()) {
        Fail(path, QStringLiteral("[EXT] EXT が拡張子ではありません: 「%1」").arg(task.extension));
    }
    if (task.command == Command::Unregister) {
        return task;
    }

    const QString open = ini.ReadString(kSectionExt, QStringLiteral("COMMAND"), QString());
    try {
        task.openCommand = SplitCommand(open);
    } catch (const TaskError& error) {
        Fail(path, error.Message());
    }
    if (!QFileInfo(task.openCommand.front()).isAbsolute()) {
        Fail(path, QStringLiteral("開くコマンドのプログラムが絶対パスではありません"));
    }
    if (!task.openCommand.contains(kFilePlaceholder)) {
        Fail(path, QStringLiteral("開くコマンドにファイルの位置 \"%1\" がありません"));
    }
    if (std::any_of(task.openCommand.begin(), task.openCommand.end(), HasControlCharacter)) {
        Fail(path, QStringLiteral("開くコマンドに制御文字があります"));
    }
    task.description = ini.ReadString(kSectionExt, QStringLiteral("FILE_TYPE"), QString());
    if (task.description.isEmpty() || HasControlCharacter(task.description)) {
        Fail(path, QStringLiteral("[EXT] FILE_TYPE がありません"));
    }
    return task;
}
