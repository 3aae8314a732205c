// An SQLite connection, closed with the object.
#pragma once

#include "search/index/SqliteStatement.h"

#include <QString>

class SqliteDatabase {
public:
    // Opens or creates the file. Raises SqliteError.
    explicit SqliteDatabase(const QString& file);
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    ~SqliteDatabase();

    // Runs one or more statements without results.
    void Execute(const char* sql);
    SqliteStatement Prepare(const char* sql) { return SqliteStatement(db_, sql); }
    // The code of the last failure, a busy or damaged file among them.
    static void Check(sqlite3* db, int result);

private:
    sqlite3* db_ = nullptr;
};
