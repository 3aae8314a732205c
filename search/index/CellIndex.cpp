#include "search/index/CellIndex.h"

#include "search/index/SqliteDatabase.h"
#include "search/index/SqliteError.h"

#include <sqlite3.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {

// The layout this program writes; a file with another is built again.
constexpr int Layout = 1;
// A batch of writes is committed after this many books or this many milliseconds.
constexpr int BatchBooks = 64;
constexpr qint64 BatchMs = 200;
// The trigram table finds parts of three characters or more.
constexpr qsizetype ShortestLookup = 3;

const char* const Schema = R"(
CREATE TABLE IF NOT EXISTS books(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE,
    size INTEGER NOT NULL, modified INTEGER NOT NULL, hash BLOB NOT NULL, failure TEXT);
CREATE TABLE IF NOT EXISTS looks(book INTEGER NOT NULL, look_in INTEGER NOT NULL,
    alphabet TEXT NOT NULL, PRIMARY KEY(book, look_in)) WITHOUT ROWID;
CREATE VIRTUAL TABLE IF NOT EXISTS texts USING fts5(body, tokenize='trigram case_sensitive 1');
PRAGMA user_version = 1;
)";

// The statements, prepared when the file is opened: one that does not fit the file's tables
// tells a file of another layout.
constexpr const char* MatchTexts = "SELECT rowid FROM texts WHERE texts MATCH ?";
constexpr const char* SelectBook =
    "SELECT id, size, modified, hash, failure FROM books WHERE path = ?";
constexpr const char* SelectLook = "SELECT alphabet FROM looks WHERE book = ? AND look_in = ?";
constexpr const char* InsertBook =
    "INSERT INTO books(path, size, modified, hash) VALUES(?, ?, ?, ?) RETURNING id";
constexpr const char* DeleteBookTexts = "DELETE FROM texts WHERE rowid >= ? AND rowid < ?";
constexpr const char* DeleteLooks = "DELETE FROM looks WHERE book = ?";
constexpr const char* UpdateBook =
    "UPDATE books SET size = ?, modified = ?, hash = ?, failure = NULL WHERE id = ?";
constexpr const char* DeleteTexts = "DELETE FROM texts WHERE rowid = ?";
constexpr const char* InsertTexts = "INSERT INTO texts(rowid, body) VALUES(?, ?)";
constexpr const char* InsertLook =
    "INSERT OR REPLACE INTO looks(book, look_in, alphabet) VALUES(?, ?, ?)";
constexpr const char* SelectFolder = "SELECT id, path FROM books WHERE path >= ? AND path < ?";
constexpr const char* DeleteBook = "DELETE FROM books WHERE id = ?";
constexpr const char* UpdateFailure = "UPDATE books SET failure = ? WHERE id = ?";
constexpr const char* Statements[] = {
    MatchTexts,  SelectBook,  SelectLook, InsertBook,   DeleteBookTexts, DeleteLooks,  UpdateBook,
    DeleteTexts, InsertTexts, InsertLook, SelectFolder, DeleteBook,      UpdateFailure};

// A book's texts for one look-in are the row book * 4 + look-in of the text table.
qint64 TextRow(qint64 book, int lookIn) {
    return book * 4 + lookIn;
}

// Code points, as the trigram table counts.
qsizetype Characters(const QString& text) {
    return text.size() -
           std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QString CellIndex::DefaultFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Tavrick/Sorvane/cells.sqlite");
}

bool CellIndex::Remove(const QString& file) {
    bool removed = true;
    for (const QString& name :
         {file, file + QStringLiteral("-wal"), file + QStringLiteral("-shm")}) {
        if (QFileInfo::exists(name) && !QFile::remove(name)) {
            removed = false;
        }
    }
    return removed;
}

CellIndex::CellIndex(const QString& file) : file_(file) {
    Guarded([&] { Open(); });
}

CellIndex::~CellIndex() {
    Flush();
}

void CellIndex::CommitIfDue() {
    if (writing_ && writingSince_.elapsed() >= BatchMs) {
        Flush();
    }
}

void CellIndex::Flush() {
    if (db_) {
        Guarded([&] { Commit(); });
    }
}

void CellIndex::BeginWrite() {
    if (!writing_) {
        db_->Execute("BEGIN IMMEDIATE");
        writing_ = true;
        written_ = 0;
        writingSince_.start();
    }
}

void CellIndex::EndWrite() {
    // Written in batches: a commit per book would cost more than the book's texts, and a
    // batch is short enough for another run that waits to write.
    if (++written_ >= BatchBooks || writingSince_.elapsed() >= BatchMs) {
        Commit();
    }
}

void CellIndex::Commit() {
    if (writing_) {
        writing_ = false;
        db_->Execute("COMMIT");
    }
}

void CellIndex::Open() {
    db_.reset();
    QDir().mkpath(QFileInfo(file_).absolutePath());
    auto db = std::make_unique<SqliteDatabase>(file_);
    // The file is only ever data: nothing in it may run functions or touch the schema.
    db->Execute(
        "PRAGMA trusted_schema = OFF; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
    SqliteStatement& version = db->Statement("PRAGMA user_version");
    version.Step();
    const qint64 layout = version.Int(0);
    version.Reset();
    if (layout != Layout) {
        if (layout != 0) {
            throw SqliteError(SQLITE_NOTADB, "an index of another layout");
        }
        db->Execute("BEGIN IMMEDIATE");
        db->Execute(Schema);
        db->Execute("COMMIT");
    }
    try {
        for (const char* sql : Statements) {
            db->Statement(sql);
        }
    } catch (const SqliteError&) {
        throw SqliteError(SQLITE_NOTADB, "an index of another layout");
    }
    db_ = std::move(db);
}

void CellIndex::Rebuild() {
    writing_ = false;
    db_.reset();
    literals_.clear();
    wordUsable_ = false;  // what was looked up came from the old file
    if (!Remove(file_)) {
        return;
    }
    try {
        Open();
    } catch (const SqliteError&) {
        db_.reset();
    }
}

template <typename Work>
void CellIndex::Guarded(const Work& work) {
    try {
        work();
    } catch (const SqliteError& error) {
        if (writing_) {
            writing_ = false;  // what the batch held is lost: those books are read again
            try {
                db_->Execute("ROLLBACK");
            } catch (const SqliteError&) {
            }
        }
        // A file that could not be opened (no folder, no space, locked) leaves the index
        // closed, and the run goes on without it.
        if (error.Damaged()) {
            Rebuild();
        }
    }
}

void CellIndex::SetWord(LookIn lookIn, const QStringList& literals) {
    lookIn_ = lookIn;
    literals_.clear();
    wordUsable_ = false;
    if (!db_) {
        return;
    }
    Guarded([&] {
        SqliteStatement& match = db_->Statement(MatchTexts);
        for (const QString& text : literals) {
            if (Characters(text) < ShortestLookup) {
                continue;
            }
            Literal literal{text, {}};
            QString phrase = text;
            match.Bind(1, QLatin1Char('"') +
                              phrase.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                              QLatin1Char('"'));
            while (match.Step()) {
                const qint64 row = match.Int(0);
                if (row % 4 == lookIn_) {
                    literal.books.insert(row / 4);
                }
            }
            match.Reset();
            literals_.push_back(std::move(literal));
        }
        wordUsable_ = !literals_.empty();
    });
}

std::optional<CellIndex::Entry> CellIndex::Find(const QString& path) {
    SqliteStatement& select = db_->Statement(SelectBook);
    select.Bind(1, path);
    if (!select.Step()) {
        select.Reset();
        return std::nullopt;
    }
    Entry entry;
    entry.id = select.Int(0);
    entry.stamp = {select.Int(1), select.Int(2), select.Blob(3)};
    if (!select.IsNull(4)) {
        entry.failure = select.Text(4);
    }
    select.Reset();
    return entry;
}

bool CellIndex::Within(const QString& literal, const QString& alphabet) const {
    return std::all_of(literal.begin(), literal.end(),
                       [&](QChar c) { return alphabet.contains(c); });
}

CellIndex::Verdict CellIndex::Check(const QString& path) {
    Verdict verdict;
    if (!db_) {
        return verdict;
    }
    verdict.stamp = BookStamp::Of(path);
    if (!verdict.stamp) {
        return verdict;  // unreadable now: its search says why
    }
    Guarded([&] {
        const std::optional<Entry> entry = Find(Absolute(path));
        if (!entry || entry->stamp != *verdict.stamp) {
            verdict.refresh = true;
            return;
        }
        if (entry->failure) {
            verdict.kind = Verdict::Kind::Failed;
            verdict.failure = *entry->failure;
            return;
        }
        SqliteStatement& look = db_->Statement(SelectLook);
        look.Bind(1, entry->id).Bind(2, qint64{lookIn_});
        const bool listed = look.Step();
        const QString alphabet = listed ? look.Text(0) : QString();
        look.Reset();
        if (!listed) {
            verdict.refresh = true;
            return;
        }
        if (!wordUsable_) {
            return;
        }
        const bool mayHold = std::all_of(literals_.begin(), literals_.end(), [&](const Literal& l) {
            return l.books.count(entry->id) != 0 || Within(l.text, alphabet);
        });
        if (!mayHold) {
            verdict.kind = Verdict::Kind::Skip;
        }
    });
    if (!db_) {
        verdict = {};  // rebuilt on the way: nothing it said holds
    }
    return verdict;
}

void CellIndex::DropTexts(qint64 book) {
    db_->Statement(DeleteBookTexts).Bind(1, TextRow(book, 0)).Bind(2, TextRow(book + 1, 0)).Run();
    db_->Statement(DeleteLooks).Bind(1, book).Run();
}

qint64 CellIndex::Reset(const QString& path, const BookStamp& stamp) {
    const std::optional<Entry> entry = Find(path);
    if (!entry) {
        SqliteStatement& insert = db_->Statement(InsertBook);
        insert.Bind(1, path).Bind(2, stamp.size).Bind(3, stamp.modified).Bind(4, stamp.hash);
        insert.Step();
        const qint64 id = insert.Int(0);
        insert.Reset();
        return id;
    }
    if (entry->stamp != stamp || entry->failure) {
        DropTexts(entry->id);
        SqliteStatement& update = db_->Statement(UpdateBook);
        update.Bind(1, stamp.size).Bind(2, stamp.modified).Bind(3, stamp.hash);
        update.Bind(4, entry->id).Run();
    }
    return entry->id;
}

void CellIndex::Store(const QString& path, const BookStamp& stamp, const QString& numberAlphabet,
                      const QString& texts) {
    if (!db_) {
        return;
    }
    Guarded([&] {
        BeginWrite();
        const qint64 id = Reset(Absolute(path), stamp);
        const qint64 row = TextRow(id, lookIn_);
        db_->Statement(DeleteTexts).Bind(1, row).Run();
        db_->Statement(InsertTexts).Bind(1, row).Bind(2, texts).Run();
        db_->Statement(InsertLook)
            .Bind(1, id)
            .Bind(2, qint64{lookIn_})
            .Bind(3, numberAlphabet)
            .Run();
        EndWrite();
    });
}

void CellIndex::Prune(const QString& folder) {
    if (!db_) {
        return;
    }
    // Paths in the folder sort between "folder/" and "folder0" ('0' follows '/').
    const QString prefix = Absolute(folder) + QLatin1Char('/');
    Guarded([&] {
        SqliteStatement& select = db_->Statement(SelectFolder);
        select.Bind(1, prefix).Bind(2, prefix.chopped(1) + QLatin1Char('0'));
        std::vector<qint64> gone;
        while (select.Step()) {
            if (!QFileInfo::exists(select.Text(1))) {
                gone.push_back(select.Int(0));
            }
        }
        select.Reset();
        if (gone.empty()) {
            return;
        }
        BeginWrite();
        for (const qint64 id : gone) {
            DropTexts(id);
            db_->Statement(DeleteBook).Bind(1, id).Run();
        }
        Commit();
    });
}

void CellIndex::StoreFailure(const QString& path, const BookStamp& stamp, const QString& message) {
    if (!db_) {
        return;
    }
    Guarded([&] {
        BeginWrite();
        const qint64 id = Reset(Absolute(path), stamp);
        db_->Statement(UpdateFailure).Bind(1, message).Bind(2, id).Run();
        EndWrite();
    });
}
