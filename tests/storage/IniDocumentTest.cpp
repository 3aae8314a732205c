#include "storage/IniDocument.h"

#include "storage/Exception.h"
#include "tests/storage/TestFiles.h"

#include <sys/resource.h>
#include <QStringEncoder>
#include <csignal>
#include <random>

namespace {

using storagetest::ReadBytes;
using storagetest::TestDir;
using storagetest::WriteBytes;

TEST(IniDocument, RewriteKeepsUnknownEntriesInPlaceAndDropsComments) {
    const QString path = TestDir() + QStringLiteral("/a.ini");
    WriteBytes(path,
               "orphan=1\n; comment\n[Startup]\n  Extra = kept  \n\nWindowState=1\n"
               "no equals sign\n[Other]\nx=y\n");
    IniDocument ini(path);
    ini.WriteInteger(QStringLiteral("STARTUP"), QStringLiteral("windowstate"), 2);
    ini.WriteString(QStringLiteral("startup"), QStringLiteral("New"), QStringLiteral("v"));
    ini.WriteBool(QStringLiteral("Added"), QStringLiteral("Flag"), true);
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path),
              "[Startup]\r\nExtra=kept\r\nWindowState=2\r\nno equals sign\r\nNew=v\r\n\r\n"
              "[Other]\r\nx=y\r\n\r\n[Added]\r\nFlag=1\r\n\r\n");
}

TEST(IniDocument, ReadsMissingKeysAsDefaultAndEmptyValuesAsEmpty) {
    const QString path = TestDir() + QStringLiteral("/a.ini");
    WriteBytes(path, "[S]\r\nEmpty=\r\nText = two words \r\n");
    const IniDocument ini(path);
    const QString def = QStringLiteral("def");
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("Missing"), def), def);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Nowhere"), QStringLiteral("Empty"), def), def);
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("EMPTY"), def), QString());
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("text"), def),
              QStringLiteral("two words"));
}

TEST(IniDocument, LineBreaksInWrittenValuesCannotInjectLines) {
    const QString path = TestDir() + QStringLiteral("/a.ini");
    IniDocument ini(path);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Word"), QStringLiteral("a\r\n[X]\nb"));
    ini.UpdateFile();
    const IniDocument reread(path);
    EXPECT_EQ(reread.ReadString(QStringLiteral("S"), QStringLiteral("Word"), {}),
              QStringLiteral("a  [X] b"));
}

struct IntegerCase {
    const char* text;
    bool valid;
    int32_t value;
};

class IniInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(IniInteger, ParsesDecimalAndBothHexFormsWithinRange) {
    int32_t value = 12345;
    ASSERT_EQ(IniDocument::ParseInteger(QString::fromUtf8(GetParam().text), value),
              GetParam().valid);
    if (GetParam().valid) {
        EXPECT_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, IniInteger,
    testing::Values(
        IntegerCase{"42", true, 42}, IntegerCase{"-5", true, -5}, IntegerCase{"+7", true, 7},
        IntegerCase{"$1F", true, 31}, IntegerCase{"0x200", true, 512},
        IntegerCase{"0XfF", true, 255}, IntegerCase{"2147483647", true, INT32_MAX},
        IntegerCase{"-2147483648", true, INT32_MIN}, IntegerCase{"2147483648", false, 0},
        IntegerCase{"0x80000000", false, 0}, IntegerCase{"99999999999999999999999", false, 0},
        IntegerCase{"", false, 0}, IntegerCase{"abc", false, 0}, IntegerCase{"12a", false, 0},
        IntegerCase{"0x", false, 0}, IntegerCase{"$", false, 0}, IntegerCase{"-", false, 0},
        IntegerCase{"1 2", false, 0}, IntegerCase{"１２", false, 0}, IntegerCase{"yes", false, 0}));

TEST(IniDocument, TypedReadsFallBackToTheDefault) {
    const QString path = TestDir() + QStringLiteral("/a.ini");
    WriteBytes(path, "[S]\nBig=4294967296\nFive=5\nZero=0\nYes=yes\n");
    const IniDocument ini(path);
    const QString s = QStringLiteral("S");
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Big"), 434), 434);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Five"), 434), 5);
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("Five"), false));
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("Zero"), true));
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("Yes"), true));
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("Yes"), false));
}

TEST(IniDocument, FailedWriteRaisesAndLeavesTheOldFileWhole) {
    const QString dir = TestDir();
    const QString path = dir + QStringLiteral("/a.ini");
    const QByteArray old = "[S]\r\nKey=old\r\n\r\n";
    WriteBytes(path, old);
    IniDocument ini(path);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("Key"), QString(4096, u'x'));

    // A file-size limit makes the write fail like a full disk does, even for root.
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    try {
        ini.UpdateFile();
    } catch (const Exception& e) {
        message = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("a.ini")});
}

TEST(IniDocument, UnreadableOrUnwritablePathsRaise) {
    const QString dir = TestDir();
    EXPECT_THROW(IniDocument{dir}, Exception);
    IniDocument orphan(dir + QStringLiteral("/missing/a.ini"));
    orphan.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
    EXPECT_THROW(orphan.UpdateFile(), Exception);
}

TEST(IniDocument, OversizedFilesRaiseButLargeOnesLoad) {
    const QString dir = TestDir();
    // 50 MB of long lines, with one real key after them.
    const QByteArray line = "k=" + QByteArray(1024 * 1024 - 4, 'v') + "\r\n";
    const QByteArray large = "[S]\r\n" + line.repeated(50) + "Last=7\r\n";
    WriteBytes(dir + QStringLiteral("/large.ini"), large);
    EXPECT_EQ(IniDocument(dir + QStringLiteral("/large.ini"))
                  .ReadInteger(QStringLiteral("S"), QStringLiteral("Last"), 0),
              7);
    WriteBytes(dir + QStringLiteral("/huge.ini"), large + line.repeated(15));
    EXPECT_THROW(IniDocument(dir + QStringLiteral("/huge.ini")), Exception);
}

struct BadInputCase {
    const char* name;
    QByteArray bytes;
    int32_t expected;  // what S/Key reads as, with -1 as the default
};

class IniBadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(IniBadInput, LoadsWithDefaultsAndSavesAgain) {
    const QString path = TestDir() + QStringLiteral("/bad.ini");
    WriteBytes(path, GetParam().bytes);
    IniDocument ini(path);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("Key"), -1), GetParam().expected);
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("Key"), 3);
    ini.UpdateFile();
    EXPECT_EQ(IniDocument(path).ReadInteger(QStringLiteral("S"), QStringLiteral("Key"), -1), 3);
}

// The literal's bytes, NULs included.
template <size_t N>
QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

QByteArray Garbage() {
    std::mt19937 random(7);
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    for (char& c : bytes) {
        c = char(random());
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniBadInput,
    testing::Values(BadInputCase{"BinaryGarbage", Garbage(), -1},
                    BadInputCase{"TruncatedUtf16",
                                 Bytes("\xFF\xFE[\0S\0]\0\n\0K\0e\0y\0=\0"
                                       "2\0\n"),
                                 2},
                    BadInputCase{"SectionWithoutBracket", "[S]\nKey=4\n[T\nKey=5\n", 4},
                    BadInputCase{"KeysBeforeAnySection", "Key=9\n[S]\n", -1},
                    BadInputCase{"IntegerOverflow", "[S]\nKey=99999999999\n", -1},
                    BadInputCase{"NulBytes", Bytes("[S]\nK\0ey=1\nKey=6\0\n"), 6},
                    BadInputCase{"EmptyFile", "", -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
