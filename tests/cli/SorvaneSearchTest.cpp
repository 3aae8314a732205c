// sorvane-search end to end: the real program on folder trees made per test, and on the real
// fixture workbooks against their manifest.
#include "Manifest.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

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
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

class SorvaneSearchTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Root() const { return dir_.path(); }

    void Write(const QString& relative, const QByteArray& content) {
        const QString path = Root() + "/" + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/cli-XXXXXX"};
};

TEST_F(SorvaneSearchTest, PrintsEscapedRowsInWalkOrder) {
    Write("b.csv", "id,text\n1,\"needle\there\"\n2,\"back\\slash needle\nnext\"\n");
    Write("A/a.csv", "needle\n");
    Write("a.csv", "x,needle\n");
    Write("skip.txt", "needle\n");
    const Result result = RunSearch({"-s", Root(), "needle"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.err, "");  // no progress when stderr is not a terminal
    const QString r = Root();
    const QString expected = r + "/a.csv\t1\ta\tB\t1\tneedle\tneedle\t\n" + r +
                             "/b.csv\t1\tb\tB\t2\tneedle\\there\tneedle\\there\t\n" + r +
                             "/b.csv\t1\tb\tB\t3\tback\\\\slash needle\\nnext\tback\\\\slash "
                             "needle\\nnext\t\n" +
                             r + "/A/a.csv\t1\ta\tA\t1\tneedle\tneedle\t\n";
    EXPECT_EQ(result.out, expected);
}

TEST_F(SorvaneSearchTest, OptionsReachTheSearch) {
    Write("a.csv", "Needle,needle\nNEEDLE x,y\n");
    Write("b.xls.csv", "needle\n");
    EXPECT_EQ(RunSearch({"-c", "-w", "-t", "xls", Root(), "needle"}).exitCode, 1);
    const Result exact =
        RunSearch({"-c", "-w", "--by", "columns", "--format", "csv", Root(), "needle"});
    EXPECT_EQ(exact.out, Root() + "/a.csv,1,a,B,1,needle,needle,\n" + Root() +
                             "/b.xls.csv,1,b.xls,A,1,needle,needle,\n");
}

TEST_F(SorvaneSearchTest, NoHitExitsWithOne) {
    Write("a.csv", "hay\n");
    const Result result = RunSearch({Root(), "needle"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
}

struct InputErrorCase {
    QStringList arguments;  // "ROOT" stands for the test folder
    QString message;
};

class SorvaneSearchInputTest : public SorvaneSearchTest,
                               public testing::WithParamInterface<InputErrorCase> {};

TEST_P(SorvaneSearchInputTest, ReportsTheFirstFailingCheck) {
    Write("a.csv", "needle\n");
    QStringList arguments = GetParam().arguments;
    arguments.replaceInStrings("ROOT", Root());
    const Result result = RunSearch(arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.startsWith(GetParam().message)) << result.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, SorvaneSearchInputTest,
    testing::Values(
        InputErrorCase{{"ROOT/missing", "", "-t", ""}, "検索するフォルダーを選択してください。\n"},
        InputErrorCase{{"ROOT/a.csv", "needle"}, "検索するフォルダーを選択してください。\n"},
        InputErrorCase{{"ROOT", "", "-t", ""}, "検索キーワードを入力してください。\n"},
        InputErrorCase{{"ROOT", "needle", "-t", ""}, "検索対象を選択してください。\n"},
        InputErrorCase{{"ROOT", "needle", "--by", "up"}, "--by"},
        InputErrorCase{{"ROOT"}, "フォルダーと検索キーワードを指定してください。"}));

TEST_F(SorvaneSearchTest, EngineErrorEndsTheRunAfterPrintingEarlierRows) {
    Write("a.csv", "needle\n");
    Write("b.xlsx", "not a zip");
    Write("c.csv", "needle\n");
    const Result stopped = RunSearch({Root(), "needle"});
    EXPECT_EQ(stopped.exitCode, 2);
    EXPECT_EQ(stopped.out.count('\n'), 1);
    EXPECT_TRUE(stopped.out.startsWith(Root() + "/a.csv\t"));
    EXPECT_TRUE(stopped.err.contains("b.xlsx")) << stopped.err.toStdString();

    const Result kept = RunSearch({"--keep-going", Root(), "needle"});
    EXPECT_EQ(kept.exitCode, 2);
    EXPECT_EQ(kept.out.count('\n'), 2);
    EXPECT_TRUE(kept.out.contains(Root() + "/c.csv\t"));
    EXPECT_EQ(kept.err, stopped.err);
}

TEST_F(SorvaneSearchTest, HelpExitsWithZero) {
    const Result result = RunSearch({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains("--look-in"));
}

// The real fixtures: each word's hits in the manifest's files must come out, file by file
// and sheet by sheet in the manifest's order, except that a sheet's first hit may come last:
// with the start cell omitted, Find examines the used range's top-left cell last.
struct ManifestCase {
    QString word;
    QString lookIn;
};

void PrintTo(const ManifestCase& c, std::ostream* os) {
    *os << c.lookIn.toStdString() << ":" << c.word.toStdString();
}

struct Hit {
    QString cell, text, formula, comment;
    bool operator==(const Hit&) const = default;
};

using SheetKey = std::pair<QString, QString>;  // file, sheet number
using Hits = std::vector<std::pair<SheetKey, std::vector<Hit>>>;

void Add(Hits& hits, const SheetKey& key, const Hit& hit) {
    if (hits.empty() || hits.back().first != key) {
        hits.push_back({key, {}});
    }
    hits.back().second.push_back(hit);
}

class ManifestTest : public testing::TestWithParam<ManifestCase> {};

TEST_P(ManifestTest, ListsTheManifestHits) {
    const QString root = testsupport::RealFixturesDir();
    if (root.isEmpty()) {
        GTEST_SKIP() << "the real fixture folder is absent";
    }
    const QString where = GetParam().lookIn == "values"     ? "value"
                          : GetParam().lookIn == "formulas" ? "formula"
                                                            : "comment";
    Hits expected;
    std::map<SheetKey, QString> sheetNames;
    std::map<std::pair<QString, QString>, QString> formulas;  // file, cell
    for (const ManifestRow& row : ReadManifest(root + "/manifest.csv")) {
        if (row.word == GetParam().word && row.where == where) {
            Add(expected, {row.file, row.sheetNumber},
                Hit{row.cell, row.text, row.formula, row.comment});
            sheetNames[{row.file, row.sheetNumber}] = row.sheetName;
            formulas[{row.file, row.cell}] = row.formula;
        }
    }
    ASSERT_FALSE(expected.empty());

    // Broken fixtures (encrypted, truncated, too old) would end the run; keep going past them.
    const Result result = RunSearch({"-s", "-k", "--look-in", GetParam().lookIn, "--format",
                                     "jsonl", "--", root, GetParam().word});
    ASSERT_EQ(result.exitCode, 2) << "the broken fixtures are reported";
    Hits actual;
    for (const QString& line : result.out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        const QString file = o.value("book").toString().mid(root.size() + 1);
        const SheetKey key{file, o.value("sheetNumber").toString()};
        if (!sheetNames.count(key)) {
            continue;  // the manifest lists chosen files only
        }
        EXPECT_EQ(o.value("sheetName").toString(), sheetNames[key]);
        const QString cell = o.value("column").toString() + o.value("row").toString();
        // A constant's formula is the constant itself; the manifest leaves it empty.
        const QString formula =
            formulas[{file, cell}].isEmpty() ? QString() : o.value("formula").toString();
        Add(actual, key,
            Hit{cell, o.value("text").toString(), formula, o.value("comment").toString()});
    }
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& [key, want] = expected[i];
        EXPECT_EQ(actual[i].first, key);
        std::vector<Hit> rotated(want.begin() + 1, want.end());
        rotated.push_back(want.front());
        const std::vector<Hit>& got = actual[i].second;
        EXPECT_TRUE(got == want || got == rotated)
            << key.first.toStdString() << " sheet " << key.second.toStdString() << ": "
            << got.size() << " hits, first " << (got.empty() ? "" : got[0].cell.toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Real, ManifestTest,
    testing::Values(ManifestCase{"tenant", "values"}, ManifestCase{"ÓÊ", "values"},
                    ManifestCase{"2021", "values"}, ManifestCase{"255:10", "values"},
                    ManifestCase{"SUM", "values"}, ManifestCase{"walk", "values"},
                    ManifestCase{"毛こ", "values"}, ManifestCase{"时间", "values"},
                    ManifestCase{"Москва", "values"}, ManifestCase{"１２３", "values"},
                    ManifestCase{"<>&", "values"}, ManifestCase{"6", "values"},
                    ManifestCase{"green", "values"}, ManifestCase{"string", "values"},
                    ManifestCase{"bold", "values"}, ManifestCase{"C$1", "formulas"},
                    ManifestCase{"AXISDATUMLEVELS", "formulas"}, ManifestCase{"B2+2", "formulas"},
                    ManifestCase{"REPT", "formulas"}, ManifestCase{"text", "comments"},
                    ManifestCase{"CAFÉ", "comments"}, ManifestCase{"test", "comments"}));

TEST(RealFolderTest, PlainRunStopsAtTheFirstBrokenWorkbook) {
    const QString root = testsupport::RealFixturesDir();
    if (root.isEmpty()) {
        GTEST_SKIP() << "the real fixture folder is absent";
    }
    // calamine/pass_protected.xlsx is encrypted; the rows found before it are printed.
    const Result result = RunSearch({"-s", "-t", "xls,xlsx", root, "tenant"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out.count('\n'), 7);
    EXPECT_TRUE(result.err.contains("pass_protected.xlsx")) << result.err.toStdString();
    EXPECT_EQ(result.err.count('\n'), 1);
}

}  // namespace
