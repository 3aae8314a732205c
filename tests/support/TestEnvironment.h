// Test-process set-up shared by every test executable: a scratch home (XDG_CONFIG_HOME,
// XDG_DATA_HOME, TMPDIR, HOME) so no test touches the real one, and the real fixture files.
#pragma once

#include <QString>

namespace testsupport {

// Creates a fresh scratch folder and points the environment at it; the folder is removed when
// the process exits normally. Called by the test mains before anything else runs.
void PrepareEnvironment();

// The scratch folder of this test process (no trailing "/").
QString ScratchDir();

// The folder of the real fixture workbooks (../shared/fixtures/real), or the empty string when
// it is absent. Tests that need it call GTEST_SKIP() with a message when it is empty.
QString RealFixturesDir();

// The build's folder of executables (sorvane-search, TaskRelay, ...).
QString BinaryDir();

// Creates folders nested under `path` (which is made) until the innermost one's full path is
// longer than `bytes`, past what a path-based call can reach; returns how many were made, or
// 0 on failure.
int MakeDeepFolder(const QString& path, int bytes);

// Removes a folder and everything in it, however deep; false when something stayed.
bool RemoveTree(const QString& path);

}  // namespace testsupport

// For Qt Test executables: prepares the environment before the application object exists.
#define SORVANE_QTEST_MAIN(TestClass)            \
    int main(int argc, char** argv) {            \
        testsupport::PrepareEnvironment();       \
        QApplication app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass test;                          \
        return QTest::qExec(&test, argc, argv);  \
    }
