// A run with the cell index gives the rows, their order and the messages of a run without
// it, for every look-in and match option, on a first run (which builds the index) and on
// later ones (which pass books over), over hand-written books and the real fixture files.
#include "automation/AutomationRegistry.h"
#include "engine/objects/EngineServer.h"
#include "search/SearchHost.h"
#include "search/SearchRun.h"
#include "search/index/CellIndex.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Everything a run shows, as lines: rows, warnings, the skipped list, the end text.
class TranscriptHost : public SearchHost {
public:
    void ProcessMessages() override {}
    void SetStatusText(const QString& text) override { lines << "status " + text; }
    void SetProgressMaximum(int maximum) override { lines << QString("max %1").arg(maximum); }
    void SetProgressPosition(int value) override { position = value; }
    int ProgressPosition() const override { return position; }
    void AppendRow(const ResultRow& r) override {
        lines << QStringList{r.Book, r.SheetNumber, r.SheetName, r.Column,
                             r.Row,  r.Text,        r.Formula,   r.Comment}
                     .join('|');
    }
    void ClearRows() override { lines.clear(); }
    void ShowWarning(const QString& text) override { lines << "warning " + text; }
    void ShowSkipped(const SkippedItems& items) override {
        for (const SkippedItem& item : items) {
            lines << "skipped " + item.path + " " + item.message;
        }
    }
    void FocusControl(SearchControl) override {}
    void SetSearching(bool) override {}
    void SetIndexSkipped(int books) override { indexSkipped = books; }
    SearchConditions Conditions() const override { return conditions; }

    // What a run without the index shows too: the per-book status lines differ by design.
    QStringList Shown() const {
        QStringList shown;
        for (const QString& line : lines) {
            if (!line.startsWith("status 「")) {
                shown << line;
            }
        }
        return shown;
    }

    SearchConditions conditions;
    QStringList lines;
    int position = 0;
    int indexSkipped = 0;
};

class IndexedRunTest : public testing::Test {
protected:
    IndexedRunTest() { engine::RegisterEngine(servers_); }

    struct Outcome {
        QStringList shown;
        int indexSkipped = 0;
    };

    Outcome Run(const SearchConditions& conditions, bool withIndex, bool keepGoing) {
        TranscriptHost host;
        host.conditions = conditions;
        SearchRun run(host, servers_);
        run.SetContinueAfterBookError(keepGoing);
        run.SetIndexFile(withIndex ? index_ : QString());
        run.Start();
        return {host.Shown(), host.indexSkipped};
    }

    // Every look-in and option combination for each word: the index never changes what is
    // shown, and it does pass books over. Returns the books passed over in all.
    int Matrix(const QString& dir, const QStringList& words, bool keepGoing) {
        int passedOver = 0;
        for (int lookIn = 0; lookIn < 3; ++lookIn) {
            CellIndex::Remove(index_);
            for (const QString& word : words) {
                for (int options = 0; options < 8; ++options) {
                    SearchConditions conditions;
                    conditions.Dir = dir;
                    conditions.IsSearchSubDir = true;
                    conditions.Word = word;
                    conditions.FindLookIn = lookIn;
                    conditions.MatchCase = options & 1;
                    conditions.MatchByte = options & 2;
                    conditions.LookAt = options & 4;
                    conditions.SearchOrder = options == 5 ? 1 : 0;
                    const Outcome plain = Run(conditions, false, keepGoing);
                    const Outcome indexed = Run(conditions, true, keepGoing);
                    EXPECT_EQ(indexed.shown, plain.shown)
                        << word.toStdString() << " look-in " << lookIn << " options " << options;
                    passedOver += indexed.indexSkipped;
                }
            }
        }
        return passedOver;
    }

    void Write(const QString& relative, const QByteArray& content) {
        const QString path = dir_.path() + "/" + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/indexed-XXXXXX"};
    QString index_ = dir_.path() + "/cache/cells.sqlite";
    AutomationRegistry servers_;
};

TEST_F(IndexedRunTest, HandWrittenBooksGiveTheSameRows) {
    Write("books/a.csv", "Needle,ﾆｰﾄﾞﾙ,=1+1\n12.50,TOTAL,x~y\n");
    Write("books/b.csv", "ｶﾞｲﾄﾞ,ガイド,needle*\n\"multi\nline needle\",3\n");
    Write("books/sub/c.csv", "nothing here,at all\n2024/1/5,50%\n");
    Write("books/sub/d.csv", "NEEDLE\n");
    Write("books/broken.xlsx", "not a zip");
    const QStringList words = {"needle", "ガイド", "ｶﾞｲ", "nee*le", "tot?l", "2024", "x~~y", "=1+"};
    EXPECT_GT(Matrix(dir_.path() + "/books", words, true), 0);
}

TEST_F(IndexedRunTest, AnUnreadableBookEndsTheRunAsItDidWithoutTheIndex) {
    Write("books/a.csv", "alpha\n");
    Write("books/b.xlsx", "not a zip");
    Write("books/c.csv", "alpha beta\n");
    Matrix(dir_.path() + "/books", {"alpha"}, false);
}

TEST_F(IndexedRunTest, RealFixturesGiveTheSameRows) {
    const QString fixtures = testsupport::RealFixturesDir();
    if (fixtures.isEmpty()) {
        GTEST_SKIP() << "the real fixture workbooks (../shared/fixtures/real) are absent";
    }
    EXPECT_GT(Matrix(fixtures, {"Total", "sheet*1", "ｶﾞ"}, true), 0);
}

}  // namespace
