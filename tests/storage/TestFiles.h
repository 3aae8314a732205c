// Helpers for the storage tests: a fresh folder per test in the scratch home, whole files as
// bytes, and an environment variable changed for one scope.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdlib>

namespace storagetest {

inline QString TestDir() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    QDir dir(testsupport::ScratchDir() + QStringLiteral("/storage/") + test->test_suite_name() +
             u'.' + test->name());
    dir.removeRecursively();
    QDir().mkpath(dir.path());
    return dir.path();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)  // a null value unsets
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() { had_ ? setenv(name_, old_.constData(), 1) : unsetenv(name_); }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

}  // namespace storagetest
