#include "tests/support/TestEnvironment.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace testsupport {
namespace {

QString& Scratch() {
    static QString dir;
    return dir;
}

void SetEnv(const char* name, const QString& value) {
    setenv(name, value.toLocal8Bit().constData(), 1);
}

// Empties the folder open as `fd` (which it closes) relative to descriptors, so no path grows.
bool EmptyFolder(int fd) {
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return false;
    }
    bool emptied = true;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat status {};
        if (fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            emptied = false;
            continue;
        }
        if (S_ISDIR(status.st_mode)) {
            const int child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            emptied = child >= 0 && EmptyFolder(child) && emptied;
            emptied = unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0 && emptied;
        } else {
            emptied = unlinkat(fd, name.c_str(), 0) == 0 && emptied;
        }
    }
    closedir(dir);
    return emptied;
}

void RemoveScratch() {
    RemoveTree(Scratch());
}

}  // namespace

void PrepareEnvironment() {
    // Created under the build folder, never under the user's home or the system temp folder.
    const QString root = QStringLiteral(SORVANE_BINARY_DIR "/test-scratch");
    QDir().mkpath(root);
    std::string pattern = (root + QStringLiteral("/run-XXXXXX")).toStdString();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create the test scratch folder");
    }
    Scratch() = QString::fromStdString(pattern);
    std::atexit(RemoveScratch);
    const QString dir = Scratch();
    for (const char* sub : {"home", "config", "data", "cache", "tmp", "runtime"}) {
        QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(sub));
    }
    QFile::setPermissions(dir + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetEnv("HOME", dir + QStringLiteral("/home"));
    SetEnv("XDG_CONFIG_HOME", dir + QStringLiteral("/config"));
    SetEnv("XDG_DATA_HOME", dir + QStringLiteral("/data"));
    SetEnv("XDG_CACHE_HOME", dir + QStringLiteral("/cache"));
    SetEnv("TMPDIR", dir + QStringLiteral("/tmp"));
    SetEnv("XDG_RUNTIME_DIR", dir + QStringLiteral("/runtime"));
}

QString ScratchDir() {
    return Scratch();
}

QString RealFixturesDir() {
    const QString dir = QDir::cleanPath(QStringLiteral(SORVANE_FIXTURES_DIR));
    return QFileInfo(dir + QStringLiteral("/manifest.csv")).isFile() ? dir : QString();
}

QString BinaryDir() {
    return QStringLiteral(SORVANE_BINARY_DIR "/bin");
}

int MakeDeepFolder(const QString& path, int bytes) {
    if (!QDir().mkpath(path)) {
        return 0;
    }
    int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::string level(200, 'd');
    qsizetype length = QFile::encodeName(path).size();
    int depth = 0;
    while (fd >= 0 && length <= bytes) {
        if (mkdirat(fd, level.c_str(), 0700) != 0) {
            break;
        }
        const int next = openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(fd);
        fd = next;
        length += qsizetype(level.size()) + 1;
        ++depth;
    }
    if (fd >= 0) {
        close(fd);
    }
    return length > bytes ? depth : 0;
}

bool RemoveTree(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 && EmptyFolder(fd) && rmdir(name.constData()) == 0;
}

}  // namespace testsupport
