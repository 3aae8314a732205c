// TaskRelay: carries out one file-association task file written by Sorvane, then ends.
// Usage: TaskRelay <task file>. Exit 0 when done; 1 with a message on stderr when the task
// cannot be carried out (nothing is then changed); 2 for a wrong command line.
#include <QCoreApplication>
#include <cstdio>

#include "tools/DesktopAssociation.h"
#include "tools/RelayTask.h"

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: TaskRelay <task file>\n", stderr);
        return 2;
    }
    try {
        const RelayTask task = RelayTask::FromFile(arguments[1]);
        const DesktopAssociation desktop = DesktopAssociation::ForCurrentUser();
        if (task.command == RelayTask::Command::Register) {
            desktop.Register(task);
        } else {
            desktop.Unregister();
        }
    } catch (const Exception& error) {
        std::fprintf(stderr, "TaskRelay: %s\n", error.what());
        return 1;
    }
    return 0;
}
