// This test executable carries the program's version block (see CMakeLists.txt), so the
// default TkAppInfo reads the same bytes the program reads from itself.
#include <QApplication>
#include <QFile>
#include <QTest>

#include "dialogs/ElfFile.h"
#include "dialogs/Tkappinfo.h"
#include "storage/Exception.h"
#include "tests/support/TestEnvironment.h"

namespace {

QString WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(testsupport::ScratchDir() + '/' + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    return file.fileName();
}

QByteArray OwnBlock() {
    return ElfFile::ReadSection("/proc/self/exe", versionblock::kSectionName,
                                versionblock::kMaxBlockSize)
        .value_or(QByteArray());
}

}  // namespace

class TestTkappinfo : public QObject {
    Q_OBJECT

private slots:
    void readsEveryEntryOfItsOwnBlock_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const QStringList expected = {"フォルダ中のExcelファイルを一括検索する",
                                      "Tavrick",
                                      "",
                                      "0.1.0.0",
                                      "",
                                      "Tavrick",
                                      "",
                                      "",
                                      "",
                                      "Sorvane",
                                      "1.0.0.0"};
        for (int index = -1; index <= 11; ++index) {
            QTest::addRow("%d", index) << index << expected.value(index);
        }
    }
    void readsEveryEntryOfItsOwnBlock() {
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(TkAppInfo().GetVersionString(index), expected);
    }

    void theTranslationNamesTheStringTable() {
        const TkAppInfo info;
        QCOMPARE(info.Translation(), 0x03A40411u);
        QCOMPARE(info.QueryPath(3), QStringLiteral("\\StringFileInfo\\041103A4\\FileVersion"));
    }

    void readsTheBuiltProgram() {
        const QString program = testsupport::BinaryDir() + "/sorvane";
        if (!QFile::exists(program)) {
            QSKIP("the sorvane executable is not built in this build folder");
        }
        QCOMPARE(TkAppInfo(program).GetVersionString(3), QStringLiteral("0.1.0.0"));
    }

    void filesWithoutAReadableBlockRaiseTheFixedMessage_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("a program without the block") << "/bin/true";
        QTest::newRow("missing file") << testsupport::ScratchDir() + "/none";
        QTest::newRow("a folder") << testsupport::ScratchDir();
        QFile self("/proc/self/exe");
        QVERIFY(self.open(QIODevice::ReadOnly));
        QTest::newRow("first bytes of this executable") << WriteFile("head", self.read(4096));
    }
    void filesWithoutAReadableBlockRaiseTheFixedMessage() {
        QFETCH(QString, path);
        try {
            const TkAppInfo info(path);
            QFAIL("read a version block from a file without one");
        } catch (const Exception& error) {
            QCOMPARE(error.Message(), QStringLiteral("バージョン情報を取得できません"));
        }
    }

    void damagedBlocksAreRejected() {
        const QByteArray block = OwnBlock();
        QVERIFY(VersionBlock::Parse(block).has_value());
        const qsizetype size = uint8_t(block[8]) | uint8_t(block[9]) << 8;
        for (qsizetype length = 0; length < size; ++length) {
            QVERIFY2(!VersionBlock::Parse(block.left(length)), qPrintable(QString::number(length)));
        }
        // Each header field lying: magic, layout version, record count, size, first lengths.
        for (const auto& [at, value] : {std::pair{0, 'X'},
                                        {4, '\2'},
                                        {6, '\x7F'},
                                        {6, '\1'},
                                        {8, '\xFF'},
                                        {10, '\x7F'},
                                        {12, '\xFF'},
                                        {14, '\xFF'}}) {
            QByteArray damaged = block;
            damaged[at] = value;
            QVERIFY2(!VersionBlock::Parse(damaged), qPrintable(QString::number(at)));
        }
    }
};

SORVANE_QTEST_MAIN(TestTkappinfo)
#include "TestTkappinfo.moc"
