#include "storage/Tfileutility.h"

#include "storage/Exception.h"

#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <cstdio>
#include <cstdlib>

QString GetTemporaryDirectory() {
    QString dir = qEnvironmentVariable("TMPDIR");
    if (dir.isEmpty()) {
        dir = QStringLiteral("/tmp");
    }
    if (!dir.endsWith(u'/')) {
        dir += u'/';
    }
    return dir;
}

QString CreateTemporaryFile(const QString& folder, const QString& prefix) {
    QString dir = folder.isEmpty() ? GetTemporaryDirectory() : folder;
    if (!dir.endsWith(u'/')) {
        dir += u'/';
    }
    static const QString kSuffix = QStringLiteral(".TMP");
    QByteArray path = QFile::encodeName(dir + prefix + QStringLiteral("XXXXXX") + kSuffix);
    // mkstemps creates the file with O_EXCL, so the name is ours even when others race for it.
    const int fd = mkstemps(path.data(), int(kSuffix.size()));
    if (fd < 0) {
        throw Exception(QStringLiteral("一時ファイルの作成に失敗しました。"));
    }
    ::close(fd);
    return QFile::decodeName(path);
}

bool RenameWithoutReplacing(const QString& from, const QString& to) {
    return renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                     QFile::encodeName(to).constData(), RENAME_NOREPLACE) == 0;
}
