#include "tests/support/TestEnvironment.h"

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
    const QString dir = Scratch();
    for (const char* sub : {"home", "config", "data", "tmp", "runtime"}) {
        QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(sub));
    }
    QFile::setPermissions(dir + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetEnv("HOME", dir + QStringLiteral("/home"));
    SetEnv("XDG_CONFIG_HOME", dir + QStringLiteral("/config"));
    SetEnv("XDG_DATA_HOME", dir + QStringLiteral("/data"));
    SetEnv("TMPDIR", dir + QStringLiteral("/tmp"));
    SetEnv("XDG_RUNTIME_DIR", dir + QStringLiteral("/runtime"));
}

QString ScratchDir() { return Scratch(); }

QString RealFixturesDir() {
    const QString dir = QDir::cleanPath(QStringLiteral(SORVANE_FIXTURES_DIR));
    return QFileInfo(dir + QStringLiteral("/manifest.csv")).isFile() ? dir : QString();
}

QString BinaryDir() { return QStringLiteral(SORVANE_BINARY_DIR "/bin"); }

}  // namespace testsupport
