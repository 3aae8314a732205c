#include "engine/readers/csv/CsvDecoder.h"

#include <gtest/gtest.h>
#include <QStringEncoder>

namespace {

using engine::CsvDecoder;

const QString Sample = QStringLiteral("品名,ｶﾅ,①㈱髙\r\n");

QByteArray Encode(const char* encoding, const QString& text) {
    QStringEncoder encoder(encoding);
    return encoder(text);
}

TEST(CsvDecoder, ByteOrderMarkDecides) {
    const QByteArray utf8 = "\xEF\xBB\xBF" + Sample.toUtf8();
    EXPECT_EQ(CsvDecoder::Detect(utf8), CsvDecoder::Encoding::Utf8Bom);
    EXPECT_EQ(CsvDecoder::Decode(utf8), Sample);

    const QByteArray le = QByteArray("\xFF\xFE", 2) + Encode("UTF-16LE", Sample);
    EXPECT_EQ(CsvDecoder::Detect(le), CsvDecoder::Encoding::Utf16LE);
    EXPECT_EQ(CsvDecoder::Decode(le), Sample);

    const QByteArray be = QByteArray("\xFE\xFF", 2) + Encode("UTF-16BE", Sample);
    EXPECT_EQ(CsvDecoder::Detect(be), CsvDecoder::Encoding::Utf16BE);
    EXPECT_EQ(CsvDecoder::Decode(be), Sample);
}

TEST(CsvDecoder, WithoutMarkValidUtf8IsUtf8AndAnythingElseCp932) {
    EXPECT_EQ(CsvDecoder::Detect(Sample.toUtf8()), CsvDecoder::Encoding::Utf8);
    EXPECT_EQ(CsvDecoder::Decode(Sample.toUtf8()), Sample);

    const QByteArray cp932 = Encode("windows-31j", Sample);
    EXPECT_EQ(CsvDecoder::Detect(cp932), CsvDecoder::Encoding::Cp932);
    EXPECT_EQ(CsvDecoder::Decode(cp932), Sample);
    EXPECT_EQ(CsvDecoder::Decode("a\\b~"), QStringLiteral("a\\b~"));  // 0x5C and 0x7E as ASCII
}

TEST(CsvDecoder, BrokenUtf8FallsBackToCp932AndNulsAreDropped) {
    QByteArray truncated = QStringLiteral("あい").toUtf8();
    truncated.chop(1);  // a cut sequence at the end is not UTF-8
    EXPECT_EQ(CsvDecoder::Detect(truncated), CsvDecoder::Encoding::Cp932);
    EXPECT_FALSE(CsvDecoder::Decode(truncated).isEmpty());

    EXPECT_EQ(CsvDecoder::Decode(QByteArray("a\0b,c", 5)), QStringLiteral("ab,c"));
    // UTF-16 without a mark reads as its ASCII text once the NULs are gone.
    EXPECT_EQ(CsvDecoder::Decode(QByteArray("a\0,\0b\0", 6)), QStringLiteral("a,b"));
    EXPECT_EQ(CsvDecoder::Decode(QByteArray()), QString());
}

// "あ" straddles the first megabyte boundary, where a check in pieces would cut it.
TEST(CsvDecoder, LargeUtf8WithCharactersEverywhereStaysUtf8) {
    QByteArray bytes(1 << 20, 'a');
    bytes.chop(1);
    bytes += QStringLiteral("あ,東京\n").repeated(300000).toUtf8();
    EXPECT_EQ(CsvDecoder::Detect(bytes), CsvDecoder::Encoding::Utf8);
    EXPECT_TRUE(CsvDecoder::Decode(bytes) == QString::fromUtf8(bytes));
}

}  // namespace
