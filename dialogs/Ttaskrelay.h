// Writes the task files for the sibling program TaskRelay and runs it: TaskRelay, in the
// program's own folder, carries out the registration or removal of a file-type association.
// The task file lives in a TTempFile for the length of one call and is gone afterwards.
#pragma once

#include <QString>

class TTaskRelay {
public:
    // The relay for the running program (QCoreApplication::applicationFilePath()).
    TTaskRelay();
    // The relay for a program at an explicit path: the open command and the icon name it, and
    // TaskRelay is looked for in its folder.
    explicit TTaskRelay(QString programPath);

    // Register: [EXT] EXT, COMMAND, FILE_TYPE, ICON_FILE, ICON_INDEX; [TASK] CLOSE=1, COMMAND=1.
    void RegisterExtension(const QString& extension, const QString& description,
                           int iconIndex) const;
    // Remove: [EXT] EXT; [TASK] CLOSE=1, COMMAND=2.
    void UnregisterExtension(const QString& extension) const;
    // Starts TaskRelay with the task file's path as its only argument and waits for it to end.
    // A missing or failing TaskRelay is not reported: the association is not verified.
    void RunTask(const QString& taskFile) const;

private:
    QString ExecutablePath() const;

    QString programPath_;
};
