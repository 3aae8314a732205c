// The per-user cell index: for each workbook a run has read, its stamp and, per look-in, the
// distinct texts Find compares (folded so that no match option can tell them apart), in an
// SQLite file with a trigram full-text table. It only narrows a run: a book whose entry is
// current and holds none of the word's literal parts is passed over; every other book is
// searched in full, and its entry made anew from what that search read.
//
// Never trusted blindly: a damaged file, or one of another layout, is removed and built
// again; one that stays locked by another run is left alone, and that run searches in full.
#pragma once

#include "search/index/BookStamp.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class SqliteDatabase;

class CellIndex {
public:
    enum LookIn : int { Formulas = 0, Values = 1, Comments = 2 };

    // What the index says of one book for the current word.
    struct Verdict {
        enum class Kind {
            Search,  // read it in full
            Skip,    // it cannot hold the word
            Failed,  // it could not be read last time and has not changed since
        };
        Kind kind = Kind::Search;
        bool refresh = false;  // store the book's texts once it is read
        std::optional<BookStamp> stamp;
        QString failure;  // Failed: the message its reading gave
    };

    // <XDG cache folder>/Tavrick/Sorvane/cells.sqlite
    static QString DefaultFile();
    // Deletes the index file and its journals; false when one of them stays.
    static bool Remove(const QString& file);

    // Opens the file, creating it and its folder.
    explicit CellIndex(const QString& file);
    ~CellIndex();
    CellIndex(const CellIndex&) = delete;
    CellIndex& operator=(const CellIndex&) = delete;
    bool IsOpen() const { return db_ != nullptr; }

    // The word of the run, as its folded literal parts: parts of at least three characters
    // are looked up once here.
    void SetWord(LookIn lookIn, const QStringList& literals);
    Verdict Check(const QString& path);
    // The book's texts for the run's look-in, as its search read them, folded and each
    // followed by a separator; `numberAlphabet` the characters its number cells may show.
    void Store(const QString& path, const BookStamp& stamp, const QString& numberAlphabet,
               const QString& texts);
    void StoreFailure(const QString& path, const BookStamp& stamp, const QString& message);
    // Drops the entries of books in `folder` (or below it) that are gone from the disk.
    void Prune(const QString& folder);
    // Writes are kept in a batch; this commits one that has been open for a while, so that
    // another run waiting to write does not wait long. Called between books.
    void CommitIfDue();
    void Flush();

private:
    struct Literal {
        QString text;
        std::unordered_set<qint64> books;  // whose texts for the look-in hold it
    };
    struct Entry {
        qint64 id = 0;
        BookStamp stamp;
        std::optional<QString> failure;
    };

    void Open();
    void Rebuild();
    void BeginWrite();
    void EndWrite();
    void Commit();
    // Runs `work`; a damaged file is rebuilt, any other failure only ends this step.
    template <typename Work>
    void Guarded(const Work& work);
    std::optional<Entry> Find(const QString& path);
    // The book's row with `stamp`, its texts gone when the stamp changed.
    qint64 Reset(const QString& path, const BookStamp& stamp);
    // The book's texts of every look-in.
    void DropTexts(qint64 book);
    bool Within(const QString& literal, const QString& alphabet) const;

    QString file_;
    std::unique_ptr<SqliteDatabase> db_;
    LookIn lookIn_ = Formulas;
    bool wordUsable_ = false;
    std::vector<Literal> literals_;
    bool writing_ = false;  // a batch of writes is open
    int written_ = 0;
    QElapsedTimer writingSince_;
};
