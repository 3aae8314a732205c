// Reads a workbook file's bytes safely. Only a regular file is read, and it is opened without
// blocking: a FIFO or a device named like a workbook would otherwise hang the open or the
// read. The file is copied into memory rather than mapped, so a file that is truncated or
// rewritten while a book is read gives that book's "cannot read" error, not a bus error.
// Raises ReadError.
#pragma once

#include <QByteArray>
#include <QString>

namespace engine {

class WorkbookFile {
public:
    // The first `count` bytes, fewer when the file is shorter.
    static QByteArray Head(const QString& path, qsizetype count);
    // The whole file; FileTooLarge when it holds more than `maxBytes`, FileShrank when it shrinks
    // while it is read.
    static QByteArray ReadAll(const QString& path, qint64 maxBytes);
};

}  // namespace engine
