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

// Quoted and escaped for the command line, then backslashes doubled for the entry's string.
TEST_P(DesktopExecLine, QuotesEveryArgumentAndEscapesTwice) {
    EXPECT_EQ(DesktopAssociation::ExecLine(GetParam().command),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopExecLine,
    testing::Values(ExecCase{{"/my apps/sorvane", "%1"}, R"("/my apps/sorvane" %f)"},
                    ExecCase{{"/a$b`c\"d/s", "%1"}, R"("/a\\$b\\`c\\"d/s" %f)"},
                    ExecCase{{"/x\\y/s", "%1"}, R"("/x\\\\y/s" %f)"},
                    ExecCase{{"/100%/s", "--open", "%1"}, R"("/100%%/s" "--open" %f)"}));

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class DesktopAssociationFiles : public testing::Test {
protected:
    DesktopAssociationFiles()
        : root_(testsupport::ScratchDir() + "/association-" +
                testing::UnitTest::GetInstance()->current_test_info()->name()),
          desktop_(root_ + "/data", root_ + "/config") {
        task_.extension = QStringLiteral(".SVZ");
        task_.openCommand = QStringList({"/opt/sorvane", "%1"});
        task_.description = QStringLiteral("Sorvane ファイル");
    }
    QString root_;
    DesktopAssociation desktop_;
    RelayTask task_;
    const QByteArray foreign_ = "[Desktop Entry]\nName=Someone else's\n";
};

TEST_F(DesktopAssociationFiles, AForeignFileInTheWayStopsRegisteringBeforeAnyWrite) {
    Write(desktop_.DesktopEntryPath(), foreign_);
    EXPECT_THROW(desktop_.Register(task_), TaskError);
    EXPECT_EQ(ReadAll(desktop_.DesktopEntryPath()), foreign_);
    for (const QString& path :
         {desktop_.MimePackagePath(), desktop_.IconPath(), desktop_.MimeAppsPath()}) {
        EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
    }
}

TEST_F(DesktopAssociationFiles, UnregisterRemovesOnlyOurFilesAndRestoresTheUsersList) {
    const QByteArray userList =
        "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
        "application/x-sorvane-project=other.desktop\n";
    Write(desktop_.MimeAppsPath(), userList);
    desktop_.Register(task_);
    EXPECT_TRUE(ReadAll(desktop_.MimeAppsPath())
                    .contains("application/x-sorvane-project=sorvane.desktop;other.desktop\n"));
    Write(desktop_.DesktopEntryPath(), foreign_);  // the user's own entry replaced ours
    desktop_.Unregister();
    EXPECT_EQ(ReadAll(desktop_.MimeAppsPath()), userList);
    EXPECT_EQ(ReadAll(desktop_.DesktopEntryPath()), foreign_);
    EXPECT_FALSE(QFileInfo::exists(desktop_.MimePackagePath()));
    EXPECT_FALSE(QFileInfo::exists(desktop_.IconPath()));
}

}  // namespace
