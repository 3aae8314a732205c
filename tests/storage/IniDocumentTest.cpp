#include "storage/IniDocument.h"

#include "storage/Exception.h"
#include "tests/storage/TestFiles.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <QStringEncoder>
#include <csignal>
#include <random>

namespace {

using namespace storagetest;

const QString S = QStringLiteral("S");
const QString Key = QStringLiteral("Key");

TEST(IniDocument, RewriteKeepsUnknownEntriesInPlaceAndDropsComments) {
    const QString path = TestDir() + QStringLiteral("/a.ini");
    WriteBytes(path,
               "orphan=1\n; note\n[Startup]\n  Extra = kept  \n\nWindowState=1\nno equals\n"
               "[Other]\nx=y\n");
    IniDocument ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("STARTUP"), QStringLiteral("extra"), {}), "kept");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Other"), QStringLiteral("missing"), "d"), "d");
    ini.WriteInteger(QStringLiteral("STARTUP"), QStringLiteral("windowstate"), 2);
    ini.WriteString(QStringLiteral("startup"), QStringLiteral("New"), QStringLiteral("a\r\nb"));
    ini.WriteBool(QStringLiteral("Added"), QStringLiteral("Flag"), true);
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path),
              "[Startup]\r\nExtra=kept\r\nWindowState=2\r\nno equals\r\nNew=a  b\r\n"
              "\r\n[Other]\r\nx=y\r\n\r\n[Added]\r\nFlag=1\r\n\r\n");
}

TEST(IniDocument, RewriteKeepsTheEncoding) {
    // ① ㈱ 髙 exist in CP932 only, not in plain Shift_JIS.
    const QString word = QStringLiteral("検索語①㈱髙ｶﾅ");
    const QString path = TestDir() + QStringLiteral("/a.SVZ");
    const struct {
        QByteArray mark;
        const char* encoding;
    } cases[] = {{{}, "UTF-8"},
                 {"\xEF\xBB\xBF", "UTF-8"},
                 {"\xFF\xFE", "UTF-16LE"},
                 {"\xFE\xFF", "UTF-16BE"},
                 {{}, "windows-31j"}};
    for (const auto& c : cases) {
        const auto encoded = [&c](const QString& text) {
            return c.mark + QStringEncoder(c.encoding).encode(text);
        };
        WriteBytes(path, encoded("[検索]\r\nWord=" + word + "\r\n"));
        IniDocument ini(path);
        EXPECT_EQ(ini.ReadString(QStringLiteral("検索"), QStringLiteral("word"), {}), word);
        ini.WriteString(QStringLiteral("検索"), QStringLiteral("追加"), QStringLiteral("値"));
        ini.UpdateFile();
        EXPECT_EQ(ReadBytes(path), encoded("[検索]\r\nWord=" + word + "\r\n追加=値\r\n\r\n"))
            << c.encoding;
    }
    // Characters CP932 lacks turn the file into UTF-8 with a mark rather than being lost.
    IniDocument ini(path);
    ini.WriteString(QStringLiteral("検索"), QStringLiteral("追加"), QStringLiteral("😀"));
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF[検索]\r\nWord=" + word.toUtf8() + "\r\n追加=😀\r\n\r\n");
}

TEST(IniDocument, ParsesDecimalAndHexIntegersWithin32Bits) {
    const std::pair<const char*, int32_t> valid[] = {{"-5", -5},
                                                     {"+7", 7},
                                                     {"$1F", 31},
                                                     {"0x200", 512},
                                                     {"0XfF", 255},
                                                     {"2147483647", INT32_MAX},
                                                     {"-2147483648", INT32_MIN}};
    for (const auto& [text, expected] : valid) {
        int32_t value = 0;
        EXPECT_TRUE(IniDocument::ParseInteger(QString::fromUtf8(text), value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text : {"2147483648", "0x80000000", "99999999999999999999", "", "12a", "0x",
                             "$", "-", "1 2", "１２"}) {
        int32_t value = 0;
        EXPECT_FALSE(IniDocument::ParseInteger(QString::fromUtf8(text), value)) << text;
    }
}

TEST(IniDocument, FailedWriteRaisesAndLeavesTheOldFileWhole) {
    const QString dir = TestDir();
    const QString path = dir + QStringLiteral("/a.ini");
    WriteBytes(path, "[S]\r\nKey=old\r\n\r\n");
    IniDocument ini(path);
    ini.WriteString(S, Key, QString(4096, u'x'));
    // A file-size limit cuts the write short as a full disk does, even for root.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
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
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(message.contains(path)) << qPrintable(message);
    EXPECT_EQ(ReadBytes(path), "[S]\r\nKey=old\r\n\r\n");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"a.ini"});  // no temporary left
}

// A 60 MB project of short lines once took all memory: a file beyond a megabyte, far above
// any settings or project file, is refused.
TEST(IniDocument, LargeFilesLoadButOversizedAndSpecialFilesRaise) {
    const QString dir = TestDir();
    const QString path = dir + QStringLiteral("/large.ini");
    WriteBytes(path, "[S]\r\n" + QByteArray("k=v\r\n").repeated(200'000) + "Key=7\r\n");
    EXPECT_EQ(IniDocument(path).ReadInteger(S, Key, 0), 7);
    WriteBytes(path, "[S]\r\nKey=" + QByteArray(1024 * 1024, 'v') + "\r\n");
    EXPECT_THROW(IniDocument{path}, Exception);
    EXPECT_THROW(IniDocument{dir}, Exception);
    const QString fifo = dir + QStringLiteral("/fifo");  // opening it would wait for a writer
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_THROW(IniDocument{fifo}, Exception);
}

template <size_t N>
QByteArray Bytes(const char (&text)[N]) {  // NULs included
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

TEST(IniDocument, BadInputLoadsWithDefaultsAndSavesAgain) {
    const QString path = TestDir() + QStringLiteral("/bad.ini");
    // The bytes, and what S/Key reads as.
    const std::pair<QByteArray, int32_t> cases[] = {
        {Garbage(), -1},
        {Bytes("\xFF\xFE[\0S\0]\0\n\0K\0e\0y\0=\0\x32\0\n"), 2},  // odd UTF-16 length
        {"[S]\nKey=4\n[T\nKey=5\n", 4},                           // section line without "]"
        {"Key=9\n[S]\n", -1},                                     // keys before any section
        {"[S]\nKey=99999999999\n", -1},
        {Bytes("[S]\nK\0ey=1\nKey=6\0\n"), 6}};
    for (const auto& [bytes, expected] : cases) {
        WriteBytes(path, bytes);
        IniDocument ini(path);
        EXPECT_EQ(ini.ReadInteger(S, Key, -1), expected) << bytes.left(40).toHex().constData();
        ini.WriteInteger(S, Key, 3);
        ini.UpdateFile();
        EXPECT_EQ(IniDocument(path).ReadInteger(S, Key, -1), 3);
    }
}

}  // namespace
