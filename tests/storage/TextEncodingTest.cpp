#include "storage/IniDocument.h"
#include "storage/TextEncoding.h"
#include "tests/storage/TestFiles.h"

#include <QStringEncoder>

namespace {

using storagetest::ReadBytes;
using storagetest::TestDir;
using storagetest::WriteBytes;

struct EncodingCase {
    const char* name;
    QByteArray mark;
    const char* encoder;  // an ICU or Qt encoding name
};

QByteArray Encoded(const EncodingCase& c, const QString& text) {
    QStringEncoder encoder(c.encoder);
    EXPECT_TRUE(encoder.isValid()) << c.encoder;
    return c.mark + encoder.encode(text);
}

class IniEncoding : public testing::TestWithParam<EncodingCase> {};

// Characters that only CP932 (not plain Shift_JIS) encodes, and a half-width kana.
const QString kWord = QStringLiteral("検索語①㈱髙ｶﾅ");

TEST_P(IniEncoding, ReadsTheFileAndWritesItBackInTheSameEncoding) {
    const QString path = TestDir() + QStringLiteral("/a.SVZ");
    WriteBytes(path, Encoded(GetParam(), QStringLiteral("[検索]\r\nWord=") + kWord + "\r\n"));
    IniDocument ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("検索"), QStringLiteral("word"), {}), kWord);
    ini.WriteString(QStringLiteral("検索"), QStringLiteral("追加"), QStringLiteral("値"));
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(path), Encoded(GetParam(), QStringLiteral("[検索]\r\nWord=") + kWord +
                                                       QStringLiteral("\r\n追加=値\r\n\r\n")));
}

INSTANTIATE_TEST_SUITE_P(Encodings, IniEncoding,
                         testing::Values(EncodingCase{"Utf8WithoutMark", {}, "UTF-8"},
                                         EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF", "UTF-8"},
                                         EncodingCase{"Utf16LittleEndian", "\xFF\xFE", "UTF-16LE"},
                                         EncodingCase{"Utf16BigEndian", "\xFE\xFF", "UTF-16BE"},
                                         EncodingCase{"Cp932WithoutMark", {}, "windows-31j"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniEncodingMend, Cp932FileGetsUtf8WithMarkRatherThanLosingCharacters) {
    const QString path = TestDir() + QStringLiteral("/a.SVZ");
    WriteBytes(path, QStringEncoder("windows-31j").encode(QStringLiteral("[S]\r\nA=日本\r\n")));
    IniDocument ini(path);
    const QString emoji = QStringLiteral("😀 Ω");
    ini.WriteString(QStringLiteral("S"), QStringLiteral("B"), emoji);
    ini.UpdateFile();
    EXPECT_TRUE(ReadBytes(path).startsWith("\xEF\xBB\xBF"));
    const IniDocument reread(path);
    EXPECT_EQ(reread.ReadString(QStringLiteral("S"), QStringLiteral("A"), {}),
              QStringLiteral("日本"));
    EXPECT_EQ(reread.ReadString(QStringLiteral("S"), QStringLiteral("B"), {}), emoji);
}

TEST(IniEncodingMend, NewFilesUseTheLocaleCodeSetWithoutMark) {
    TextEncoding encoding;
    EXPECT_EQ(encoding.Encode(QStringLiteral("語")), QByteArray("\xE8\xAA\x9E"));
    EXPECT_EQ(encoding.GetKind(), TextEncoding::Kind::System);
}

}  // namespace
