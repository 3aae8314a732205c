// This test executable carries the program's version block (see CMakeLists.txt), so the
// default TkAppInfo reads the same bytes the program reads from itself.
#include <QApplication>
#include <QFile>
#include <QTest>

#include "dialogs/Tkappinfo.h"
#include "storage/Exception.h"
#include "tests/support/TestEnvironment.h"

namespace {

const QString kUnavailable = QStringLiteral("バージョン情報を取得できません");

QString CopyOfOwnExecutable(const QString& name, qsizetype length) {
    QFile self(QStringLiteral("/proc/self/exe"));
    if (!self.open(QIODevice::ReadOnly)) {
        qFatal("cannot read the test executable");
    }
    const QString path = testsupport::ScratchDir() + QLatin1Char('/') + name;
    QFile copy(path);
    if (!copy.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    copy.write(self.read(length));
    return path;
}

}  // namespace

class TestTkappinfo : public QObject {
    Q_OBJECT

private slots:
    void readsEveryEntryOfItsOwnBlock_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Comments") << 0 << QStringLiteral("フォルダ中のExcelファイルを一括検索する");
        QTest::newRow("CompanyName") << 1 << QStringLiteral("Tavrick");
        QTest::newRow("FileDescription") << 2 << QString();
        QTest::newRow("FileVersion") << 3 << QStringLiteral("0.1.0.0");
        QTest::newRow("InternalName") << 4 << QString();
        QTest::newRow("LegalCopyright") << 5 << QStringLiteral("Tavrick");
        QTest::newRow("LegalTradeMarks") << 6 << QString();
        QTest::newRow("OriginalFilename") << 7 << QString();
        QTest::newRow("PrivateBuild (absent)") << 8 << QString();
        QTest::newRow("ProductName") << 9 << QStringLiteral("Sorvane");
        QTest::newRow("ProductVersion") << 10 << QStringLiteral("1.0.0.0");
        QTest::newRow("below the table") << -1 << QString();
        QTest::newRow("above the table") << 11 << QString();
    }
    void readsEveryEntryOfItsOwnBlock() {
        QFETCH(int, index);
        QFETCH(QString, expected);
        const TkAppInfo info;
        QCOMPARE(info.GetVersionString(index), expected);
    }

    void theTranslationNamesTheStringTable() {
        const TkAppInfo info;
        QCOMPARE(info.Translation(), 0x03A40411u);
        QCOMPARE(info.QueryPath(3), QStringLiteral("\\StringFileInfo\\041103A4\\FileVersion"));
        QCOMPARE(info.QueryPath(11), QString());
    }

    void readsTheBuiltProgram() {
        const QString program = testsupport::BinaryDir() + QStringLiteral("/sorvane");
        if (!QFile::exists(program)) {
            QSKIP("the sorvane executable is not built in this build folder");
        }
        const TkAppInfo info(program);
        QCOMPARE(info.GetVersionString(3), QStringLiteral("0.1.0.0"));
        QCOMPARE(info.GetVersionString(5), QStringLiteral("Tavrick"));
    }

    void filesWithoutABlockRaiseTheFixedMessage_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("a program without the block") << QStringLiteral("/bin/true");
        QTest::newRow("missing file") << testsupport::ScratchDir() + QStringLiteral("/none");
        QTest::newRow("a folder") << testsupport::ScratchDir();
        QTest::newRow("first bytes of this executable")
            << CopyOfOwnExecutable(QStringLiteral("head-of-self"), 4096);
    }
    void filesWithoutABlockRaiseTheFixedMessage() {
        QFETCH(QString, path);
        try {
            const TkAppInfo info(path);
            QFAIL("no exception for a file without a version block");
        } catch (const Exception& error) {
            QCOMPARE(error.Message(), kUnavailable);
        }
    }
};

SORVANE_QTEST_MAIN(TestTkappinfo)
#include "TestTkappinfo.moc"
