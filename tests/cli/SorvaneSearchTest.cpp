// sorvane-search end to end: the real program on folder trees made per test, and on the real
// fixture workbooks against their manifest.
#include "tests/support/RealManifest.h"
#include "tests/support/TestEnvironment.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunSearch(const QStringList& arguments) {
    QProcess process;
    process.start(testsupport::BinaryDir() + "/sorvane-search", arguments);
    Result result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit) {
        result = {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                  QString::fromUtf8(process.readAllStandardError())};
    }
    return result;
}

class SorvaneSearchTest : public testing::Test {
protected:
    void Write(const QString& relative, const QByteArray& content) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(root_ + "/" + relative).path()));
        QFile file(root_ + "/" + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/cli-XXXXXX"};
    QString root_ = dir_.path();
};

TEST_F(SorvaneSearchTest, PrintsEscapedRowsInWalkOrder) {
    Write("b.csv", "id,text\n1,\"needle\there\"\n2,\"back\\slash needle\nnext\"\n");
    Write("A/a.csv", "needle\n");
    Write("a.csv", "x,needle\n");
    Write("skip.txt", "needle\n");
    const Result result = RunSearch({"-s", root_, "needle"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");  // no progress when stderr is not a terminal
    EXPECT_EQ(result.out, root_ + "/a.csv\t1\ta\tB\t1\tneedle\tneedle\t\n" + root_ +
                              "/b.csv\t1\tb\tB\t2\tneedle\\there\tneedle\\there\t\n" + root_ +
                              "/b.csv\t1\tb\tB\t3\tback\\\\slash needle\\nnext\tback\\\\slash "
                              "needle\\nnext\t\n" +
                              root_ + "/A/a.csv\t1\ta\tA\t1\tneedle\tneedle\t\n");
}

TEST_F(SorvaneSearchTest, ExitStatusAndMessages) {
    Write("a.csv", "Needle x\n");
    const std::vector<std::tuple<QStringList, int, QString>> table = {
        {{"ROOT", "needle"}, 0, ""},
        {{"-c", "ROOT", "needle"}, 1, ""},
        {{"-w", "ROOT", "needle"}, 1, ""},
        {{"-t", "xls,xlsx", "ROOT", "needle"}, 1, ""},
        {{"ROOT/missing", "", "-t", ""}, 2, "検索するフォルダーを選択してください。\n"},
        {{"ROOT/a.csv", "needle"}, 2, "検索するフォルダーを選択してください。\n"},
        {{"ROOT", "", "-t", ""}, 2, "検索キーワードを入力してください。\n"},
        {{"ROOT", "needle", "-t", ""}, 2, "検索対象を選択してください。\n"},
        {{"ROOT", "needle", "--by", "up"}, 2, "--by は rows か columns です: up\n"}};
    for (auto [arguments, exitCode, err] : table) {
        const Result result = RunSearch(arguments.replaceInStrings("ROOT", root_));
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_EQ(result.err.left(err.size()), err);
        EXPECT_EQ(result.out.isEmpty(), exitCode != 0);
    }
}

TEST_F(SorvaneSearchTest, EngineErrorEndsTheRunUnlessKeepGoing) {
    Write("a.csv", "needle\n");
    Write("b.xlsx", "not a zip");
    Write("c.csv", "needle\n");
    const Result stopped = RunSearch({root_, "needle"});
    EXPECT_EQ(stopped.exitCode, 2);
    EXPECT_EQ(stopped.out.section('\t', 0, 0), root_ + "/a.csv");
    EXPECT_EQ(stopped.out.count('\n'), 1);
    EXPECT_TRUE(stopped.err.contains("b.xlsx")) << stopped.err.toStdString();

    const Result kept = RunSearch({"-k", root_, "needle"});
    EXPECT_EQ(kept.exitCode, 2);
    EXPECT_EQ(kept.out.count('\n'), 2);
    EXPECT_EQ(kept.err, stopped.err);
}

TEST_F(SorvaneSearchTest, TheIndexIsUsedByDefaultAndRebuiltOrLeftAloneOnRequest) {
    Write("a.csv", "needle here\n");
    Write("b.csv", "hay\n");
    const QString index = qEnvironmentVariable("XDG_CACHE_HOME") + "/Tavrick/Sorvane/cells.sqlite";
    QFile::remove(index);
    const Result plain = RunSearch({"--no-index", root_, "needle"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(index));
    for (const QStringList& flags :
         {QStringList(), QStringList(), QStringList{"--rebuild-index"}}) {
        const Result indexed = RunSearch(flags + QStringList{root_, "needle"});
        EXPECT_EQ(indexed.exitCode, plain.exitCode);
        EXPECT_EQ(indexed.out, plain.out);
        EXPECT_EQ(indexed.err, plain.err);
        EXPECT_TRUE(QFileInfo::exists(index));
    }
    // A damaged index is rebuilt, not trusted.
    QFile::remove(index + "-wal");
    QFile damaged(index);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, '\xA5'));
    damaged.close();
    EXPECT_EQ(RunSearch({root_, "needle"}).out, plain.out);
    EXPECT_EQ(RunSearch({root_, "needle"}).out, plain.out);
}

// As a script writes a sales sheet: the total a formula without a calculated result (the
// writer stores 0 and asks for recalculation), one row and one column hidden.
TEST_F(SorvaneSearchTest, ValuesFindCalculatedResultsAndPassOverHiddenCellsUnlessAsked) {
    const QString path = root_ + "/売上.xlsx";
    lxw_workbook* workbook = workbook_new(path.toUtf8().constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "集計");
    worksheet_write_string(sheet, 0, 0, "りんご", nullptr);
    worksheet_write_number(sheet, 0, 1, 100, nullptr);
    worksheet_write_string(sheet, 1, 0, "みかん", nullptr);
    worksheet_write_number(sheet, 1, 1, 250, nullptr);
    worksheet_write_formula(sheet, 2, 1, "=SUM(B1:B2)", nullptr);
    worksheet_write_formula(sheet, 2, 0, "=IF(B3>300,\"合計 多\",\"合計 少\")", nullptr);
    worksheet_write_string(sheet, 0, 3, "みかん箱", nullptr);
    lxw_row_col_options hidden = {};
    hidden.hidden = LXW_TRUE;
    worksheet_set_row_opt(sheet, 1, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
    worksheet_set_column_opt(sheet, 3, 3, LXW_DEF_COL_WIDTH, nullptr, &hidden);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const QString hit = path + "\t1\t集計\t";
    EXPECT_EQ(RunSearch({"--look-in", "values", root_, "350"}).out,
              hit + "B\t3\t350\t=SUM(B1:B2)\t\n");
    EXPECT_EQ(RunSearch({"--look-in", "values", root_, "合計"}).out,
              hit + "A\t3\t合計 多\t=IF(B3>300,\"合計 多\",\"合計 少\")\t\n");
    EXPECT_EQ(RunSearch({"--look-in", "values", root_, "みかん"}).exitCode, 1);
    EXPECT_EQ(RunSearch({"--look-in", "formulas", root_, "みかん"}).out,
              hit + "D\t1\tみかん箱\tみかん箱\t\n" + hit + "A\t2\tみかん\tみかん\t\n");
    EXPECT_EQ(RunSearch({"--look-in", "values", "--hidden-cells", root_, "みかん"}).out,
              hit + "D\t1\tみかん箱\tみかん箱\t\n" + hit + "A\t2\tみかん\tみかん\t\n");
}

// A name that is not UTF-8 would read as "no hits" if it were dropped; a name that carries an
// escape sequence must not reach the terminal raw in the message about it.
TEST_F(SorvaneSearchTest, WhatTheWalkCannotTakeIsReportedAndNamesArePrintable) {
    Write("a.csv", "needle\n");
    Write(QString("bad") + QChar(0x1B) + "[31m.xlsx", "not a zip");
    const int odd = ::open(QFile::encodeName(root_) + "/caf\xE9.csv", O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(odd, 0);
    ::close(odd);
    const Result result = RunSearch({"-k", root_, "needle"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out.count('\n'), 1);
    EXPECT_FALSE(result.err.contains(QChar(0x1B))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("bad\\x1b[31m.xlsx")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("UTF-8")) << result.err.toStdString();
    ::unlink(QFile::encodeName(root_) + "/caf\xE9.csv");  // beyond what QTemporaryDir removes
}

// The manifest lists, for chosen words, the cells that hold them in chosen files. Each file's
// rows must come out sheet by sheet in the manifest's order, except that a sheet's first hit
// may come last: with the start cell omitted, Find examines the top-left cell last.
class ManifestTest : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ManifestTest, ListsTheManifestHits) {
    const QString root = testsupport::RealFixturesDir();
    if (root.isEmpty()) {
        GTEST_SKIP() << "the real fixture folder is absent";
    }
    const QString word = GetParam().first;
    const QString lookIn = GetParam().second;
    // per file and sheet: "cell text formula comment" lines in order
    QMap<QString, QStringList> expected;
    for (const testsupport::ManifestRow& r : testsupport::ReadRealManifest()) {
        if (r.word == word && lookIn.startsWith(r.where)) {
            const QString formula = lookIn == "formulas" ? r.formula : "";
            expected[r.file + "|" + QString::number(r.sheetNumber) + "|" + r.sheetName]
                << (r.cell + " " + r.text + " " + formula + " " + r.comment);
        }
    }
    ASSERT_FALSE(expected.isEmpty());

    // The broken fixtures (encrypted, truncated, too old) would end a plain run.
    const Result result =
        RunSearch({"-s", "-k", "--look-in", lookIn, "--format", "jsonl", "--", root, word});
    ASSERT_EQ(result.exitCode, 2);
    QMap<QString, QStringList> actual;
    for (const QString& line : result.out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        const QString key = o["book"].toString().mid(root.size() + 1) + "|" +
                            o["sheetNumber"].toString() + "|" + o["sheetName"].toString();
        // A constant's formula is the constant itself; the manifest leaves it empty.
        const QString formula = lookIn == "formulas" ? o["formula"].toString() : "";
        actual[key] << (o["column"].toString() + o["row"].toString() + " " + o["text"].toString() +
                        " " + formula + " " + o["comment"].toString());
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QStringList rotated = it.value().mid(1) << it.value().first();
        const QStringList got = actual.value(it.key());
        EXPECT_TRUE(got == it.value() || got == rotated)
            << it.key().toStdString() << "\n  got: " << got.join(" | ").toStdString()
            << "\n want: " << it.value().join(" | ").toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Real, ManifestTest,
    testing::Values(
        std::pair{"tenant", "values"}, std::pair{"ÓÊ", "values"}, std::pair{"2021", "values"},
        std::pair{"255:10", "values"}, std::pair{"SUM", "values"}, std::pair{"walk", "values"},
        std::pair{"毛こ", "values"}, std::pair{"时间", "values"}, std::pair{"Москва", "values"},
        std::pair{"１２３", "values"}, std::pair{"<>&", "values"}, std::pair{"6", "values"},
        std::pair{"green", "values"}, std::pair{"bold", "values"}, std::pair{"C$1", "formulas"},
        std::pair{"AXISDATUMLEVELS", "formulas"}, std::pair{"REPT", "formulas"},
        std::pair{"text", "comments"}, std::pair{"CAFÉ", "comments"}),
    [](const auto& info) { return info.param.second + std::to_string(info.index); });

}  // namespace
