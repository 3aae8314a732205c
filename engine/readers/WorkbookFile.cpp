#include "engine/readers/WorkbookFile.h"

#include "engine/model/EngineError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace engine {
namespace {

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// An open descriptor of a regular file, closed with the object.
class RegularFile {
public:
    explicit RegularFile(const QString& path) : path_(path) {
        fd_ = ::open(QFile::encodeName(path).constData(),
                     O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            const int error = errno;
            throw EngineError::ForFile(
                error == ENOENT ? EngineErrorKind::FileNotFound : EngineErrorKind::CannotRead, path,
                SystemText(error));
        }
        struct stat status {};
        const bool known = ::fstat(fd_, &status) == 0;
        const int error = errno;
        if (!known || !S_ISREG(status.st_mode)) {
            ::close(fd_);  // no destructor runs for a constructor that throws
            Fail(known ? QStringLiteral("not a regular file") : SystemText(error));
        }
        size_ = status.st_size;
    }
    ~RegularFile() { ::close(fd_); }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    qint64 Size() const { return size_; }

    // Reads exactly `count` bytes into `out`, or up to the end when `exact` is false.
    qsizetype Read(char* out, qsizetype count, bool exact) const {
        qsizetype done = 0;
        while (done < count) {
            const ssize_t got = ::read(fd_, out + done, size_t(count - done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                Fail(SystemText(errno));
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        if (exact && done < count) {
            Fail(QStringLiteral("the file shrank from %1 to %2 bytes while it was read")
                     .arg(count)
                     .arg(done));
        }
        return done;
    }

    [[noreturn]] void Fail(const QString& detail) const {
        throw EngineError::ForFile(EngineErrorKind::CannotRead, path_, detail);
    }

private:
    QString path_;
    int fd_ = -1;
    qint64 size_ = 0;
};

}  // namespace

QByteArray WorkbookFile::Head(const QString& path, qsizetype count) {
    const RegularFile file(path);
    QByteArray head(count, Qt::Uninitialized);
    head.truncate(file.Read(head.data(), count, false));
    return head;
}

QByteArray WorkbookFile::ReadAll(const QString& path, qint64 maxBytes) {
    const RegularFile file(path);
    if (file.Size() > maxBytes) {
        throw EngineError::ForFile(EngineErrorKind::TooLarge, path,
                                   QStringLiteral("%1 bytes").arg(file.Size()));
    }
    // A file that grows meanwhile is read as it was when it was opened.
    QByteArray bytes(qsizetype(file.Size()), Qt::Uninitialized);
    file.Read(bytes.data(), bytes.size(), true);
    return bytes;
}

}  // namespace engine
