#include "search/index/SqliteStatement.h"

#include "search/index/SqliteDatabase.h"
#include "search/index/SqliteError.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) : db_(db) {
    SqliteDatabase::Check(db_, sqlite3_prepare_v2(db_, sql, -1, &statement_, nullptr));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::Bind(int index, qint64 value) {
    SqliteDatabase::Check(db_, sqlite3_bind_int64(statement_, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    SqliteDatabase::Check(db_, sqlite3_bind_text64(statement_, index, utf8.constData(),
                                                   static_cast<sqlite3_uint64>(utf8.size()),
                                                   SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const QByteArray& blob) {
    SqliteDatabase::Check(
        db_, sqlite3_bind_blob64(statement_, index, blob.constData(),
                                 static_cast<sqlite3_uint64>(blob.size()), SQLITE_TRANSIENT));
    return *this;
}

bool SqliteStatement::Step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result == SQLITE_DONE) {
        return false;
    }
    const SqliteError error(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_));
    sqlite3_reset(statement_);
    throw error;
}

void SqliteStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

qint64 SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

QString SqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
}

QByteArray SqliteStatement::Blob(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return QByteArray(data, sqlite3_column_bytes(statement_, column));
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}
