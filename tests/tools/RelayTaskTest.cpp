#include "tools/RelayTask.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "tests/support/TestEnvironment.h"

namespace {

QString WriteTask(const char* name, const QByteArray& content) {
    const QString folder = testsupport::ScratchDir() + QStringLiteral("/relay-task");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".ini");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

const QByteArray kRegister =
    "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/my apps/sorvane\" \"%1\"\r\n"
    "FILE_TYPE=Sorvane \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\r\n"
    "ICON_FILE=/opt/my apps/sorvane\r\nICON_INDEX=0\r\n\r\n"
    "[TASK]\r\nCLOSE=1\r\nCOMMAND=1\r\n\r\n";

TEST(RelayTask, ReadsTheRegisterTask) {
    const RelayTask task = RelayTask::FromFile(WriteTask("register", kRegister));
    EXPECT_EQ(task.command, RelayTask::Command::Register);
    EXPECT_EQ(task.extension, QStringLiteral(".SVZ"));
    EXPECT_EQ(task.openCommand,
              QStringList({QStringLiteral("/opt/my apps/sorvane"), QStringLiteral("%1")}));
    EXPECT_EQ(task.description, QStringLiteral("Sorvane ファイル"));
}

TEST(RelayTask, ReadsTheRemoveTaskWithoutAnOpenCommand) {
    const RelayTask task = RelayTask::FromFile(
        WriteTask("remove", "[EXT]\r\nEXT=.SVZ\r\n\r\n[TASK]\r\nCLOSE=1\r\nCOMMAND=2\r\n\r\n"));
    EXPECT_EQ(task.command, RelayTask::Command::Unregister);
    EXPECT_EQ(task.extension, QStringLiteral(".SVZ"));
    EXPECT_TRUE(task.openCommand.isEmpty());
}

TEST(RelayTask, AMissingFileIsAnErrorNamingIt) {
    const QString path = testsupport::ScratchDir() + QStringLiteral("/no-such-task.ini");
    try {
        RelayTask::FromFile(path);
        FAIL() << "no error for a missing task file";
    } catch (const TaskError& error) {
        EXPECT_TRUE(error.Message().contains(path)) << error.what();
    }
}

struct MalformedTask {
    const char* name;
    QByteArray content;
};

class RelayTaskMalformed : public testing::TestWithParam<MalformedTask> {};

TEST_P(RelayTaskMalformed, IsRejected) {
    const QString path = WriteTask(GetParam().name, GetParam().content);
    EXPECT_THROW(RelayTask::FromFile(path), TaskError);
}

const QByteArray kExtRemove = "[EXT]\r\nEXT=.SVZ\r\n[TASK]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, RelayTaskMalformed,
    testing::Values(
        MalformedTask{"empty", ""}, MalformedTask{"binary", QByteArray("\0\x01\xFF\xFE", 4)},
        MalformedTask{"no_command", "[EXT]\r\nEXT=.SVZ\r\n"},
        MalformedTask{"command_zero", kExtRemove + "COMMAND=0\r\n"},
        MalformedTask{"command_three", kExtRemove + "COMMAND=3\r\n"},
        MalformedTask{"command_word", kExtRemove + "COMMAND=register\r\n"},
        MalformedTask{"no_extension", "[TASK]\r\nCOMMAND=2\r\n"},
        MalformedTask{"extension_without_dot", "[EXT]\r\nEXT=SVZ\r\n[TASK]\r\nCOMMAND=2\r\n"},
        MalformedTask{"extension_pattern", "[EXT]\r\nEXT=.*\r\n[TASK]\r\nCOMMAND=2\r\n"},
        MalformedTask{"extension_path", "[EXT]\r\nEXT=./../x\r\n[TASK]\r\nCOMMAND=2\r\n"},
        MalformedTask{"register_without_open_command",
                      "[EXT]\r\nEXT=.SVZ\r\nFILE_TYPE=x\r\n[TASK]\r\nCOMMAND=1\r\n"},
        MalformedTask{"unclosed_quote",
                      "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/s \"%1\"\r\nFILE_TYPE=x\r\n"
                      "[TASK]\r\nCOMMAND=1\r\n"},
        MalformedTask{"relative_program",
                      "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"sorvane\" \"%1\"\r\nFILE_TYPE=x\r\n"
                      "[TASK]\r\nCOMMAND=1\r\n"},
        MalformedTask{"no_file_placeholder",
                      "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/sorvane\"\r\nFILE_TYPE=x\r\n"
                      "[TASK]\r\nCOMMAND=1\r\n"},
        MalformedTask{"no_description",
                      "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/sorvane\" \"%1\"\r\n"
                      "[TASK]\r\nCOMMAND=1\r\n"}),
    [](const testing::TestParamInfo<MalformedTask>& info) { return info.param.name; });

struct SplitCase {
    const char* command;
    QStringList expected;  // empty: the command is rejected
};

class RelayTaskSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(RelayTaskSplit, SplitsLikeTheProgramQuotes) {
    const QString command = QString::fromUtf8(GetParam().command);
    if (GetParam().expected.isEmpty()) {
        EXPECT_THROW(RelayTask::SplitCommand(command), TaskError);
    } else {
        EXPECT_EQ(RelayTask::SplitCommand(command), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RelayTaskSplit,
    testing::Values(SplitCase{"\"/my apps/sorvane\" \"%1\"", {"/my apps/sorvane", "%1"}},
                    SplitCase{"/usr/bin/sorvane %1", {"/usr/bin/sorvane", "%1"}},
                    SplitCase{"  \"/x\"   %1  ", {"/x", "%1"}},
                    SplitCase{"\"/a b\"c %1", {"/a bc", "%1"}},
                    SplitCase{"\"/x\" \"\"", {"/x", ""}},
                    SplitCase{"\"/日本語 フォルダ/s\" \"%1\"", {"/日本語 フォルダ/s", "%1"}},
                    SplitCase{"\"/x %1", {}}, SplitCase{"", {}}, SplitCase{"   ", {}},
                    SplitCase{"\"\" %1", {}}));

}  // namespace
