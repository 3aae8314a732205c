#include "search/index/SqliteDatabase.h"

#include "search/index/SqliteError.h"

#include <sqlite3.h>

namespace {

// How long a statement waits for another run's write before it gives up.
constexpr int BusyTimeoutMs = 5000;

}  // namespace

bool SqliteError::Damaged() const {
    const int primary = code_ & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT;
}

SqliteDatabase::SqliteDatabase(const QString& file) {
    const int result = sqlite3_open_v2(file.toUtf8().constData(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError(result, message);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, BusyTimeoutMs);
}

SqliteDatabase::~SqliteDatabase() {
    statements_.clear();
    sqlite3_close_v2(db_);
}

SqliteStatement& SqliteDatabase::Statement(const char* sql) {
    std::unique_ptr<SqliteStatement>& statement = statements_[sql];
    if (!statement) {
        statement = std::make_unique<SqliteStatement>(db_, sql);
    }
    return *statement;
}

void SqliteDatabase::Execute(const char* sql) {
    Check(db_, sqlite3_exec(db_, sql, nullptr, nullptr, nullptr));
}

void SqliteDatabase::Check(sqlite3* db, int result) {
    if (result != SQLITE_OK && result != SQLITE_ROW && result != SQLITE_DONE) {
        throw SqliteError(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
    }
}
