#include "storage/Ttempfile.h"

#include "storage/Tfileutility.h"

#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <cstdio>

TTempFile::TTempFile(const QString& extension, const QString& folder)
    : fileName_(CreateTemporaryFile(folder, QString())) {
    if (extension.isEmpty()) {
        return;
    }
    const qsizetype dot = fileName_.lastIndexOf(u'.');
    const qsizetype slash = fileName_.lastIndexOf(u'/');
    const QString renamed = (dot > slash ? fileName_.left(dot) : fileName_) + extension;
    // Never replace a file that already has the new name; then the first name stays.
    if (renameat2(AT_FDCWD, QFile::encodeName(fileName_).constData(), AT_FDCWD,
                  QFile::encodeName(renamed).constData(), RENAME_NOREPLACE) == 0) {
        fileName_ = renamed;
    }
}

TTempFile::~TTempFile() {
    ::unlink(QFile::encodeName(fileName_).constData());
}
