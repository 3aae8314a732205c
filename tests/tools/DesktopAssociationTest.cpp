#include "tools/DesktopAssociation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "tests/support/TestEnvironment.h"

namespace {

struct ExecCase {
    QStringList command;
    const char* expected;
};

class DesktopExecLine : public testing::TestWithParam<ExecCase> {};

TEST_P(DesktopExecLine, QuotesEveryArgumentAndEscapesTwice) {
    EXPECT_EQ(DesktopAssociation::ExecLine(GetParam().command),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopExecLine,
    testing::Values(ExecCase{{"/opt/sorvane", "%1"}, R"("/opt/sorvane" %f)"},
                    ExecCase{{"/my apps/sorvane", "%1"}, R"("/my apps/sorvane" %f)"},
                    ExecCase{{"/a$b`c\"d/s", "%1"}, R"("/a\\$b\\`c\\"d/s" %f)"},
                    ExecCase{{"/x\\y/s", "%1"}, R"("/x\\\\y/s" %f)"},
                    ExecCase{{"/100%/s", "--open", "%1"}, R"("/100%%/s" "--open" %f)"},
                    ExecCase{{"/日本/s", "%1"}, R"("/日本/s" %f)"}));

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DesktopAssociationFiles : public testing::Test {
protected:
    void SetUp() override {
        root_ = testsupport::ScratchDir() + QStringLiteral("/association-") +
                QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir().mkpath(root_);
    }
    DesktopAssociation Desktop() const {
        return DesktopAssociation(root_ + QStringLiteral("/data"),
                                  root_ + QStringLiteral("/config"));
    }
    static RelayTask Task() {
        RelayTask task;
        task.extension = QStringLiteral(".SVZ");
        task.openCommand = {QStringLiteral("/opt/my apps/sorvane"), QStringLiteral("%1")};
        task.description = QStringLiteral("Sorvane ファイル & <more>");
        return task;
    }
    static void Write(const QString& path, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QString root_;
};

TEST_F(DesktopAssociationFiles, RegisterWritesEveryPartAndUnregisterTakesThemAway) {
    const DesktopAssociation desktop = Desktop();
    desktop.Register(Task());
    const QString entry = QString::fromUtf8(ReadAll(desktop.DesktopEntryPath()));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"/opt/my apps/sorvane\" %f\n")))
        << qPrintable(entry);
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=application/x-sorvane-project;\n")));
    const QString package = QString::fromUtf8(ReadAll(desktop.MimePackagePath()));
    EXPECT_TRUE(package.contains(QStringLiteral("<glob pattern=\"*.SVZ\"/>")));
    EXPECT_TRUE(package.contains(QStringLiteral("<glob pattern=\"*.svz\"/>")));
    EXPECT_TRUE(
        package.contains(QStringLiteral("<comment>Sorvane ファイル &amp; &lt;more&gt;</comment>")));
    EXPECT_TRUE(QFileInfo(desktop.IconPath()).size() > 0);
    EXPECT_EQ(ReadAll(desktop.MimeAppsPath()),
              "[Default Applications]\napplication/x-sorvane-project=sorvane.desktop\n");

    desktop.Unregister();
    for (const QString& path : {desktop.DesktopEntryPath(), desktop.MimePackagePath(),
                                desktop.IconPath(), desktop.MimeAppsPath()}) {
        EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
    }
}

TEST_F(DesktopAssociationFiles, AForeignFileInTheWayStopsRegisteringBeforeAnyWrite) {
    const DesktopAssociation desktop = Desktop();
    const QByteArray foreign = "[Desktop Entry]\nName=Someone else's\n";
    Write(desktop.DesktopEntryPath(), foreign);
    EXPECT_THROW(desktop.Register(Task()), TaskError);
    EXPECT_EQ(ReadAll(desktop.DesktopEntryPath()), foreign);
    EXPECT_FALSE(QFileInfo::exists(desktop.MimePackagePath()));
    EXPECT_FALSE(QFileInfo::exists(desktop.IconPath()));
    EXPECT_FALSE(QFileInfo::exists(desktop.MimeAppsPath()));
}

TEST_F(DesktopAssociationFiles, UnregisterLeavesForeignFilesAndTheUsersListAlone) {
    const DesktopAssociation desktop = Desktop();
    const QByteArray foreign = "[Desktop Entry]\nName=Someone else's\n";
    const QByteArray userList = "[Default Applications]\ntext/plain=gedit.desktop\n";
    Write(desktop.DesktopEntryPath(), foreign);
    Write(desktop.MimeAppsPath(), userList);
    desktop.Unregister();
    EXPECT_EQ(ReadAll(desktop.DesktopEntryPath()), foreign);
    EXPECT_EQ(ReadAll(desktop.MimeAppsPath()), userList);
}

TEST_F(DesktopAssociationFiles, TheUsersListComesBackWholeAfterARoundTrip) {
    const DesktopAssociation desktop = Desktop();
    const QByteArray userList =
        "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
        "application/x-sorvane-project=other.desktop\n";
    Write(desktop.MimeAppsPath(), userList);
    desktop.Register(Task());
    EXPECT_TRUE(ReadAll(desktop.MimeAppsPath())
                    .contains("application/x-sorvane-project=sorvane.desktop;other.desktop\n"));
    desktop.Unregister();
    EXPECT_EQ(ReadAll(desktop.MimeAppsPath()), userList);
}

}  // namespace
