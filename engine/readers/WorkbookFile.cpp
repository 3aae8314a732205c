#include "engine/readers/WorkbookFile.h"

#include "engine/model/ReadError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>

namespace engine {
namespace {

// An open descriptor of a regular file, closed with the object.
class RegularFile {
public:
    explicit RegularFile(const QString& path) {
        fd_ = ::open(QFile::encodeName(path).constData(),
                     O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            const int error = errno;
            if (error == ENOENT) {
                throw ReadError(ReadErrorCode::FileNotFound);
            }
            Unreadable(error);
        }
        struct stat status {};
        const bool known = ::fstat(fd_, &status) == 0;
        const int error = errno;
        if (!known || !S_ISREG(status.st_mode)) {
            ::close(fd_);  // no destructor runs for a constructor that throws
            if (known) {
                throw ReadError(ReadErrorCode::NotRegularFile);
            }
            Unreadable(error);
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
                Unreadable(errno);
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        if (exact && done < count) {
            throw ReadError(ReadErrorCode::FileShrank, {.expected = count, .found = done});
        }
        return done;
    }

private:
    [[noreturn]] static void Unreadable(int error) {
        throw ReadError(ReadErrorCode::FileUnreadable, {.found = error});
    }

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
        throw ReadError(ReadErrorCode::FileTooLarge, {.expected = maxBytes, .found = file.Size()});
    }
    // A file that grows meanwhile is read as it was when it was opened.
    QByteArray bytes(qsizetype(file.Size()), Qt::Uninitialized);
    file.Read(bytes.data(), bytes.size(), true);
    return bytes;
}

}  // namespace engine
