#include <QApplication>
#include <QTest>

#include "dialogs/VersionBlock.h"
#include "tests/support/TestEnvironment.h"

namespace {

using std::string_view_literals::operator""sv;

constexpr versionblock::Record kRecords[] = {
    {"\\VarFileInfo\\Translation", "\x11\x04\xA4\x03"sv},
    {"\\StringFileInfo\\041103A4\\FileVersion", "0.1.0.0"},
    {"\\StringFileInfo\\041103A4\\Comments", "フォルダ中のExcelファイルを一括検索する"},
    {"\\StringFileInfo\\041103A4\\InternalName", ""},
};
constexpr auto kEncoded = versionblock::Encode<versionblock::EncodedSize(kRecords)>(kRecords);

QByteArray Encoded() {
    return QByteArray(reinterpret_cast<const char*>(kEncoded.data()),
                      static_cast<qsizetype>(kEncoded.size()));
}

void PutLittleEndian(QByteArray& bytes, qsizetype at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

class TestVersionBlock : public QObject {
    Q_OBJECT

private slots:
    void findsEveryRecordWithoutRegardToCase() {
        const auto block = VersionBlock::Parse(Encoded());
        QVERIFY(block.has_value());
        QCOMPARE(block->Query(u"\\VarFileInfo\\Translation"),
                 std::optional<QByteArray>(QByteArray("\x11\x04\xA4\x03", 4)));
        QCOMPARE(block->Query(u"\\stringfileinfo\\041103a4\\FILEVERSION"),
                 std::optional<QByteArray>("0.1.0.0"));
        QCOMPARE(QString::fromUtf8(*block->Query(u"\\StringFileInfo\\041103A4\\Comments")),
                 QStringLiteral("フォルダ中のExcelファイルを一括検索する"));
        QCOMPARE(block->Query(u"\\StringFileInfo\\041103A4\\InternalName"),
                 std::optional<QByteArray>(QByteArray()));
        QCOMPARE(block->Query(u"\\StringFileInfo\\041103A4\\PrivateBuild"), std::nullopt);
    }

    void paddingAfterTheBlockIsIgnored() {
        QVERIFY(VersionBlock::Parse(Encoded() + QByteArray(32, '\0')).has_value());
    }

    void everyTruncationIsRejected() {
        const QByteArray whole = Encoded();
        for (qsizetype length = 0; length < whole.size(); ++length) {
            QVERIFY2(!VersionBlock::Parse(whole.left(length)).has_value(),
                     qPrintable(QString::number(length)));
        }
    }

    void lyingHeadersAreRejected_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<uint>("value");
        QTest::addColumn<int>("size");
        QTest::newRow("magic") << 0 << uint('X') << 1;
        QTest::newRow("layout version") << 4 << 2u << 2;
        QTest::newRow("more records than present") << 6 << 5u << 2;
        QTest::newRow("fewer records than present") << 6 << 3u << 2;
        QTest::newRow("size beyond the bytes") << 8 << uint(kEncoded.size() + 1) << 4;
        QTest::newRow("size cutting a record") << 8 << uint(kEncoded.size() - 1) << 4;
        QTest::newRow("size below the header") << 8 << 4u << 4;
        QTest::newRow("size beyond the cap") << 8 << 0xFFFFFFFFu << 4;
        QTest::newRow("path length past the end") << 12 << 0xFFFFu << 2;
        QTest::newRow("value length past the end") << 14 << 0xFFFFu << 2;
    }
    void lyingHeadersAreRejected() {
        QFETCH(int, offset);
        QFETCH(uint, value);
        QFETCH(int, size);
        QByteArray bytes = Encoded();
        PutLittleEndian(bytes, offset, value, size);
        QVERIFY(!VersionBlock::Parse(bytes).has_value());
    }
};

SORVANE_QTEST_MAIN(TestVersionBlock)
#include "TestVersionBlock.moc"
