// TaskRelay run as the program runs it: one task file path as its only argument, in a scratch
// XDG_DATA_HOME and XDG_CONFIG_HOME per test.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "tests/support/TestEnvironment.h"

namespace {

const QByteArray kRegister =
    "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/my apps/sorvane\" \"%1\"\r\n"
    "FILE_TYPE=Sorvane \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\r\n"
    "ICON_FILE=/opt/my apps/sorvane\r\nICON_INDEX=0\r\n\r\n"
    "[TASK]\r\nCLOSE=1\r\nCOMMAND=1\r\n\r\n";
const QByteArray kRemove = "[EXT]\r\nEXT=.SVZ\r\n\r\n[TASK]\r\nCLOSE=1\r\nCOMMAND=2\r\n\r\n";

struct Outcome {
    int exitCode = -1;
    QString output;
    QString errors;
};

class TaskRelayProgram : public testing::Test {
protected:
    void SetUp() override {
        root_ = testsupport::ScratchDir() + QStringLiteral("/program-") +
                QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
        for (const char* sub : {"data", "config", "tasks"}) {
            QDir().mkpath(root_ + QLatin1Char('/') + QLatin1String(sub));
        }
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert(QStringLiteral("XDG_DATA_HOME"), Data());
        environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), Config());
    }

    QString Data() const { return root_ + QStringLiteral("/data"); }
    QString Config() const { return root_ + QStringLiteral("/config"); }

    QString Task(const char* name, const QByteArray& content) const {
        const QString path = root_ + QStringLiteral("/tasks/") + QLatin1String(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    Outcome Run(const QString& program, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << qPrintable(program);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
                QString::fromUtf8(process.readAllStandardError())};
    }

    Outcome Relay(const QStringList& arguments) const {
        return Run(testsupport::BinaryDir() + QStringLiteral("/TaskRelay"), arguments);
    }

    QStringList FilesUnder(const QString& folder) const {
        QStringList files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files.append(it.next());
        }
        return files;
    }

    QString root_;
    QProcessEnvironment environment_;
};

TEST_F(TaskRelayProgram, RegistersAndRemovesTheAssociation) {
    const Outcome registered = Relay({Task("register.tmp", kRegister)});
    ASSERT_EQ(registered.exitCode, 0) << qPrintable(registered.errors);
    EXPECT_TRUE(QFileInfo::exists(Data() + QStringLiteral("/applications/sorvane.desktop")));
    EXPECT_TRUE(QFileInfo::exists(Data() + QStringLiteral("/mime/packages/sorvane-project.xml")));
    EXPECT_TRUE(QFileInfo::exists(Config() + QStringLiteral("/mimeapps.list")));

    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        const QStringList query = {QStringLiteral("query"), QStringLiteral("default"),
                                   QStringLiteral("application/x-sorvane-project")};
        EXPECT_EQ(Run(xdgMime, query).output, QStringLiteral("sorvane.desktop"));
        if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
            const QString project = Task("検索 プロジェクト.SVZ", "[SYSTEM]\r\nVersion=0\r\n");
            EXPECT_EQ(
                Run(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"), project}).output,
                QStringLiteral("application/x-sorvane-project"));
        }
    }

    const Outcome removed = Relay({Task("remove.tmp", kRemove)});
    ASSERT_EQ(removed.exitCode, 0) << qPrintable(removed.errors);
    const QStringList left = FilesUnder(Data()) + FilesUnder(Config());
    for (const QString& file : left) {
        // Only the desktop's own generated databases stay behind.
        EXPECT_FALSE(file.endsWith(QLatin1String(".desktop")) ||
                     file.endsWith(QLatin1String(".svg")) ||
                     file.endsWith(QLatin1String("mimeapps.list")) ||
                     file.contains(QLatin1String("/packages/")))
            << qPrintable(file);
    }
    if (!xdgMime.isEmpty()) {
        EXPECT_EQ(Run(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                                QStringLiteral("application/x-sorvane-project")})
                      .output,
                  QString());
    }
}

TEST_F(TaskRelayProgram, AMalformedTaskFileFailsWithAMessageAndWritesNothing) {
    const QByteArray broken = QByteArray(kRegister).replace("COMMAND=1", "COMMAND=7");
    const Outcome outcome = Relay({Task("broken.tmp", broken)});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.errors.contains(QStringLiteral("TaskRelay:")))
        << qPrintable(outcome.errors);
    EXPECT_EQ(FilesUnder(Data()) + FilesUnder(Config()), QStringList());
}

TEST_F(TaskRelayProgram, AMissingTaskFileFailsAndWritesNothing) {
    const Outcome outcome = Relay({root_ + QStringLiteral("/tasks/none.tmp")});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_FALSE(outcome.errors.isEmpty());
    EXPECT_EQ(FilesUnder(Data()) + FilesUnder(Config()), QStringList());
}

TEST_F(TaskRelayProgram, TakesExactlyOneArgument) {
    const QString task = Task("register.tmp", kRegister);
    EXPECT_EQ(Relay({}).exitCode, 2);
    EXPECT_EQ(Relay({task, task}).exitCode, 2);
    EXPECT_EQ(FilesUnder(Data()) + FilesUnder(Config()), QStringList());
}

}  // namespace
