#include "cli/RowPrinter.h"

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const ResultRow kRow{"/b/売上.xlsx", "2", "S 1", "AB", "10", "a\tb\\c\r\n\"d\", e", "=A1", ""};

TEST(RowPrinterTest, EscapesOrQuotesPerFormat) {
    EXPECT_EQ(RowPrinter(OutputFormat::Tsv, stdout).Format(kRow),
              "/b/売上.xlsx\t2\tS 1\tAB\t10\ta\\tb\\\\c\\r\\n\"d\", e\t=A1\t\n");
    EXPECT_EQ(RowPrinter(OutputFormat::Csv, stdout).Format(kRow),
              "/b/売上.xlsx,2,S 1,AB,10,\"a\tb\\c\r\n\"\"d\"\", e\",=A1,\n");

    ResultRow awkward = kRow;
    awkward.Comment = QString("x") + QChar(0x01) + "é";
    const QByteArray line = RowPrinter(OutputFormat::JsonLines, stdout).Format(awkward);
    EXPECT_EQ(line.count('\n'), 1);
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    const QStringList keys = {"book", "sheetNumber", "sheetName", "column",
                              "row",  "text",        "formula",   "comment"};
    const QStringList values = {awkward.Book,    awkward.SheetNumber, awkward.SheetName,
                                awkward.Column,  awkward.Row,         awkward.Text,
                                awkward.Formula, awkward.Comment};
    for (qsizetype i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(o.value(keys[i]).toString(), values[i]) << keys[i].toStdString();
    }
}

}  // namespace
