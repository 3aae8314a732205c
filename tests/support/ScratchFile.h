// Writes a file of given bytes into the test's scratch folder (GoogleTest executables).
#pragma once

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QString>

namespace testsupport {

inline QString WriteScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = ScratchDir() + u'/' + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

}  // namespace testsupport
