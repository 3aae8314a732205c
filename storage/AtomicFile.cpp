#include "storage/AtomicFile.h"

#include "storage/Exception.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace {

[[noreturn]] void Fail(const QString& path, int error) {
    throw Exception(QStringLiteral("ファイルに書き込めませんでした。\n%1\n%2")
                        .arg(path, qt_error_string(error)));
}

// A new file beside the target; the umask applies to its mode as to any new file.
int CreateSibling(const QString& target, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(target) + '.' +
               QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Writes everything, resuming after short writes; false with errno set on failure.
bool WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

}  // namespace

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    // Through a symbolic link the file it points to is replaced, not the link.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;

    QByteArray temp;
    const int fd = CreateSibling(target, temp);
    if (fd < 0) {
        Fail(path, errno);
    }
    struct stat old {};
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (ok && ::stat(QFile::encodeName(target).constData(), &old) == 0) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        Fail(path, error);
    }
}
