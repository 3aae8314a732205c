#include "cli/RowPrinter.h"

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

ResultRow Row(const QString& text, const QString& comment = {}) {
    return ResultRow{"/b/売上.xlsx", "2", "Sheet 1", "AB", "10", text, "=A1", comment};
}

struct TsvCase {
    QString text;
    QByteArray field;
};

class TsvEscapeTest : public testing::TestWithParam<TsvCase> {};

TEST_P(TsvEscapeTest, EscapesSeparatorsAndBackslashes) {
    const RowPrinter printer(OutputFormat::Tsv, stdout);
    EXPECT_EQ(printer.Format(Row(GetParam().text)),
              "/b/売上.xlsx\t2\tSheet 1\tAB\t10\t" + GetParam().field + "\t=A1\t\n");
}

INSTANTIATE_TEST_SUITE_P(Table, TsvEscapeTest,
                         testing::Values(TsvCase{"plain", "plain"}, TsvCase{"a\tb", "a\\tb"},
                                         TsvCase{"a\r\nb", "a\\r\\nb"},
                                         TsvCase{"C:\\tmp\\n", "C:\\\\tmp\\\\n"}, TsvCase{"", ""},
                                         TsvCase{"全角　空白", "全角　空白"}));

TEST(RowPrinterTest, CsvQuotesOnlyFieldsThatNeedIt) {
    const RowPrinter printer(OutputFormat::Csv, stdout);
    EXPECT_EQ(printer.Format(Row("say \"hi\", ok", "line1\nline2")),
              "/b/売上.xlsx,2,Sheet 1,AB,10,\"say \"\"hi\"\", ok\",=A1,\"line1\nline2\"\n");
}

TEST(RowPrinterTest, JsonLinesRoundTripEveryField) {
    const RowPrinter printer(OutputFormat::JsonLines, stdout);
    const QString awkward = QString("q\"b\\s\tn\nc") + QChar(0x01) + "é";
    const QByteArray line = printer.Format(Row(awkward, "メモ"));
    ASSERT_TRUE(line.endsWith('\n'));
    EXPECT_EQ(line.count('\n'), 1);
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    EXPECT_EQ(object.value("book").toString(), "/b/売上.xlsx");
    EXPECT_EQ(object.value("sheetNumber").toString(), "2");
    EXPECT_EQ(object.value("sheetName").toString(), "Sheet 1");
    EXPECT_EQ(object.value("column").toString(), "AB");
    EXPECT_EQ(object.value("row").toString(), "10");
    EXPECT_EQ(object.value("text").toString(), awkward);
    EXPECT_EQ(object.value("formula").toString(), "=A1");
    EXPECT_EQ(object.value("comment").toString(), "メモ");
}

}  // namespace
