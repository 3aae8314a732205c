// TaskRelay run as the program runs it, in a scratch XDG_DATA_HOME and XDG_CONFIG_HOME.
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
    "FILE_TYPE=Sorvane \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB & <co>\r\n"
    "ICON_FILE=/opt/my apps/sorvane\r\nICON_INDEX=0\r\n\r\n[TASK]\r\nCLOSE=1\r\nCOMMAND=1\r\n\r\n";
const QByteArray kRemove = "[EXT]\r\nEXT=.SVZ\r\n\r\n[TASK]\r\nCLOSE=1\r\nCOMMAND=2\r\n\r\n";
const QString kType = QStringLiteral("application/x-sorvane-project");

struct Outcome {
    int exitCode = -1;
    QString output;
    QString errors;
};

class TaskRelayProgram : public testing::Test {
protected:
    TaskRelayProgram()
        : root_(testsupport::ScratchDir() + "/program-" +
                testing::UnitTest::GetInstance()->current_test_info()->name()) {
        QDir().mkpath(root_ + "/tasks");
        environment_.insert(QStringLiteral("XDG_DATA_HOME"), root_ + "/data");
        environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), root_ + "/config");
    }

    QString Write(const QString& name, const QByteArray& content) const {
        QFile file(root_ + "/tasks/" + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
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
        return Run(testsupport::BinaryDir() + "/TaskRelay", arguments);
    }

    QString Read(const QString& relative) const {
        QFile file(root_ + relative);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Files under data/ and config/, less the desktop's own generated databases.
    QStringList Written() const {
        QStringList files;
        QDirIterator it(root_, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next().mid(root_.size());
            const bool database = file.startsWith("/data/mime/") && !file.contains("/packages/");
            if (!database && !file.endsWith("/mimeinfo.cache") && !file.startsWith("/tasks/")) {
                files.append(file);
            }
        }
        files.sort();
        return files;
    }

    QString root_;
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
};

TEST_F(TaskRelayProgram, RegistersTheAssociationAndRemovesExactlyIt) {
    const Outcome registered = Relay({Write("register.tmp", kRegister)});
    ASSERT_EQ(registered.exitCode, 0) << qPrintable(registered.errors);
    EXPECT_EQ(Written(), QStringList({"/config/mimeapps.list", "/data/applications/sorvane.desktop",
                                      "/data/icons/hicolor/scalable/apps/sorvane.svg",
                                      "/data/mime/packages/sorvane-project.xml"}));
    EXPECT_TRUE(Read("/data/applications/sorvane.desktop")
                    .contains("\nExec=\"/opt/my apps/sorvane\" %f\nIcon=sorvane\n"
                              "MimeType=application/x-sorvane-project;\n"));
    const QString package = Read("/data/mime/packages/sorvane-project.xml");
    EXPECT_TRUE(package.contains("<glob pattern=\"*.SVZ\"/>\n    <glob pattern=\"*.svz\"/>"));
    EXPECT_TRUE(package.contains(QStringLiteral("<comment>Sorvane ファイル &amp; &lt;co&gt;<")));
    EXPECT_EQ(Read("/config/mimeapps.list"),
              "[Default Applications]\napplication/x-sorvane-project=sorvane.desktop\n");

    // Resolved as a desktop does: the type from the shared-mime-info database (xdg-mime's own
    // "query filetype" falls back to file(1) without a database-aware helper), the
    // application from mimeapps.list.
    const QString project = Write("検索 1.SVZ", "[SYSTEM]\r\nVersion=0\r\n");
    const QString lower = Write("小文字.svz", "[SYSTEM]\r\nVersion=0\r\n");
    for (const QString& file : {project, lower}) {
        EXPECT_EQ(Run(testsupport::BinaryDir() + "/mime_type_of", {file}).output, kType)
            << qPrintable(file);
    }
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    ASSERT_FALSE(xdgMime.isEmpty()) << "xdg-utils is one of the installed packages";
    EXPECT_EQ(Run(xdgMime, {"query", "default", kType}).output, "sorvane.desktop");

    const Outcome removed = Relay({Write("remove.tmp", kRemove)});
    ASSERT_EQ(removed.exitCode, 0) << qPrintable(removed.errors);
    EXPECT_EQ(Written(), QStringList());
    EXPECT_EQ(Run(xdgMime, {"query", "default", kType}).output, QString());
    EXPECT_NE(Run(testsupport::BinaryDir() + "/mime_type_of", {project}).output, kType);
}

TEST_F(TaskRelayProgram, RefusesBadInvocationsWithAMessageAndWritesNothing) {
    const QString broken =
        Write("broken.tmp", QByteArray(kRegister).replace("COMMAND=1", "COMMAND=7"));
    const QString good = Write("good.tmp", kRegister);
    const struct {
        QStringList arguments;
        int exitCode;
    } cases[] = {{{broken}, 1}, {{root_ + "/none.tmp"}, 1}, {{}, 2}, {{good, good}, 2}};
    for (const auto& [arguments, exitCode] : cases) {
        const Outcome outcome = Relay(arguments);
        EXPECT_EQ(outcome.exitCode, exitCode) << qPrintable(arguments.join(' '));
        EXPECT_FALSE(outcome.errors.isEmpty());
    }
    EXPECT_EQ(Written(), QStringList());
}

}  // namespace
