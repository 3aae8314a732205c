// File helpers for the storage tests: a fresh folder per test under the scratch home, and whole
// files read and written as bytes.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace storagetest {

// An empty folder named after the running test (parameterised tests get one per case).
inline QString TestDir() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    QString name =
        QString::fromUtf8(info->test_suite_name()) + u'.' + QString::fromUtf8(info->name());
    name.replace(u'/', u'_');
    QDir dir(testsupport::ScratchDir() + QStringLiteral("/storage/") + name);
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace storagetest
