#include "tools/RelayTask.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "tests/support/TestEnvironment.h"

namespace {

QString WriteTask(const std::string& name, const QByteArray& content) {
    const QString path = testsupport::ScratchDir() + "/task-" + QString::fromStdString(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

TEST(RelayTask, ReadsTheRegisterTaskTheProgramWrites) {
    const RelayTask task = RelayTask::FromFile(
        WriteTask("register",
                  "[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/my apps/sorvane\" \"%1\"\r\n"
                  "FILE_TYPE=Sorvane \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\r\n"
                  "ICON_FILE=/opt/my apps/sorvane\r\nICON_INDEX=0\r\n\r\n"
                  "[TASK]\r\nCLOSE=1\r\nCOMMAND=1\r\n\r\n"));
    EXPECT_EQ(task.command, RelayTask::Command::Register);
    EXPECT_EQ(task.extension, QStringLiteral(".SVZ"));
    EXPECT_EQ(task.openCommand, QStringList({"/opt/my apps/sorvane", "%1"}));
    EXPECT_EQ(task.description, QStringLiteral("Sorvane ファイル"));
}

struct Malformed {
    std::string name;
    QByteArray content;
};

class RelayTaskMalformed : public testing::TestWithParam<Malformed> {};

TEST_P(RelayTaskMalformed, IsRejected) {
    EXPECT_THROW(RelayTask::FromFile(WriteTask(GetParam().name, GetParam().content)), TaskError);
}

// A register task with one line replaced.
Malformed Register(const std::string& name, const QByteArray& from, const QByteArray& to) {
    return {name, QByteArray("[EXT]\r\nEXT=.SVZ\r\nCOMMAND=\"/opt/sorvane\" \"%1\"\r\n"
                             "FILE_TYPE=x\r\n[TASK]\r\nCOMMAND=1\r\n")
                      .replace(from, to)};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RelayTaskMalformed,
    testing::Values(Malformed{"empty", ""}, Malformed{"binary", QByteArray("\0\x01\xFF\xFE", 4)},
                    Register("no_task_command", "COMMAND=1", ""),
                    Register("task_command_3", "COMMAND=1", "COMMAND=3"),
                    Register("task_command_word", "COMMAND=1", "COMMAND=register"),
                    Register("no_extension", "EXT=.SVZ", ""),
                    Register("extension_without_dot", "EXT=.SVZ", "EXT=SVZ"),
                    Register("extension_pattern", "EXT=.SVZ", "EXT=.*"),
                    Register("extension_path", "EXT=.SVZ", "EXT=./../x"),
                    Register("no_open_command", "COMMAND=\"/opt/sorvane\" \"%1\"", ""),
                    Register("unclosed_quote", "\"/opt/sorvane\"", "\"/opt/sorvane"),
                    Register("relative_program", "/opt/sorvane", "sorvane"),
                    Register("no_file_placeholder", " \"%1\"", ""),
                    Register("no_description", "FILE_TYPE=x", "")),
    [](const testing::TestParamInfo<Malformed>& info) { return info.param.name; });

struct Split {
    const char* command;
    QStringList expected;  // empty: rejected
};

class RelayTaskSplit : public testing::TestWithParam<Split> {};

TEST_P(RelayTaskSplit, SplitsAsTheProgramQuotes) {
    const QString command = QString::fromUtf8(GetParam().command);
    if (GetParam().expected.isEmpty()) {
        EXPECT_THROW(RelayTask::SplitCommand(command), TaskError);
    } else {
        EXPECT_EQ(RelayTask::SplitCommand(command), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RelayTaskSplit,
                         testing::Values(Split{"\"/my apps/s\" \"%1\"", {"/my apps/s", "%1"}},
                                         Split{"  /usr/bin/s   %1 ", {"/usr/bin/s", "%1"}},
                                         Split{"\"/a b\"c \"\"", {"/a bc", ""}},
                                         Split{"\"/x %1", {}}, Split{"   ", {}},
                                         Split{"\"\" %1", {}}));

}  // namespace
