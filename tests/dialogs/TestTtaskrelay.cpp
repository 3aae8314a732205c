// The task files byte for byte, as a stand-in TaskRelay in a program folder with blanks in its
// path receives them.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "dialogs/Ttaskrelay.h"
#include "tests/support/TestEnvironment.h"

namespace {

// Keeps a copy of the task file and the arguments it was given, one pair per run.
const char kStandIn[] =
    "#!/bin/sh\n"
    "cp \"$1\" \"$SORVANE_CAPTURE/task-$$\"\n"
    "printf '%s\\n' \"$#\" \"$1\" > \"$SORVANE_CAPTURE/args-$$\"\n";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    QByteArray task;
    QStringList arguments;  // the argument count, then the arguments
};

}  // namespace

class TestTtaskrelay : public QObject {
    Q_OBJECT

private:
    QString folder_;
    QString program_;
    QString capture_;

    QList<Run> CapturedRuns() const {
        QList<Run> runs;
        const QDir captured(capture_);
        for (const QString& name : captured.entryList({QStringLiteral("task-*")}, QDir::Files)) {
            const QString id = name.mid(5);
            const QString args = QString::fromUtf8(ReadAll(captured.filePath("args-" + id)));
            runs.append({ReadAll(captured.filePath(name)),
                         args.split(QLatin1Char('\n'), Qt::SkipEmptyParts)});
        }
        return runs;
    }

    QStringList TemporaryFiles() const {
        return QDir(QString::fromLocal8Bit(qgetenv("TMPDIR"))).entryList(QDir::Files);
    }

private slots:
    void initTestCase() {
        folder_ = testsupport::ScratchDir() + QStringLiteral("/my programs/Sorvane 1.0");
        program_ = folder_ + QStringLiteral("/sorvane");
        QVERIFY(QDir().mkpath(folder_));
        QFile standIn(folder_ + QStringLiteral("/TaskRelay"));
        QVERIFY(standIn.open(QIODevice::WriteOnly));
        standIn.write(kStandIn);
        standIn.close();
        QVERIFY(standIn.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init() {
        capture_ = testsupport::ScratchDir() + QStringLiteral("/capture-") +
                   QString::fromLatin1(QTest::currentTestFunction());
        QVERIFY(QDir().mkpath(capture_));
        qputenv("SORVANE_CAPTURE", capture_.toLocal8Bit());
    }

    // Pressed twice: two runs, each with a task file of its own, removed after it.
    void writesTheRegisterTask() {
        const QStringList temporaryBefore = TemporaryFiles();
        const TTaskRelay relay(program_);
        relay.RegisterExtension(QStringLiteral(".SVZ"), QStringLiteral("Sorvane ファイル"), 0);
        relay.RegisterExtension(QStringLiteral(".SVZ"), QStringLiteral("Sorvane ファイル"), 0);
        const QList<Run> runs = CapturedRuns();
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs[0].task, runs[1].task);
        QVERIFY(runs[0].arguments.value(1) != runs[1].arguments.value(1));
        const QByteArray path = program_.toUtf8();
        QCOMPARE(runs[0].task,
                 "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"" + path + "\" \"%1\"\r\n" +
                     "FILE_TYPE=Sorvane ファイル\r\nICON_FILE=" + path +
                     "\r\nICON_INDEX=0\r\n\r\n[TASK]\r\nCLOSE=1\r\nCOMMAND=1\r\n\r\n");
        // One argument, the task file's path as it is, and the file gone after the run.
        for (const Run& run : runs) {
            QCOMPARE(run.arguments.size(), 2);
            QCOMPARE(run.arguments[0], QStringLiteral("1"));
            QVERIFY(run.arguments[1].startsWith(QLatin1Char('/')));
            QVERIFY(!QFile::exists(run.arguments[1]));
        }
        QCOMPARE(TemporaryFiles(), temporaryBefore);
    }

    void writesTheRemoveTask() {
        TTaskRelay(program_).UnregisterExtension(QStringLiteral(".SVZ"));
        const QList<Run> runs = CapturedRuns();
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].task, QByteArray("[EXT]\r\nEXT=.SVZ\r\n\r\n[TASK]\r\nCLOSE=1\r\n"
                                          "COMMAND=2\r\n\r\n"));
        QVERIFY(!QFile::exists(runs[0].arguments.value(1)));
    }

    void withoutTaskRelayNothingHappens() {
        const QString elsewhere = testsupport::ScratchDir() + QStringLiteral("/no relay here");
        QVERIFY(QDir().mkpath(elsewhere));
        const QStringList temporaryBefore = TemporaryFiles();
        const TTaskRelay relay(elsewhere + QStringLiteral("/sorvane"));
        relay.RegisterExtension(QStringLiteral(".SVZ"), QStringLiteral("Sorvane ファイル"), 0);
        relay.UnregisterExtension(QStringLiteral(".SVZ"));
        QCOMPARE(CapturedRuns().size(), 0);
        QCOMPARE(TemporaryFiles(), temporaryBefore);
    }
};

SORVANE_QTEST_MAIN(TestTtaskrelay)
#include "TestTtaskrelay.moc"
