#include "search/SearchRun.h"

#include "FakeExcel.h"
#include "search/SearchHost.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>

namespace {

// Records what the run does to the window, in order.
class RecordingHost : public SearchHost {
public:
    void ProcessMessages() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
    }
    void SetStatusText(const QString& text) override { events.append("status " + text); }
    void SetProgressMaximum(int maximum) override { events.append(QString("max %1").arg(maximum)); }
    void SetProgressPosition(int value) override {
        position = value;
        events.append(QString("pos %1").arg(value));
    }
    int ProgressPosition() const override { return position; }
    void AppendRow(const ResultRow& row) override {
        if (failOnRow) {
            throw std::runtime_error("not an Exception");
        }
        rows.push_back(row);
    }
    void ClearRows() override {
        rows.clear();
        events.append("clear");
    }
    void ShowWarning(const QString& text) override { events.append("warning " + text); }
    void FocusControl(SearchControl control) override {
        events.append(QString("focus %1").arg(static_cast<int>(control)));
    }
    void SetSearching(bool searching) override {
        events.append(QString("searching %1").arg(searching));
    }
    SearchConditions Conditions() const override { return conditions; }

    SearchConditions conditions;
    QStringList events;
    std::vector<ResultRow> rows;
    std::function<void()> onPump;
    int pumps = 0;
    int position = 0;
    bool failOnRow = false;
};

ResultRow PreviousRow() {
    ResultRow row;
    row.Book = "previous";
    return row;
}

class SearchRunTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        fake_ = fake::FakeExcel::Install();
        host_.conditions.Dir = dir_.path();
        host_.conditions.Word = "w";
        host_.conditions.IsSearchSubDir = true;
    }
    void TearDown() override { fake::FakeExcel::Uninstall(); }

    // Creates the files and a one-hit workbook for each in the fake application.
    void AddBooks(const QStringList& relativePaths) {
        for (const QString& relative : relativePaths) {
            const QString path = dir_.path() + "/" + relative;
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            fake_->books[path] = fake::Book{{fake::Sheet{"S", {fake::Cell{1, 1, relative}}}}};
        }
    }

    QStringList Opened() const { return fake_->log.filter(QRegularExpression("^Open ")); }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/run-XXXXXX"};
    std::shared_ptr<fake::FakeExcel> fake_;
    RecordingHost host_;
    SearchRun run_{host_};
};

struct CheckCase {
    bool folderExists;
    QString word;
    std::set<int> ext;
    QString warning;
    int focus;
};

class SearchRunCheckTest : public SearchRunTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(SearchRunCheckTest, ReportsOnlyTheFirstFailingCheckAndKeepsTheRows) {
    const CheckCase& c = GetParam();
    if (!c.folderExists) {
        host_.conditions.Dir = dir_.path() + "/missing";
    }
    host_.conditions.Word = c.word;
    host_.conditions.Ext = c.ext;
    host_.rows.push_back(PreviousRow());
    run_.Start();
    EXPECT_EQ(host_.events,
              (QStringList{"warning " + c.warning, QString("focus %1").arg(c.focus)}));
    EXPECT_EQ(host_.rows.size(), 1u);
    EXPECT_EQ(fake_->log.size(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchRunCheckTest,
    testing::Values(CheckCase{false, "", {}, "検索するフォルダーを選択してください。", 0},
                    CheckCase{true, "", {}, "検索キーワードを入力してください。", 1},
                    CheckCase{true, "w", {}, "検索対象を選択してください。", 2},
                    CheckCase{true, "w", {7}, "検索対象を選択してください。", 2}));

TEST_F(SearchRunTest, EmptyFolderTextIsNotAFolder) {
    host_.conditions.Dir.clear();
    run_.Start();
    EXPECT_EQ(host_.events.value(0), "warning 検索するフォルダーを選択してください。");
}

TEST_F(SearchRunTest, SearchesEveryWorkbookInWalkOrderWithProgress) {
    AddBooks({"sub/c.csv", "b.xls", "a.xlsx", "skip.txt"});
    run_.Start();
    const QStringList expected = {"clear",
                                  "searching 1",
                                  "status 検索するファイルを取得中...",
                                  "max 3",
                                  "pos 0",
                                  "status 「a.xlsx」の検索中…",
                                  "pos 1",
                                  "status 「b.xls」の検索中…",
                                  "pos 2",
                                  "status 「c.csv」の検索中…",
                                  "pos 3",
                                  "searching 0",
                                  "status 検索処理は終了しました。"};
    EXPECT_EQ(host_.events, expected);
    ASSERT_EQ(host_.rows.size(), 3u);
    EXPECT_EQ(host_.rows[2].Book, dir_.path() + "/sub/c.csv");
    EXPECT_EQ(fake_->quits, 1);
    EXPECT_EQ(fake_->openWorkbooks, 0);
    EXPECT_FALSE(run_.IsRunning());
}

TEST_F(SearchRunTest, FolderWithoutWorkbooksStillStartsAndQuitsTheApplication) {
    AddBooks({"readme.txt"});
    run_.Start();
    EXPECT_TRUE(host_.events.contains("max 0"));
    EXPECT_EQ(fake_->quits, 1);
    EXPECT_TRUE(host_.rows.empty());
    EXPECT_EQ(host_.events.last(), "status 検索処理は終了しました。");
}

TEST_F(SearchRunTest, CancelDuringCollectionStartsNoApplication) {
    AddBooks({"a.xls", "b.xls", "c.xls"});
    host_.rows.push_back(PreviousRow());
    // The click is handled in the first pump, after the first file was found.
    bool clicked = false;
    host_.onPump = [this, &clicked] {
        EXPECT_TRUE(run_.IsRunning());
        if (!clicked) {
            clicked = true;
            run_.Cancel();
        }
    };
    run_.Start();
    EXPECT_TRUE(fake_->log.isEmpty());
    EXPECT_TRUE(host_.rows.empty());
    EXPECT_EQ(host_.events.filter("warning").size(), 0);
    EXPECT_FALSE(host_.events.contains("max 3"));
    EXPECT_EQ(host_.events.last(), "status 検索処理は終了しました。");
}

TEST_F(SearchRunTest, CancelDuringAWorkbookTakesEffectAfterIt) {
    AddBooks({"1.xls", "2.xls", "3.xls", "4.xls", "5.xls"});
    // The click arrives in the pump just before the third workbook is searched.
    bool clicked = false;
    host_.onPump = [this, &clicked] {
        if (!clicked && host_.events.last() == "status 「3.xls」の検索中…") {
            clicked = true;
            run_.Cancel();
        }
    };
    run_.Start();
    EXPECT_EQ(Opened().size(), 3);
    EXPECT_EQ(host_.rows.size(), 3u);
    EXPECT_EQ(host_.position, 3);
    EXPECT_EQ(fake_->quits, 1);
    EXPECT_EQ(host_.events.last(), "status 検索処理は終了しました。");
}

TEST_F(SearchRunTest, ApplicationStartFailureIsAWarning) {
    AddBooks({"a.xls"});
    fake_->failCreate = true;
    run_.Start();
    const QStringList expected = {"clear",
                                  "searching 1",
                                  "status 検索するファイルを取得中...",
                                  "warning Excelを起動できませんでした。",
                                  "searching 0",
                                  "status 検索処理は終了しました。"};
    EXPECT_EQ(host_.events, expected);
}

TEST_F(SearchRunTest, WorkbookErrorEndsTheRunAfterQuit) {
    AddBooks({"a.xls", "b.xls", "c.xls"});
    fake_->books.erase(dir_.path() + "/b.xls");
    run_.Start();
    EXPECT_EQ(Opened().size(), 2);  // c.xls is not tried
    EXPECT_EQ(host_.rows.size(), 1u);
    EXPECT_EQ(fake_->quits, 1);
    const QStringList warnings = host_.events.filter("warning");
    EXPECT_EQ(warnings, QStringList{"warning cannot open " + dir_.path() + "/b.xls"});
    EXPECT_EQ(host_.events.mid(host_.events.size() - 2),
              (QStringList{"searching 0", "status 検索処理は終了しました。"}));
}

TEST_F(SearchRunTest, ContinuingAfterABookErrorSearchesTheRest) {
    AddBooks({"a.xls", "b.xls", "c.xls"});
    fake_->books.erase(dir_.path() + "/b.xls");
    run_.SetContinueAfterBookError(true);
    run_.Start();
    EXPECT_EQ(Opened().size(), 3);
    EXPECT_EQ(host_.rows.size(), 2u);
    EXPECT_EQ(host_.position, 3);
    EXPECT_EQ(host_.events.filter("warning").size(), 1);
    EXPECT_EQ(fake_->quits, 1);
}

TEST_F(SearchRunTest, ForeignErrorsPassThroughButTheWindowIsReenabled) {
    AddBooks({"a.xls"});
    host_.failOnRow = true;
    EXPECT_THROW(run_.Start(), std::runtime_error);
    EXPECT_EQ(host_.events.last(), "searching 0");
    EXPECT_EQ(fake_->quits, 1);
    EXPECT_EQ(fake_->openWorkbooks, 0);
    EXPECT_FALSE(run_.IsRunning());
}

TEST(SearchRunTextTest, SearchingTextNamesTheFileOnly) {
    EXPECT_EQ(SearchRun::SearchingText("/data/a.xlsx"), "「a.xlsx」の検索中…");
    EXPECT_EQ(SearchRun::SearchingText("/data/sub dir/売上 2024.csv"),
              "「売上 2024.csv」の検索中…");
}

}  // namespace
