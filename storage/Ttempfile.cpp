#include "storage/Ttempfile.h"

#include "storage/Tfileutility.h"

#include <unistd.h>
#include <QFile>

TTempFile::TTempFile(const QString& extension, const QString& folder)
    : fileName_(CreateTemporaryFile(folder, QString())) {
    if (extension.isEmpty()) {
        return;
    }
    const qsizetype dot = fileName_.lastIndexOf(u'.');
    const qsizetype slash = fileName_.lastIndexOf(u'/');
    const QString renamed = (dot > slash ? fileName_.left(dot) : fileName_) + extension;
    // A file that already has the new name stays; then so does the first name.
    if (RenameWithoutReplacing(fileName_, renamed)) {
        fileName_ = renamed;
    }
}

TTempFile::~TTempFile() {
    ::unlink(QFile::encodeName(fileName_).constData());
}
