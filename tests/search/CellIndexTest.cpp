// The cell index on its own: what it rules out, what makes an entry stale, how it treats
// failures, and that a damaged or foreign file is never trusted.
#include "search/index/CellIndex.h"

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using Kind = CellIndex::Verdict::Kind;
const QChar Sep(0x1F);

class CellIndexTest : public testing::Test {
protected:
    QString Book(const QString& name, const QByteArray& content) {
        const QString path = dir_.path() + "/" + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    // Checks and stores the book as a run that read it would.
    void Index(CellIndex& index, const QString& path, const QString& texts,
               const QString& alphabet = {}) {
        const CellIndex::Verdict verdict = index.Check(path);
        ASSERT_TRUE(verdict.refresh);
        ASSERT_TRUE(verdict.stamp);
        index.Store(path, *verdict.stamp, alphabet, texts);
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/index-XXXXXX"};
    QString file_ = dir_.path() + "/cache/cells.sqlite";
};

TEST_F(CellIndexTest, RulesOutOnlyBooksWithoutEveryLongLiteral) {
    const QString a = Book("a.xlsx", "first");
    const QString b = Book("b.xlsx", "second");
    const QString c = Book("c.xlsx", "third");
    {
        CellIndex index(file_);
        ASSERT_TRUE(index.IsOpen());
        index.SetWord(CellIndex::Values, {"alp"});
        Index(index, a, "alpha" + QString(Sep) + "beta" + Sep);
        Index(index, b, "gamma" + QString(Sep));
        Index(index, c, "x" + QString(Sep), "0123456789.,");
    }
    CellIndex index(file_);
    const auto kinds = [&](CellIndex::LookIn lookIn, const QStringList& literals) {
        index.SetWord(lookIn, literals);
        QList<Kind> result;
        for (const QString& path : {a, b, c}) {
            EXPECT_FALSE(index.Check(path).refresh);
            result << index.Check(path).kind;
        }
        return result;
    };
    EXPECT_EQ(kinds(CellIndex::Values, {"lph"}), QList({Kind::Search, Kind::Skip, Kind::Skip}));
    EXPECT_EQ(kinds(CellIndex::Values, {"alp", "bet"}),
              QList({Kind::Search, Kind::Skip, Kind::Skip}));
    EXPECT_EQ(kinds(CellIndex::Values, {"alp", "gam"}),
              QList({Kind::Skip, Kind::Skip, Kind::Skip}));
    // A number the book did not list may show digits and separators.
    EXPECT_EQ(kinds(CellIndex::Values, {"1,250"}), QList({Kind::Skip, Kind::Skip, Kind::Search}));
    // Parts too short for the trigram table narrow nothing.
    EXPECT_EQ(kinds(CellIndex::Values, {"al", "zz"}),
              QList({Kind::Search, Kind::Search, Kind::Search}));
    EXPECT_EQ(kinds(CellIndex::Values, {}), QList({Kind::Search, Kind::Search, Kind::Search}));
    // A quote in the word is a character like any other.
    EXPECT_EQ(kinds(CellIndex::Values, {"a\"b"}), QList({Kind::Skip, Kind::Skip, Kind::Skip}));
    // Other look-ins have no texts yet: every book is read and listed.
    index.SetWord(CellIndex::Comments, {"lph"});
    EXPECT_TRUE(index.Check(a).refresh);
    EXPECT_EQ(index.Check(a).kind, Kind::Search);
}

TEST_F(CellIndexTest, ARewriteWithTheSameSizeAndTimeIsCaughtByTheHash) {
    QByteArray content(20000, 'x');
    const QString path = Book("same.xlsx", content);
    CellIndex index(file_);
    index.SetWord(CellIndex::Formulas, {"needle"});
    Index(index, path, "hay" + QString(Sep));
    ASSERT_EQ(index.Check(path).kind, Kind::Skip);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    file.seek(content.size() - 10);
    file.write("needle!!!!");
    file.flush();
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    ASSERT_EQ(QFileInfo(path).size(), content.size());
    ASSERT_EQ(QFileInfo(path).lastModified(), modified);

    const CellIndex::Verdict verdict = index.Check(path);
    EXPECT_EQ(verdict.kind, Kind::Search);
    EXPECT_TRUE(verdict.refresh);
    index.Store(path, *verdict.stamp, {}, "needle" + QString(Sep));
    index.SetWord(CellIndex::Formulas, {"needle"});
    EXPECT_EQ(index.Check(path).kind, Kind::Search);
    EXPECT_FALSE(index.Check(path).refresh);
}

TEST_F(CellIndexTest, AFailureIsRepeatedUntilTheBookChanges) {
    const QString path = Book("bad.xls", "broken");
    CellIndex index(file_);
    index.SetWord(CellIndex::Values, {"word"});
    const CellIndex::Verdict first = index.Check(path);
    index.StoreFailure(path, *first.stamp, "開けません");
    const CellIndex::Verdict again = index.Check(path);
    EXPECT_EQ(again.kind, Kind::Failed);
    EXPECT_EQ(again.failure, "開けません");
    Book("bad.xls", "repaired");
    const CellIndex::Verdict changed = index.Check(path);
    EXPECT_EQ(changed.kind, Kind::Search);
    EXPECT_TRUE(changed.refresh);
    index.Store(path, *changed.stamp, {}, "word" + QString(Sep));
    index.SetWord(CellIndex::Values, {"word"});
    EXPECT_EQ(index.Check(path).kind, Kind::Search);
    EXPECT_FALSE(index.Check(path).refresh);
}

TEST_F(CellIndexTest, ADamagedOrForeignFileIsBuiltAgain) {
    const QString path = Book("a.xlsx", "content");
    const QList<QByteArray> damaged = {
        QByteArray("SQLite format 3") + QByteArray(4000, '\x7f'),
        QByteArray(5000, '\0'),
        QByteArray("not a database at all"),
    };
    for (const QByteArray& bytes : damaged) {
        {
            CellIndex index(file_);
            index.SetWord(CellIndex::Values, {"zzz"});
            Index(index, path, "content" + QString(Sep));
            ASSERT_EQ(index.Check(path).kind, Kind::Skip);
        }
        QFile::remove(file_ + "-wal");
        QFile::remove(file_ + "-shm");
        QFile file(file_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        CellIndex index(file_);
        EXPECT_TRUE(index.IsOpen());
        index.SetWord(CellIndex::Values, {"zzz"});
        const CellIndex::Verdict verdict = index.Check(path);
        EXPECT_EQ(verdict.kind, Kind::Search);
        EXPECT_TRUE(verdict.refresh);
        CellIndex::Remove(file_);
    }
}

TEST_F(CellIndexTest, ADatabaseOfOtherTablesIsBuiltAgain) {
    const QString path = Book("a.xlsx", "content");
    QDir().mkpath(QFileInfo(file_).path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file_.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE books(path TEXT); CREATE TABLE looks(x);"
                           "CREATE TABLE texts(body); PRAGMA user_version = 1;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    CellIndex index(file_);
    ASSERT_TRUE(index.IsOpen());
    index.SetWord(CellIndex::Values, {"zzz"});
    Index(index, path, "content" + QString(Sep));
    index.SetWord(CellIndex::Values, {"zzz"});
    EXPECT_EQ(index.Check(path).kind, Kind::Skip);
}

TEST_F(CellIndexTest, BooksGoneFromTheFolderAreDropped) {
    const QString kept = Book("in/kept.xlsx", "one");
    const QString gone = Book("in/sub/gone.xlsx", "two");
    const QString beside = Book("in0.xlsx", "three");
    CellIndex index(file_);
    index.SetWord(CellIndex::Values, {"abc"});
    for (const QString& path : {kept, gone, beside}) {
        Index(index, path, "xyz" + QString(Sep));
    }
    const QDateTime besideTime = QFileInfo(beside).lastModified();
    QFile::remove(gone);
    QFile::remove(beside);  // outside the folder: its entry stays
    index.Prune(dir_.path() + "/in");
    Book("in/sub/gone.xlsx", "two");
    Book("in0.xlsx", "three");
    QFile file(beside);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(besideTime, QFileDevice::FileModificationTime));
    file.close();
    EXPECT_FALSE(index.Check(kept).refresh);
    EXPECT_TRUE(index.Check(gone).refresh);
    EXPECT_FALSE(index.Check(beside).refresh);
}

TEST_F(CellIndexTest, TwoRunsShareOneFile) {
    const QString a = Book("a.xlsx", "one");
    const QString b = Book("b.xlsx", "two");
    CellIndex first(file_);
    CellIndex second(file_);
    first.SetWord(CellIndex::Formulas, {"abc"});
    second.SetWord(CellIndex::Formulas, {"abc"});
    Index(first, a, "xyz" + QString(Sep));
    first.Flush();  // as a run does between books
    Index(second, b, "abcd" + QString(Sep));
    second.Flush();
    first.SetWord(CellIndex::Formulas, {"abc"});
    EXPECT_EQ(first.Check(a).kind, Kind::Skip);
    EXPECT_EQ(first.Check(b).kind, Kind::Search);
    EXPECT_FALSE(first.Check(b).refresh);
}

TEST_F(CellIndexTest, AnIndexThatCannotBeMadeLeavesEveryBookToBeRead) {
    const QString path = Book("a.xlsx", "content");
    Book("blocker", "a file where the folder should be");
    CellIndex index(dir_.path() + "/blocker/cells.sqlite");
    EXPECT_FALSE(index.IsOpen());
    index.SetWord(CellIndex::Values, {"zzz"});
    EXPECT_EQ(index.Check(path).kind, Kind::Search);
    EXPECT_FALSE(index.Check(path).refresh);
    index.Store(path, {}, {}, "x");  // does nothing, raises nothing
}

}  // namespace
