// One task file for TaskRelay, read and checked as a whole before anything is done with it:
// COMMAND=1 registers the extension with the program named by the open command, COMMAND=2
// removes that association again. ICON_FILE and ICON_INDEX name an icon resource inside the
// program's executable, which this desktop cannot show; the association gets TaskRelay's own
// picture instead. CLOSE asks for nothing here: TaskRelay never waits for a user.
#pragma once

#include <QString>
#include <QStringList>

#include "storage/Exception.h"

// A task file that cannot be carried out; the message names the file and the problem.
class TaskError : public Exception {
public:
    using Exception::Exception;
};

class RelayTask {
public:
    enum class Command { Register = 1, Unregister = 2 };

    // Raises TaskError for a missing or unreadable file and for any value out of place.
    static RelayTask FromFile(const QString& path);

    // Splits an open command the way the program writes it ("program" "%1"): blanks separate
    // arguments, double quotes group them and are dropped. Raises TaskError for an unclosed
    // quote or an empty command.
    static QStringList SplitCommand(const QString& command);

    Command command = Command::Register;
    QString extension;        // with its leading dot, e.g. ".SVZ"
    QStringList openCommand;  // program and arguments; "%1" stands for the file (register only)
    QString description;      // the file type's name (register only)
};
