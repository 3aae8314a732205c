#include "search/SearchRun.h"

#include "FakeExcel.h"
#include "search/SearchHost.h"
#include "tests/support/TestEnvironment.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace {

// Records what the run does to the window, in order.
class RecordingHost : public SearchHost {
public:
    void ProcessMessages() override {
        if (onPump) {
            onPump();
        }
    }
    void SetStatusText(const QString& text) override { events << text; }
    void SetProgressMaximum(int maximum) override { events << QString("max %1").arg(maximum); }
    void SetProgressPosition(int value) override { position = value; }
    int ProgressPosition() const override { return position; }
    void AppendRow(const ResultRow& row) override { books << row.Book.section('/', -1); }
    void ClearRows() override { books.clear(); }
    void ShowWarning(const QString& text) override { events << "warning " + text; }
    void ShowSkipped(const SkippedItems& items) override {
        for (const SkippedItem& item : items) {
            events << "skipped " + item.message;
        }
    }
    void FocusControl(SearchControl control) override {
        events << QString("focus %1").arg(int(control));
    }
    void SetSearching(bool searching) override { events << QString("searching %1").arg(searching); }
    void SetIndexSkipped(int books) override { indexSkipped = books; }
    SearchConditions Conditions() const override { return conditions; }

    SearchConditions conditions;
    int indexSkipped = 0;
    QStringList events;
    QStringList books;  // file names of the rows shown
    std::function<void()> onPump;
    int position = 0;
};

class SearchRunTest : public testing::Test {
protected:
    void SetUp() override {
        host_.conditions.Dir = dir_.path();
        host_.conditions.Word = "w";
        host_.books << "previous";
    }

    // Files on disk, each a one-hit workbook in the fake application.
    void AddBooks(int count) {
        for (int i = 1; i <= count; ++i) {
            const QString path = QString("%1/%2.xls").arg(dir_.path()).arg(i);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            fake_->books[path] = {{"S", {{1, 1}}}};
        }
    }

    // The cancel button is clicked in the first pump after the given status text.
    void CancelAfter(const QString& status) {
        host_.onPump = [this, status] {
            if (host_.events.last() == status && !fake_->log.contains("clicked")) {
                fake_->log << "clicked";
                run_.Cancel();
            }
        };
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/run-XXXXXX"};
    AutomationRegistry servers_;
    std::shared_ptr<fake::FakeExcel> fake_ = fake::FakeExcel::Install(servers_);
    RecordingHost host_;
    SearchRun run_{host_, servers_};
};

TEST_F(SearchRunTest, ChecksInOrderAndStopsAtTheFirstFailure) {
    const QString folder = "warning 検索するフォルダーを選択してください。";
    const std::vector<std::tuple<QString, QString, std::set<int>, QStringList>> table = {
        {"", "", {}, {folder, "focus 0"}},
        {dir_.path() + "/missing", "w", {0}, {folder, "focus 0"}},
        {dir_.path(), "", {}, {"warning 検索キーワードを入力してください。", "focus 1"}},
        {dir_.path(), "w", {7}, {"warning 検索対象を選択してください。", "focus 2"}}};
    for (const auto& [dir, word, ext, expected] : table) {
        host_.events.clear();
        host_.conditions = {dir, false, word, 0, 0, false, true, false, ext};
        run_.Start();
        EXPECT_EQ(host_.events, expected);
    }
    EXPECT_EQ(host_.books, QStringList{"previous"});
    EXPECT_TRUE(fake_->log.isEmpty());
}

TEST_F(SearchRunTest, SearchesEveryWorkbookWithStatusAndProgress) {
    AddBooks(2);
    run_.Start();
    EXPECT_EQ(host_.events, (QStringList{"searching 1", "検索するファイルを取得中...", "max 2",
                                         "「1.xls」の検索中…", "「2.xls」の検索中…", "searching 0",
                                         "検索処理は終了しました。"}));
    EXPECT_EQ(host_.books, (QStringList{"1.xls", "2.xls"}));
    EXPECT_EQ(host_.position, 2);
    EXPECT_EQ(fake_->quits, 1);
    EXPECT_EQ(fake_->openBooks, 0);
}

TEST_F(SearchRunTest, NamesEveryWorkbookForReadingAheadBeforeTheFirstOpen) {
    AddBooks(3);
    run_.Start();
    const QString dir = dir_.path();
    // The fake does not know FindHiddenCells: the run goes on as the application finds.
    EXPECT_EQ(
        fake_->log.mid(0, 6),
        (QStringList{"FindHiddenCells", "Workbooks", "ReadAhead " + dir + "/1.xls",
                     "ReadAhead " + dir + "/2.xls", "ReadAhead " + dir + "/3.xls", "Workbooks"}));
    EXPECT_EQ(fake_->log.at(6), "Open " + dir + "/1.xls");
}

TEST_F(SearchRunTest, CancelDuringCollectionStartsNoApplication) {
    AddBooks(3);
    CancelAfter("検索するファイルを取得中...");
    run_.Start();
    EXPECT_EQ(fake_->log, QStringList{"clicked"});
    EXPECT_TRUE(host_.books.isEmpty());
    EXPECT_EQ(host_.events.last(), "検索処理は終了しました。");
}

TEST_F(SearchRunTest, CancelTakesEffectAfterTheCurrentWorkbook) {
    AddBooks(5);
    CancelAfter("「3.xls」の検索中…");
    run_.Start();
    EXPECT_EQ(host_.books, (QStringList{"1.xls", "2.xls", "3.xls"}));
    EXPECT_EQ(fake_->quits, 1);
    EXPECT_FALSE(host_.events.join(" ").contains("warning"));
}

TEST_F(SearchRunTest, ErrorsEndTheRunWithAWarningAfterQuit) {
    fake_->failCreate = true;
    run_.Start();
    EXPECT_EQ(host_.events.mid(2), (QStringList{"warning Excelを起動できませんでした。",
                                                "searching 0", "検索処理は終了しました。"}));

    AddBooks(3);
    fake_->failCreate = false;
    fake_->books.erase(dir_.path() + "/2.xls");
    run_.Start();
    EXPECT_EQ(host_.books, QStringList{"1.xls"});
    EXPECT_TRUE(host_.events.contains("warning cannot open " + dir_.path() + "/2.xls"));
    EXPECT_EQ(fake_->quits, 1);

    run_.SetContinueAfterBookError(true);
    host_.events.clear();
    run_.Start();
    EXPECT_EQ(host_.books, (QStringList{"1.xls", "3.xls"}));
    EXPECT_EQ(host_.events.filter("warning"), QStringList());
    EXPECT_EQ(
        host_.events.mid(host_.events.size() - 2),
        (QStringList{"検索処理は終了しました。", "skipped cannot open " + dir_.path() + "/2.xls"}));
}

// Names that are not UTF-8 cannot be opened by a Unicode path, and a folder nested past the
// path limit cannot be listed: both come out in the list after the run, whether the run
// stops at unreadable books or not.
TEST_F(SearchRunTest, FilesAndFoldersTheWalkCannotTakeAreListedAfterTheRun) {
    AddBooks(1);
    host_.conditions.IsSearchSubDir = true;
    const QByteArray root = QFile::encodeName(dir_.path());
    // Made by its bytes: a QString path would turn the stray byte into U+FFFD.
    const int bad = ::open(root + "/caf\xE9.xls", O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(bad, 0) << "the file system refuses non-UTF-8 names";
    ::close(bad);
    const int depth = testsupport::MakeDeepFolder(dir_.path() + "/deep", 4200);
    ASSERT_GT(depth, 0);
    for (bool goOn : {false, true}) {
        run_.SetContinueAfterBookError(goOn);
        host_.events.clear();
        run_.Start();
        EXPECT_EQ(host_.books, QStringList{"1.xls"});
        const QStringList skipped = host_.events.filter("skipped ");
        ASSERT_EQ(skipped.size(), 2) << host_.events.join('\n').toStdString();
        EXPECT_TRUE(skipped[0].contains("UTF-8")) << skipped[0].toStdString();
        EXPECT_TRUE(skipped[1].contains("パスが長すぎる")) << skipped[1].toStdString();
        EXPECT_EQ(host_.events.indexOf("検索処理は終了しました。"), host_.events.size() - 3);
    }
    // Beyond what QTemporaryDir removes.
    EXPECT_TRUE(testsupport::RemoveTree(dir_.path() + "/deep"));
    ::unlink(root + "/caf\xE9.xls");
}

}  // namespace
