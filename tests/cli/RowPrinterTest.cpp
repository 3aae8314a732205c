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

// A cell, a comment or a file name can hold terminal escape sequences and characters that
// split lines; in TSV none may reach the terminal raw.
TEST(RowPrinterTest, TsvEscapesEveryControlCharacter) {
    ResultRow hostile = kRow;
    hostile.Book = QString("/b/") + QChar(0x1B) + "]2;title" + QChar(0x07) + ".xlsx";
    hostile.Text = QString("a") + QChar(0x0B) + QChar(0x0C) + QChar(0x85) + QChar(0x7F) +
                   QChar(0x9B) + "31m" + QChar(0x2028) + QChar(0x2029) + QChar(0) + "z";
    const QByteArray line = RowPrinter(OutputFormat::Tsv, stdout).Format(hostile);
    EXPECT_EQ(line.count('\n'), 1);
    EXPECT_TRUE(line.endsWith('\n'));
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        EXPECT_TRUE((byte >= 0x20 && byte != 0x7F) || byte == '\t') << "byte " << int(byte);
    }
    const QStringList fields = QString::fromUtf8(line.chopped(1)).split('\t');
    EXPECT_EQ(fields[0], "/b/\\x1b]2;title\\x07.xlsx");
    EXPECT_EQ(fields[5], "a\\x0b\\x0c\\x85\\x7f\\x9b31m\\u2028\\u2029\\x00z");

    const QByteArray json = RowPrinter(OutputFormat::JsonLines, stdout).Format(hostile);
    EXPECT_EQ(QJsonDocument::fromJson(json).object().value("text").toString(), hostile.Text);
}

}  // namespace
